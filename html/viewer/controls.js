// Mouse, wheel, touch and keyboard. `viewer` gives the camera and the actions:
// pixelAngle(), changed(), hover(x, y), leave(), click(x, y), doubleClick(x, y), key(event).
export function attachControls(canvas, viewer) {
  const pointers = new Map();
  let moved = false;
  let pinch = null;

  const spread = () => {
    const [a, b] = [...pointers.values()];
    return {
      distance: Math.hypot(a.x - b.x, a.y - b.y),
      x: (a.x + b.x) / 2,
      y: (a.y + b.y) / 2,
    };
  };

  canvas.addEventListener("pointerdown", (event) => {
    canvas.setPointerCapture(event.pointerId);
    pointers.set(event.pointerId, {
      x: event.clientX,
      y: event.clientY,
      pan: event.button === 2 || event.shiftKey || event.ctrlKey,
    });
    moved = false;
    pinch = pointers.size === 2 ? spread() : null;
  });

  canvas.addEventListener("pointermove", (event) => {
    const pointer = pointers.get(event.pointerId);
    if (!pointer) {
      viewer.hover(event.clientX, event.clientY);
      return;
    }
    const dx = event.clientX - pointer.x;
    const dy = event.clientY - pointer.y;
    pointer.x = event.clientX;
    pointer.y = event.clientY;
    if (Math.abs(dx) + Math.abs(dy) > 0) {
      moved = moved || pointers.size > 1 || Math.hypot(dx, dy) > 2;
    }
    const ratio = window.devicePixelRatio || 1;
    if (pointers.size === 2 && pinch) {
      const now = spread();
      viewer.camera.zoom(pinch.distance / Math.max(now.distance, 1));
      viewer.camera.pan((now.x - pinch.x) * ratio, (now.y - pinch.y) * ratio, viewer.pixelAngle());
      pinch = now;
    } else if (pointer.pan) {
      viewer.camera.pan(dx * ratio, dy * ratio, viewer.pixelAngle());
    } else {
      viewer.camera.orbit(dx * 0.008, dy * 0.008);
    }
    viewer.changed();
  });

  const release = (event) => {
    if (!pointers.has(event.pointerId)) {
      return;
    }
    pointers.delete(event.pointerId);
    pinch = pointers.size === 2 ? spread() : null;
    if (event.type === "pointerup" && !moved && pointers.size === 0 && event.button === 0) {
      viewer.click(event.clientX, event.clientY);
    }
  };
  canvas.addEventListener("pointerup", release);
  canvas.addEventListener("pointercancel", release);
  canvas.addEventListener("pointerleave", () => viewer.leave());
  canvas.addEventListener("dblclick", (event) => viewer.doubleClick(event.clientX, event.clientY));
  canvas.addEventListener("contextmenu", (event) => event.preventDefault());
  canvas.addEventListener(
    "wheel",
    (event) => {
      event.preventDefault();
      const lines = event.deltaMode === 1 ? 16 : event.deltaMode === 2 ? 400 : 1;
      viewer.camera.zoom(Math.exp(event.deltaY * lines * 0.0015));
      viewer.changed();
    },
    { passive: false },
  );
  window.addEventListener("keydown", (event) => {
    const typing = event.target instanceof HTMLInputElement && event.target.type !== "checkbox";
    if (!typing || event.key === "Escape") {
      viewer.key(event);
    }
  });
}
