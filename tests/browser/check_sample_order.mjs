// Checks the page's drawing order (html/viewer/sample_order.js) in Node, without a browser:
// every prefix of the order is spread evenly over space, nodes of one cell come by index, the
// edges are reordered so that the first edgesBefore[k] are exactly those among the first k
// nodes, and nodesWithin finds the most nodes within a number of shapes.
//
//   node check_sample_order.mjs VIEWER_SOURCE_DIR PAGE_VALUES_JS
//
// Prints what is wrong and exits 1; prints one summary line and exits 0 when all is right.

import { copyFileSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';

const [viewerDir, pageValues] = process.argv.slice(2);
// The module imports ./page_values.js, which the build writes elsewhere: both go side by side.
const work = mkdtempSync(join(tmpdir(), 'sample-order-'));
copyFileSync(join(viewerDir, 'sample_order.js'), join(work, 'sample_order.js'));
copyFileSync(pageValues, join(work, 'page_values.js'));
const { nodeOrder, ranksOf, edgesByRank, nodesWithin } = await import(pathToFileURL(join(work, 'sample_order.js')).href);
const { kSharedClassBit } = await import(pathToFileURL(join(work, 'page_values.js')).href);
rmSync(work, { recursive: true });

// The nodes' box, as the page's sceneBounds gives it to nodeOrder.
function boxOf(positions, count) {
    const low = [Infinity, Infinity, Infinity];
    const high = [-Infinity, -Infinity, -Infinity];
    for (let i = 0; i < count; ++i) {
        for (let axis = 0; axis < 3; ++axis) {
            low[axis] = Math.min(low[axis], positions[3 * i + axis]);
            high[axis] = Math.max(high[axis], positions[3 * i + axis]);
        }
    }
    return { low, high };
}

function orderOf(positions, count) {
    return nodeOrder(positions, count, boxOf(positions, count));
}

const failures = [];
function fail(message) {
    if (failures.length < 20) failures.push(message);
}

// A deterministic generator, so a failure repeats.
let seed = 12345;
function random() {
    seed = (seed * 1103515245 + 12345) % 2147483648;
    return seed / 2147483648;
}

// A side^3 lattice, 32 grid cells apart, whose nodes are numbered in a shuffled order, and one
// node more at the far corner so that the grid's cells are whole units; returns positions and
// the lattice place (x, y, z) of every lattice node.
function shuffledLattice(side) {
    const count = side ** 3;
    const numbers = Array.from({ length: count }, (_, i) => i);
    for (let i = count - 1; i > 0; --i) {
        const j = Math.floor(random() * (i + 1));
        [numbers[i], numbers[j]] = [numbers[j], numbers[i]];
    }
    const positions = new Float32Array(3 * (count + 1));
    const cells = new Array(count);
    let at = 0;
    for (let x = 0; x < side; ++x) {
        for (let y = 0; y < side; ++y) {
            for (let z = 0; z < side; ++z) {
                const node = numbers[at++];
                positions.set([32 * x, 32 * y, 32 * z], 3 * node);
                cells[node] = [x, y, z];
            }
        }
    }
    positions.set([511, 511, 511], 3 * count);
    return { count: count + 1, positions, cells };
}

function checkPermutation(order, count, what) {
    const seen = new Uint8Array(count);
    for (const node of order) {
        if (node >= count || seen[node]++) {
            fail(`${what}: the order is not a permutation (node ${node})`);
            return false;
        }
    }
    if (order.length !== count) fail(`${what}: the order has ${order.length} nodes of ${count}`);
    return order.length === count;
}

// On a 16^3 lattice, the first 8^k nodes take one node from every block of (16 / 2^k)^3.
function checkEvenPrefixes() {
    const side = 16;
    const { count, positions, cells } = shuffledLattice(side);
    const order = orderOf(positions, count);
    if (!checkPermutation(order, count, 'lattice')) return;
    if (order[count - 1] !== count - 1) fail('lattice: the far corner is not drawn last');
    for (let level = 1; 2 ** level <= side; ++level) {
        const blocks = 8 ** level;
        const blockSide = side / 2 ** level;
        const taken = new Set();
        for (let rank = 0; rank < blocks; ++rank) {
            const [x, y, z] = cells[order[rank]].map((c) => Math.floor(c / blockSide));
            taken.add(`${x},${y},${z}`);
        }
        if (taken.size !== blocks) {
            fail(`lattice: the first ${blocks} nodes cover ${taken.size} of ${blocks} blocks of side ${blockSide}`);
        }
    }
}

// Nodes at one place share a cell: they come in the order of their numbers.
function checkTiesByIndex() {
    const count = 1000;
    const positions = new Float32Array(3 * count);
    for (let i = 0; i < count; ++i) positions.set(i % 2 === 0 ? [0, 0, 0] : [1, 1, 1], 3 * i);
    const order = Array.from(orderOf(positions, count));
    const evens = Array.from({ length: count / 2 }, (_, k) => 2 * k);
    const expected = evens.concat(evens.map((node) => node + 1));
    if (order.some((node, rank) => node !== expected[rank])) {
        fail(`ties: the order begins ${order.slice(0, 4)}, not the nodes at one place by number`);
    }
}

// The key of a grid cell worked out bit by bit: the cell's Morton code (x lowest) with its 27
// bits reversed.
function reversedMorton([x, y, z]) {
    let key = 0;
    for (let bit = 0; bit < 27; ++bit) {
        const axis = [x, y, z][bit % 3];
        key = key * 2 + ((axis >> Math.floor(bit / 3)) & 1);
    }
    return key;
}

// Points anywhere: the order sorts them by that key, ties by number.
function checkAgainstKeys() {
    const count = 20000;
    const positions = new Float32Array(3 * count).map(() => random() * 7 - 3);
    positions.set([-3, -3, -3, 4, 4, 4], 0);
    const order = orderOf(positions, count);
    if (!checkPermutation(order, count, 'keys')) return;
    const cellOf = (node) => [0, 1, 2].map((axis) => Math.floor((positions[3 * node + axis] + 3) * (511 / 7)));
    for (let rank = 1; rank < count; ++rank) {
        const [a, b] = [order[rank - 1], order[rank]];
        const [ka, kb] = [reversedMorton(cellOf(a)), reversedMorton(cellOf(b))];
        if (ka > kb || (ka === kb && a > b)) {
            fail(`keys: node ${a} (key ${ka}) is drawn before node ${b} (key ${kb})`);
            return;
        }
    }
}

function checkEdges() {
    const count = 3000;
    const positions = new Float32Array(3 * count).map(() => random() * 100);
    const edgeCount = 9000;
    const edges = new Uint32Array(2 * edgeCount);
    for (let e = 0; e < edgeCount; ++e) {
        edges[2 * e] = Math.floor(random() * count);
        // Some far ends carry the page's shared-class bit above the node number.
        edges[2 * e + 1] = Math.floor(random() * count) | (e % 5 === 0 ? kSharedClassBit : 0);
    }
    const order = orderOf(positions, count);
    const ranks = ranksOf(order);
    if (!order.every((node, rank) => ranks[node] === rank)) fail('ranksOf: not the inverse of the order');
    const { edges: sorted, edgesBefore } = edgesByRank(edges, ranks);
    const key = (a, b) => `${a} ${b}`;
    const given = new Map();
    for (let e = 0; e < edgeCount; ++e) {
        const k = key(edges[2 * e], edges[2 * e + 1]);
        given.set(k, (given.get(k) ?? 0) + 1);
    }
    const later = (e) => Math.max(ranks[sorted[2 * e]], ranks[sorted[2 * e + 1] & (kSharedClassBit - 1)]);
    for (let e = 0; e < edgeCount; ++e) {
        const k = key(sorted[2 * e], sorted[2 * e + 1]);
        if (!given.get(k)) {
            fail(`edges: ${k} is not one of the given edges, or is there twice`);
            return;
        }
        given.set(k, given.get(k) - 1);
        if (e > 0 && later(e) < later(e - 1)) fail(`edges: edge ${e} comes after an edge of a later node`);
    }
    for (const k of [0, 1, 2, 10, 500, count - 1, count]) {
        let among = 0;
        for (let e = 0; e < edgeCount; ++e) {
            if (Math.max(ranks[edges[2 * e]], ranks[edges[2 * e + 1] & (kSharedClassBit - 1)]) < k) ++among;
        }
        if (edgesBefore[k] !== among) fail(`edges: edgesBefore[${k}] is ${edgesBefore[k]}, not ${among}`);
    }
    for (const shapes of [0, 1, 700, 5000, 12000, 1e9]) {
        const k = nodesWithin(edgesBefore, shapes);
        const fits = (n) => n + edgesBefore[n] <= shapes;
        if (!(k === 0 || fits(k)) || (k < count && fits(k + 1))) {
            fail(`nodesWithin(${shapes}) is ${k}, not the most nodes within`);
        }
    }
}

checkEvenPrefixes();
checkTiesByIndex();
checkAgainstKeys();
checkEdges();
if (failures.length > 0) {
    console.log(failures.join('\n'));
    process.exit(1);
}
console.log('sample order: even prefixes on a shuffled lattice, ties by number, sorted by key, edges by later rank');
