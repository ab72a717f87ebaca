// Up to this many nodes, -showlabel true labels every node: projecting them and placing their
// labels stays well within a frame, and overlapping labels are left out, so what shows stays
// readable. Larger scenes label the hovered node and the selection.
export const kAllLabelsLimit = 20000;
const kLabelColour = "#9fb4ff";

// Node index labels drawn on a 2D canvas over the scene, nearest first; a label that would
// overlap one already drawn is left out.
export class LabelLayer {
  constructor(canvas) {
    this.canvas = canvas;
    this.context = canvas.getContext("2d");
  }

  fitCanvas(width, height) {
    if (this.canvas.width !== width || this.canvas.height !== height) {
      this.canvas.width = width;
      this.canvas.height = height;
    }
  }

  // `labels`: {text, x, y, depth} in device pixels, `must` first (always drawn), then the rest.
  draw(must, rest, ratio) {
    const c = this.context;
    c.clearRect(0, 0, this.canvas.width, this.canvas.height);
    c.font = `${Math.round(12 * ratio)}px system-ui, sans-serif`;
    c.textBaseline = "middle";
    c.lineWidth = 3 * ratio;
    c.strokeStyle = "rgba(0, 0, 0, 0.85)";
    c.fillStyle = kLabelColour;
    const taken = [];
    const height = 14 * ratio;
    const place = (label, always) => {
      const width = c.measureText(label.text).width;
      const box = { left: label.x + 4 * ratio, top: label.y - height / 2, width, height };
      const overlaps = taken.some(
        (t) =>
          box.left < t.left + t.width &&
          t.left < box.left + box.width &&
          box.top < t.top + t.height &&
          t.top < box.top + box.height,
      );
      if (overlaps && !always) {
        return;
      }
      taken.push(box);
      c.strokeText(label.text, box.left, label.y);
      c.fillText(label.text, box.left, label.y);
    };
    must.forEach((label) => place(label, true));
    rest.sort((a, b) => a.depth - b.depth).forEach((label) => place(label, false));
  }
}
