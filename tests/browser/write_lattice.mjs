// Writes a large .3dlayout for the frame budget check: SIDE^3 nodes on a cubic lattice, each
// joined to its next neighbour along every axis (local edges, as a layout of a real graph).
//
//   node write_lattice.mjs SIDE OUT.3dlayout

import { writeFileSync } from 'node:fs';

const [sideText, out] = process.argv.slice(2);
const side = Number(sideText);
const index = (x, y, z) => 1 + x + side * (y + side * z);
const lines = [];
let edges = 0;
for (let z = 0; z < side; ++z) {
    for (let y = 0; y < side; ++y) {
        for (let x = 0; x < side; ++x) {
            const next = [];
            if (x + 1 < side) next.push(index(x + 1, y, z));
            if (y + 1 < side) next.push(index(x, y + 1, z));
            if (z + 1 < side) next.push(index(x, y, z + 1));
            edges += next.length;
            lines.push(`${x / side - 0.5} ${y / side - 0.5} ${z / side - 0.5} ${next.join(' ')}`.trimEnd());
        }
    }
}
writeFileSync(out, `% lattice of ${side}^3 nodes\n${side ** 3} ${edges}\n${lines.join('\n')}\n`);
