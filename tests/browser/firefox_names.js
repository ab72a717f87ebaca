// Run in Firefox by firefox_shot.sh (SHOT_SCRIPT) on a named page: types "valj" into the
// search box, presses Enter, waits for the camera to rest, hovers the middle of the view and
// reports what the page shows.
const done = arguments[arguments.length - 1];
const box = document.getElementById("search");
box.focus();
box.value = "valj";
box.dispatchEvent(new Event("input"));
const suggestions = [...document.querySelectorAll("#suggestions .suggestion")].map((e) => e.textContent);
box.dispatchEvent(new KeyboardEvent("keydown", { key: "Enter", bubbles: true }));
const canvas = document.getElementById("scene");
const hover = () => {
  const r = canvas.getBoundingClientRect();
  canvas.dispatchEvent(new PointerEvent("pointermove",
    { clientX: r.left + r.width / 2, clientY: r.top + r.height / 2, bubbles: true }));
  setTimeout(() => {
    const tooltip = document.getElementById("tooltip");
    done({
      suggestions,
      selected: window.layout2vrml.selected,
      heading: document.querySelector("#details h2")?.textContent ?? null,
      tooltip: tooltip.hidden ? null : tooltip.textContent,
    });
  }, 2000);
};
const rest = () => (document.body.dataset.camera === "still" ? hover() : setTimeout(rest, 100));
setTimeout(rest, 300);
