// The nodes' names and attributes, as the page's names block carries them
// (html/page_data_format.hpp): one UTF-8 block and every cell's length, decoded only when a
// cell is shown. Search builds one lower-case string of all names on first use, not a string
// per node.

import { decodeBase64 } from "./scene_data.js";

const kSeparator = "\u0000";

// The node table in the page's names block (base64 `text`), or null when it has none.
export function readNodeNames(text, nodeCount) {
  const trimmed = text.trim();
  return trimmed === "" ? null : new NodeNames(decodeBase64(trimmed), nodeCount);
}

export class NodeNames {
  constructor(bytes, nodeCount) {
    const damaged = new Error("The names in this page are damaged.");
    const words = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
    if (bytes.length < 12) {
      throw damaged;
    }
    this.columns = words.getUint32(0, true);
    const nameColumn = words.getUint32(4, true);
    const headersLength = words.getUint32(8, true);
    let at = 12 + headersLength;
    if (this.columns === 0 || nameColumn !== 0 || at > bytes.length) {
      throw damaged;
    }
    this.decoder = new TextDecoder();
    this.headers = JSON.parse(this.decoder.decode(bytes.subarray(12, at)));
    // Every cell's end in the text, from the lengths, seven bits a byte.
    const cells = nodeCount * this.columns;
    this.ends = new Uint32Array(cells);
    let end = 0;
    for (let cell = 0; cell < cells; ++cell) {
      let length = 0;
      let shift = 0;
      let byte = 0x80;
      while (byte & 0x80) {
        if (at >= bytes.length) {
          throw damaged;
        }
        byte = bytes[at++];
        length += (byte & 0x7f) * 2 ** shift;
        shift += 7;
      }
      end += length;
      this.ends[cell] = end;
    }
    if (at + end !== bytes.length) {
      throw damaged;
    }
    this.text = bytes.subarray(at);
    this.nodeCount = nodeCount;
    this.index = null;
  }

  cellBytes(node, column) {
    const at = node * this.columns + column;
    return this.text.subarray(at === 0 ? 0 : this.ends[at - 1], this.ends[at]);
  }

  // Node `node`'s name, "" where it has none.
  name(node) {
    return this.decoder.decode(this.cellBytes(node, 0));
  }

  // What labels and lists call a node: its name, or its index where it has none.
  label(node) {
    return this.name(node) || String(node);
  }

  // [header, value] of every attribute of node `node`.
  attributes(node) {
    const pairs = [];
    for (let column = 1; column < this.columns; ++column) {
      pairs.push([this.headers[column], this.decoder.decode(this.cellBytes(node, column))]);
    }
    return pairs;
  }

  // Up to `most` nodes whose names hold `text` in any case: exact names first, then names
  // that begin with it, then the rest, each in node order.
  search(text, most) {
    const wanted = text.toLowerCase().replaceAll(kSeparator, " ");
    if (wanted === "") {
      return [];
    }
    const { haystack, starts } = this.searchIndex();
    const found = [];
    const seen = new Set();
    const collect = (needle, skip) => {
      for (let at = haystack.indexOf(needle); at >= 0 && found.length < most;) {
        const node = nodeAt(starts, at + skip);
        if (!seen.has(node)) {
          seen.add(node);
          found.push(node);
        }
        at = haystack.indexOf(needle, at + 1);
      }
    };
    collect(kSeparator + wanted + kSeparator, 1);
    collect(kSeparator + wanted, 1);
    collect(wanted, 0);
    return found;
  }

  // Every name in lower case between separators, and where each one starts.
  searchIndex() {
    if (!this.index) {
      let length = 1;
      for (let node = 0; node < this.nodeCount; ++node) {
        length += this.cellBytes(node, 0).length + 1;
      }
      const joined = new Uint8Array(length);
      let at = 1;
      for (let node = 0; node < this.nodeCount; ++node) {
        const name = this.cellBytes(node, 0);
        joined.set(name, at);
        if (name.includes(0)) {
          for (let k = at; k < at + name.length; ++k) {
            joined[k] = joined[k] || 0x20; // a name's own NUL would split it
          }
        }
        at += name.length + 1;
      }
      const haystack = this.decoder.decode(joined).toLowerCase();
      const starts = new Uint32Array(this.nodeCount);
      let position = 0;
      for (let node = 0; node < this.nodeCount; ++node) {
        starts[node] = position + 1;
        position = haystack.indexOf(kSeparator, position + 1);
      }
      this.index = { haystack, starts };
    }
    return this.index;
  }
}

// The node whose name holds position `at` of the haystack.
function nodeAt(starts, at) {
  let low = 0;
  let high = starts.length - 1;
  while (low < high) {
    const middle = (low + high + 1) >> 1;
    if (starts[middle] <= at) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  return low;
}
