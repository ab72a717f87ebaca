import { nodesWithin } from "./sample_order.js";

// How much of the scene a frame may draw: learnt from the measured time of earlier frames, so
// that a moving view keeps about 30 frames a second on this device, and a resting view is
// completed in slices short enough that input is never held up for long.
const kMovingMilliseconds = 33;
// A resting view's slices start this long and double, up to kLongestSlice: a frame costs a
// fixed time too (clearing, compositing, showing), which longer slices pay less often.
const kSliceMilliseconds = 100;
const kLongestSlice = 800;
// Frames kept to learn a frame's fixed time and its time per shape.
const kRecords = 12;
// Shapes (spheres and cylinders) of the first picture, before anything is measured.
const kFirstShapes = 100000;
// Fewer shapes than this show too little of the scene to steer by.
const kFewestShapes = 4000;
// A moving frame's sample changes size only when the fitting size is this many times larger or
// smaller, so that consecutive frames draw the same sample.
const kResampleRatio = 1.5;

export class FrameBudget {
  constructor(edgesBefore) {
    this.edgesBefore = edgesBefore;
    this.nodeCount = edgesBefore.length - 1;
    this.shapesPerMillisecond = 0;
    this.fixedMilliseconds = 0;
    this.records = [];
    this.sampleNodes = 0;
  }

  // A frame that drew `shapes` shapes took `milliseconds` from its start to the next frame's.
  record(shapes, milliseconds) {
    if (shapes <= 0 || milliseconds <= 0) {
      return;
    }
    this.records.push({ shapes, milliseconds });
    if (this.records.length > kRecords) {
      this.records.shift();
    }
    this.fit();
  }

  // Time = fixed + shapes / rate, fitted by least squares to the frames kept; while they are
  // too alike to tell the two apart, all of the time is put down to the shapes.
  fit() {
    const n = this.records.length;
    const mean = (key) => this.records.reduce((sum, r) => sum + r[key], 0) / n;
    const shapes = mean("shapes");
    const time = mean("milliseconds");
    let covariance = 0;
    let variance = 0;
    for (const r of this.records) {
      covariance += (r.shapes - shapes) * (r.milliseconds - time);
      variance += (r.shapes - shapes) ** 2;
    }
    const perShape = variance > 0 ? covariance / variance : 0;
    const fixed = time - perShape * shapes;
    if (perShape > 0 && fixed >= 0 && n >= 3) {
      this.shapesPerMillisecond = 1 / perShape;
      this.fixedMilliseconds = fixed;
    } else {
      this.shapesPerMillisecond = shapes / time;
      this.fixedMilliseconds = 0;
    }
  }

  shapesIn(milliseconds) {
    if (this.shapesPerMillisecond <= 0) {
      return kFirstShapes;
    }
    const left = milliseconds - this.fixedMilliseconds;
    return Math.max(kFewestShapes, Math.floor(this.shapesPerMillisecond * left));
  }

  // The number of nodes a moving frame draws (the first ones in drawing order, with the edges
  // among them), kept while it still fits within kResampleRatio.
  movingNodes() {
    const fitting = nodesWithin(this.edgesBefore, this.shapesIn(kMovingMilliseconds));
    const current = this.sampleNodes;
    if (current === 0 || fitting > current * kResampleRatio || fitting * kResampleRatio < current) {
      this.sampleNodes = fitting;
    }
    return this.sampleNodes;
  }

  // The end (a node rank) of slice `slice` (0 the first) of a resting view's drawing, which
  // starts at rank `from`.
  sliceEnd(from, slice) {
    const drawn = from + this.edgesBefore[from];
    const milliseconds = Math.min(kLongestSlice, kSliceMilliseconds * 2 ** slice);
    return Math.max(from + 1, nodesWithin(this.edgesBefore, drawn + this.shapesIn(milliseconds)));
  }
}
