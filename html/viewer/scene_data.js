import {
  kClassNumbersFlag,
  kColouredFlag,
  kDataMagic,
  kDataVersion,
  kEdgeRadius,
  kHeaderWords,
  kNodeRadius,
  kSharedClassBit,
  kShowEdgesFlag,
  kShowLabelsFlag,
  kSizedFlag,
} from "./page_values.js";

// The scene data the converter embeds, as html/page_data_format.hpp describes it.
const kHeaderBytes = 4 * kHeaderWords;
const kNodeBits = kSharedClassBit - 1; // an edge end's node index, without the shared-class bit

export function decodeBase64(text) {
  if (typeof Uint8Array.fromBase64 === "function") {
    return Uint8Array.fromBase64(text);
  }
  // Older engines: atob in slices, so no second string of the whole size is made.
  const padding = text.endsWith("==") ? 2 : text.endsWith("=") ? 1 : 0;
  const bytes = new Uint8Array((text.length / 4) * 3 - padding);
  const slice = 1 << 22;
  let at = 0;
  for (let start = 0; start < text.length; start += slice) {
    const binary = atob(text.slice(start, start + slice));
    for (let i = 0; i < binary.length; ++i) {
      bytes[at++] = binary.charCodeAt(i);
    }
  }
  return bytes;
}

export function readSceneData(text) {
  const bytes = decodeBase64(text.trim());
  const damaged = new Error("The scene data in this page is damaged.");
  if (bytes.length < kHeaderBytes) {
    throw damaged;
  }
  const header = new Uint32Array(bytes.buffer, 0, kHeaderWords);
  if (header[0] !== kDataMagic || header[1] !== kDataVersion) {
    throw damaged;
  }
  const nodeCount = header[2];
  const edgeCount = header[3];
  const flags = header[4];
  const coloured = (flags & kColouredFlag) !== 0;
  const sceneBytes = kHeaderBytes + 16 * nodeCount + 8 * edgeCount;
  if (bytes.length < sceneBytes + (coloured ? 4 * nodeCount + 4 : 0)) {
    throw damaged;
  }
  let offset = kHeaderBytes;
  const positions = new Float32Array(bytes.buffer, offset, 3 * nodeCount);
  offset += 12 * nodeCount;
  const counts = new Uint32Array(bytes.buffer, offset, nodeCount);
  offset += 4 * nodeCount;
  const edges = new Uint32Array(bytes.buffer, offset, 2 * edgeCount);
  offset += 8 * edgeCount;
  let nodeColours = null;
  let legend = null;
  if (coloured) {
    nodeColours = new Uint8Array(bytes.buffer, offset, 4 * nodeCount);
    offset += 4 * nodeCount;
    const length = new Uint32Array(bytes.buffer, offset, 1)[0];
    offset += 4;
    if (offset + length > bytes.length) {
      throw damaged;
    }
    legend = JSON.parse(new TextDecoder().decode(bytes.subarray(offset, offset + length)));
    offset += length;
  }
  let classNumbers = null;
  if ((flags & kClassNumbersFlag) !== 0) {
    offset = (offset + 3) & ~3;
    if (offset + 4 * nodeCount > bytes.length) {
      throw damaged;
    }
    classNumbers = new Uint32Array(bytes.buffer, offset, nodeCount);
  }
  return {
    names: null, // read after the first frame (readNodeNames)
    classNumbers,
    nodeColours,
    legend,
    nodeCount,
    edgeCount,
    positions,
    counts,
    edges,
    showLabels: (flags & kShowLabelsFlag) !== 0,
    showEdges: (flags & kShowEdgesFlag) !== 0,
    // -size: the factor the converter scaled the file's spheres and cylinders by.
    sizeFactor: (flags & kSizedFlag) !== 0 ? new Float32Array(bytes.buffer, 20, 1)[0] : null,
    nodeRadius: kNodeRadius,
    edgeRadius: kEdgeRadius,
  };
}

// The nodes' box (`low`, `high`), its centre, the radius of a ball about that which holds every
// sphere, and the file's largest sphere radius.
export function sceneBounds(scene) {
  const low = [Infinity, Infinity, Infinity];
  const high = [-Infinity, -Infinity, -Infinity];
  const p = scene.positions;
  let largestCount = 1;
  for (let i = 0; i < scene.nodeCount; ++i) {
    for (let axis = 0; axis < 3; ++axis) {
      const value = p[3 * i + axis];
      low[axis] = Math.min(low[axis], value);
      high[axis] = Math.max(high[axis], value);
    }
    largestCount = Math.max(largestCount, scene.counts[i]);
  }
  const centre = low.map((value, axis) => (value + high[axis]) / 2);
  let radius = 0;
  for (let i = 0; i < scene.nodeCount; ++i) {
    const dx = p[3 * i] - centre[0];
    const dy = p[3 * i + 1] - centre[1];
    const dz = p[3 * i + 2] - centre[2];
    radius = Math.max(radius, Math.hypot(dx, dy, dz));
  }
  const largestRadius = kNodeRadius * Math.sqrt(largestCount);
  return { low, high, centre, radius: radius + largestRadius, largestRadius };
}

function median(values) {
  values.sort((a, b) => a - b);
  return values.length === 0 ? 0 : values[values.length >> 1];
}

// Evenly spread sample indices below `count`, at most `most` of them.
function sampleIndices(count, most) {
  const step = Math.max(1, Math.floor(count / most));
  const indices = [];
  for (let i = 0; i < count; i += step) {
    indices.push(i);
  }
  return indices;
}

// The size scale the page opens with: the file's sizes, unless its spheres are wider than a
// third of the median edge length, which hides the edges inside them; then the scale that
// makes the median sphere exactly that wide. The converter's -size auto applies the same rule
// (scene/size_scale.cpp); pages converted with -size carry their sizes and skip this.
export function suggestedSizeScale(scene) {
  if (scene.edgeCount === 0) {
    return 1;
  }
  const p = scene.positions;
  const lengths = sampleIndices(scene.edgeCount, 50001).map((edge) => {
    const a = 3 * scene.edges[2 * edge];
    const b = 3 * (scene.edges[2 * edge + 1] & kNodeBits);
    return Math.hypot(p[a] - p[b], p[a + 1] - p[b + 1], p[a + 2] - p[b + 2]);
  });
  const counts = sampleIndices(scene.nodeCount, 50001).map((node) => scene.counts[node]);
  const edgeLength = median(lengths);
  const sphereWidth = 2 * kNodeRadius * Math.sqrt(median(counts));
  if (edgeLength <= 0 || sphereWidth <= edgeLength / 3) {
    return 1;
  }
  return edgeLength / 3 / sphereWidth;
}

// Every node's neighbours through the drawn edges, as offsets into one list.
export function neighbourTable(scene) {
  const offsets = new Uint32Array(scene.nodeCount + 1);
  const edges = scene.edges.map((end) => end & kNodeBits);
  for (let i = 0; i < edges.length; ++i) {
    ++offsets[edges[i] + 1];
  }
  for (let i = 0; i < scene.nodeCount; ++i) {
    offsets[i + 1] += offsets[i];
  }
  const next = offsets.slice(0, scene.nodeCount);
  const list = new Uint32Array(edges.length);
  for (let e = 0; e < edges.length; e += 2) {
    list[next[edges[e]]++] = edges[e + 1];
    list[next[edges[e + 1]]++] = edges[e];
  }
  return {
    of(node) {
      return list.subarray(offsets[node], offsets[node + 1]);
    },
  };
}
