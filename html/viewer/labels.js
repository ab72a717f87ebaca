// Up to this many nodes, -showlabel true labels every node: projecting them and placing their
// labels stays well within a frame, and overlapping labels are left out, so what shows stays
// readable. Larger scenes label the hovered node and the selection.
export const kAllLabelsLimit = 20000;
const kLabelColour = "#9fb4ff";

// The boxes placed so far, filed by the cells of a grid they touch, so a new box is compared
// with its neighbours only.
class BoxGrid {
  constructor(cellSize) {
    this.cellSize = cellSize;
    this.cells = new Map();
  }

  // Calls `visit(key)` for every cell `box` touches; stops when it returns true.
  someCell(box, visit) {
    const size = this.cellSize;
    const right = Math.floor((box.left + box.width) / size);
    const bottom = Math.floor((box.top + box.height) / size);
    for (let row = Math.floor(box.top / size); row <= bottom; ++row) {
      for (let column = Math.floor(box.left / size); column <= right; ++column) {
        if (visit(`${column},${row}`)) {
          return true;
        }
      }
    }
    return false;
  }

  overlaps(box) {
    return this.someCell(box, (key) =>
      (this.cells.get(key) ?? []).some(
        (t) =>
          box.left < t.left + t.width &&
          t.left < box.left + box.width &&
          box.top < t.top + t.height &&
          t.top < box.top + box.height,
      ),
    );
  }

  add(box) {
    this.someCell(box, (key) => {
      const cell = this.cells.get(key);
      if (cell) {
        cell.push(box);
      } else {
        this.cells.set(key, [box]);
      }
      return false;
    });
  }
}

// Node index labels drawn on a 2D canvas over the scene, nearest first; a label that would
// overlap one already drawn is left out.
export class LabelLayer {
  constructor(canvas) {
    this.canvas = canvas;
    this.context = canvas.getContext("2d");
    // The last drawing's boxes, drawn and left out, in the order they were tried: for tests.
    this.placed = [];
    this.leftOut = [];
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
    const height = 14 * ratio;
    const taken = new BoxGrid(8 * height);
    this.placed = [];
    this.leftOut = [];
    const place = (label, always) => {
      const width = c.measureText(label.text).width;
      const order = this.placed.length + this.leftOut.length;
      const box = {
        left: label.x + 4 * ratio,
        top: label.y - height / 2,
        width,
        height,
        order,
        always,
      };
      if (!always && taken.overlaps(box)) {
        this.leftOut.push(box);
        return;
      }
      taken.add(box);
      this.placed.push(box);
      c.strokeText(label.text, box.left, label.y);
      c.fillText(label.text, box.left, label.y);
    };
    must.forEach((label) => place(label, true));
    rest.sort((a, b) => a.depth - b.depth).forEach((label) => place(label, false));
  }
}
