import { kSharedClassBit } from "./page_values.js";

// The order in which the page draws the scene, so that every prefix is a sample spread evenly
// over space: drawing the first K nodes, and the edges whose both ends are among them, is the
// picture's structure at a smaller cost, the same from one frame to the next.

const kGridBits = 9; // cells per axis: 2^9, so a key has 27 bits
const kCells = 1 << kGridBits;
const kNodeBits = kSharedClassBit - 1;

// For each cell number along one axis: its 9 bits reversed, then spread to every third bit.
// Interleaving these for the three axes (in reverse axis order) gives the Morton key of the
// cell with all its 27 bits reversed.
const kReversedSpread = (() => {
  const table = new Uint32Array(kCells);
  for (let cell = 0; cell < kCells; ++cell) {
    for (let bit = 0; bit < kGridBits; ++bit) {
      table[cell] |= ((cell >> bit) & 1) << (3 * (kGridBits - 1 - bit));
    }
  }
  return table;
})();

// Node indices in drawing order: by the bit-reversed Morton key of their grid cell (the finest
// cell bits become the coarsest, so the order visits one cell of every 2x2x2 block before the
// next, at every scale), nodes of one cell by index. A prefix of any length takes nodes from
// every region in proportion to its nodes, as a stratified sample does. The grid spans the
// nodes' box, `low` to `high` (sceneBounds).
export function nodeOrder(positions, nodeCount, { low, high }) {
  const scale = high.map((h, axis) => (h > low[axis] ? (kCells - 1) / (h - low[axis]) : 0));
  const cellOf = (i, axis) => Math.floor((positions[3 * i + axis] - low[axis]) * scale[axis]);
  const keys = new Uint32Array(nodeCount);
  for (let i = 0; i < nodeCount; ++i) {
    keys[i] =
      (kReversedSpread[cellOf(i, 0)] << 2) |
      (kReversedSpread[cellOf(i, 1)] << 1) |
      kReversedSpread[cellOf(i, 2)];
  }
  return sortedByKey(keys);
}

// Indices 0..n-1 ordered by their 27-bit keys, equal keys by index: a radix sort, 9 bits a
// pass from the lowest, each pass stable. Linear time: a comparison sort of a million keys
// held up the first picture.
function sortedByKey(keys) {
  const count = keys.length;
  let order = new Uint32Array(count);
  let next = new Uint32Array(count);
  for (let i = 0; i < count; ++i) {
    order[i] = i;
  }
  for (let shift = 0; shift < 3 * kGridBits; shift += kGridBits) {
    const starts = new Uint32Array(kCells + 1);
    for (let i = 0; i < count; ++i) {
      ++starts[((keys[i] >>> shift) & (kCells - 1)) + 1];
    }
    for (let digit = 0; digit < kCells; ++digit) {
      starts[digit + 1] += starts[digit];
    }
    for (let at = 0; at < count; ++at) {
      const i = order[at];
      next[starts[(keys[i] >>> shift) & (kCells - 1)]++] = i;
    }
    [order, next] = [next, order];
  }
  return order;
}

// The edges (end pairs as the page holds them) reordered by the later rank (ranksOf) of their
// two ends, and `edgesBefore[k]`: how many of them join two of the first k nodes, so that the
// first edgesBefore[k] edges are exactly those between sampled nodes. A counting sort: linear
// time.
export function edgesByRank(edges, rank) {
  const nodeCount = rank.length;
  const edgeCount = edges.length / 2;
  const later = new Uint32Array(edgeCount);
  const edgesBefore = new Uint32Array(nodeCount + 1);
  for (let e = 0; e < edgeCount; ++e) {
    later[e] = Math.max(rank[edges[2 * e]], rank[edges[2 * e + 1] & kNodeBits]);
    ++edgesBefore[later[e] + 1];
  }
  for (let k = 0; k < nodeCount; ++k) {
    edgesBefore[k + 1] += edgesBefore[k];
  }
  const next = edgesBefore.slice(0, nodeCount);
  const sorted = new Uint32Array(edges.length);
  for (let e = 0; e < edgeCount; ++e) {
    const at = next[later[e]]++;
    sorted[2 * at] = edges[2 * e];
    sorted[2 * at + 1] = edges[2 * e + 1];
  }
  return { edges: sorted, edgesBefore };
}

// The rank (place in drawing order) of every node.
export function ranksOf(order) {
  const ranks = new Uint32Array(order.length);
  for (let r = 0; r < order.length; ++r) {
    ranks[order[r]] = r;
  }
  return ranks;
}

// The most nodes k whose shapes (k spheres and the edges among them) stay within `shapes`.
export function nodesWithin(edgesBefore, shapes) {
  let low = 0;
  let high = edgesBefore.length - 1;
  while (low < high) {
    const middle = Math.ceil((low + high) / 2);
    if (middle + edgesBefore[middle] <= shapes) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  return low;
}
