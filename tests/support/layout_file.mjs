// A plain .3dlayout file as the reader checks need it, read without the converter's code.

import { readFileSync } from 'node:fs';

// Run lengths, drawn edges and positions (as written, not fitted) of a plain layout file:
// references are 1-based, an edge is drawn from its lower-indexed end, and "/" or "\" ends a
// field.
export function readLayout(path) {
    const lines = readFileSync(path, 'latin1').split(/\r?\n/).filter((line) => !line.startsWith('%'));
    const nodeCount = parseInt(lines[0].trim().split(/\s+/)[0], 10);
    const counts = [];
    const edges = [];
    const positions = [];
    for (let i = 0; i < nodeCount; ++i) {
        const fields = lines[1 + i].split(/[\s,]+/)
            .map((field) => field.replace(/^[/\\]+/, '').split(/[/\\]/)[0])
            .filter((field) => field !== '');
        positions.push(fields.slice(0, 3).map((field) => parseFloat(field.replace(/[dD]/, 'e'))));
        const references = fields.slice(3).map((field) => parseInt(field, 10));
        counts.push(1 + references.length);
        for (const reference of references) {
            if (reference - 1 > i) edges.push([i, reference - 1]);
        }
    }
    return { nodeCount, counts, edges, positions };
}
