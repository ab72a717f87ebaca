import { nodesWithin } from "./sample_order.js";

// How much of the scene a frame may draw: learnt from the measured time of earlier frames, so
// that a moving view keeps about 30 frames a second on this device, and a resting view is
// completed in slices short enough that input is never held up for long.
const kMovingMilliseconds = 33;
const kSliceMilliseconds = 100;
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
    this.sampleNodes = 0;
  }

  // A frame that drew `shapes` shapes took `milliseconds` from its start to the next frame's.
  record(shapes, milliseconds) {
    if (shapes <= 0 || milliseconds <= 0) {
      return;
    }
    const rate = shapes / milliseconds;
    this.shapesPerMillisecond =
      this.shapesPerMillisecond > 0 ? 0.5 * this.shapesPerMillisecond + 0.5 * rate : rate;
  }

  shapesIn(milliseconds) {
    if (this.shapesPerMillisecond <= 0) {
      return kFirstShapes;
    }
    return Math.max(kFewestShapes, Math.floor(this.shapesPerMillisecond * milliseconds));
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

  // The end (a node rank) of the slice of a resting view's drawing that starts at rank `from`.
  sliceEnd(from) {
    const drawn = from + this.edgesBefore[from];
    return Math.max(
      from + 1,
      nodesWithin(this.edgesBefore, drawn + this.shapesIn(kSliceMilliseconds)),
    );
  }
}
