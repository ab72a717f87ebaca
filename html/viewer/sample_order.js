import { kSharedClassBit } from "./page_values.js";

// The order in which the page draws the scene, so that every prefix is a sample spread evenly
// over space: drawing the first K nodes, and the edges whose both ends are among them, is the
// picture's structure at a smaller cost, the same from one frame to the next.

const kGridBits = 9; // cells per axis: 2^9; 27 bits of key, with 24 of node index below
const kIndexScale = 2 ** 24;
const kNodeBits = kSharedClassBit - 1;

// Spreads the low 9 bits of `v` to every third bit.
function spreadBits(v) {
  let spread = 0;
  for (let bit = 0; bit < kGridBits; ++bit) {
    spread |= ((v >> bit) & 1) << (3 * bit);
  }
  return spread;
}

// The bits of `key` (27 of them) in reverse order: the finest cell bits become the coarsest, so
// sorting by it visits one cell of every 2x2x2 block before the next, at every scale.
function reverseKey(key) {
  let reversed = 0;
  for (let bit = 0; bit < 3 * kGridBits; ++bit) {
    reversed = reversed * 2 + ((key >> bit) & 1);
  }
  return reversed;
}

// Node indices in drawing order: by the bit-reversed Morton key of their grid cell, nodes of
// one cell by index. A prefix of any length takes nodes from every region in proportion to its
// nodes, as a stratified sample does.
export function nodeOrder(positions, nodeCount) {
  const low = [Infinity, Infinity, Infinity];
  const high = [-Infinity, -Infinity, -Infinity];
  for (let i = 0; i < nodeCount; ++i) {
    for (let axis = 0; axis < 3; ++axis) {
      low[axis] = Math.min(low[axis], positions[3 * i + axis]);
      high[axis] = Math.max(high[axis], positions[3 * i + axis]);
    }
  }
  const cells = 1 << kGridBits;
  const scale = high.map((h, axis) => (h > low[axis] ? (cells - 1) / (h - low[axis]) : 0));
  const keys = new Float64Array(nodeCount);
  for (let i = 0; i < nodeCount; ++i) {
    let morton = 0;
    for (let axis = 0; axis < 3; ++axis) {
      const cell = Math.floor((positions[3 * i + axis] - low[axis]) * scale[axis]);
      morton |= spreadBits(cell) << axis;
    }
    keys[i] = reverseKey(morton) * kIndexScale + i;
  }
  keys.sort();
  const order = new Uint32Array(nodeCount);
  for (let rank = 0; rank < nodeCount; ++rank) {
    order[rank] = keys[rank] % kIndexScale;
  }
  return order;
}

// The edges (end pairs as the page holds them) reordered by the later rank of their two ends,
// and `edgesBefore[k]`: how many of them join two of the first k nodes, so that the first
// edgesBefore[k] edges are exactly those between sampled nodes. A counting sort: linear time.
export function edgesByRank(edges, order) {
  const nodeCount = order.length;
  const rank = new Uint32Array(nodeCount);
  order.forEach((node, r) => (rank[node] = r));
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
