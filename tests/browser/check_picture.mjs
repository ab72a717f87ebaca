// Checks that a screenshot of a converted page shows the scene, not only the page around it:
// below the toolbar, pixels in the spheres' colour (yellowish) and in the edges' (bluish).
//
//   node check_picture.mjs PICTURE.png

import { readFileSync } from 'node:fs';
import { PNG } from 'pngjs';

const kToolbar = 80;
const kFewest = 50;

const png = PNG.sync.read(readFileSync(process.argv[2]));
let spheres = 0;
let edges = 0;
for (let y = kToolbar; y < png.height; ++y) {
    for (let x = 0; x < png.width; ++x) {
        const at = 4 * (y * png.width + x);
        const [r, g, b] = [png.data[at], png.data[at + 1], png.data[at + 2]];
        if (r > 60 && r > b + 30 && g > b + 20) ++spheres;
        if (b > 60 && b > r + 30 && b > g + 30) ++edges;
    }
}
if (spheres < kFewest || edges < kFewest) {
    console.log(`${process.argv[2]}: ${spheres} pixels in the spheres' colour and ${edges} in the edges': the scene is not drawn`);
    process.exit(1);
}
console.log(`${process.argv[2]}: ${spheres} sphere and ${edges} edge pixels`);
