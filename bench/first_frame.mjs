// Times a scene in headless Chromium (Debian's, software GL) at 800x600 from the file's view.
//
//   node bench/first_frame.mjs html PAGE.html   first frame of the converter's page, then the
//                                              median of 5 frames while it turns
//   node bench/first_frame.mjs glb SCENE.glb    first frame of the instanced .glb drawn by
//                                              three.js (bench/glb_frame.html)
//
// Prints "FIRST_FRAME_SECONDS ROTATION_FRAME_SECONDS" ("-" where not measured); gives up after
// 300 s and prints "> 300 s".

import { dirname, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { launchChromium } from '../tests/browser/browser.mjs';

const repo = resolve(dirname(fileURLToPath(import.meta.url)), '..');

const [kind, scene] = process.argv.slice(2);
const browser = await launchChromium(['--allow-file-access-from-files']);
try {
    const page = await browser.newPage({ viewport: { width: 800, height: 600 } });
    const start = Date.now();
    const address = kind === 'html'
        ? pathToFileURL(resolve(scene)).href
        : `${pathToFileURL(resolve(repo, 'bench/glb_frame.html')).href}?scene=${encodeURIComponent(pathToFileURL(resolve(scene)).href)}`;
    await page.goto(address, { waitUntil: 'commit', timeout: 300000 });
    await page.waitForFunction(
        () => performance.getEntriesByName('layout2vrml:first-frame').length > 0,
        null, { timeout: Math.max(1000, 300000 - (Date.now() - start)), polling: 100 });
    const first = await page.evaluate(() => performance.getEntriesByName('layout2vrml:first-frame')[0].startTime / 1000);
    let turn = '-';
    if (kind === 'html') {
        const frames = await page.evaluate(async () => {
            const viewer = window.layout2vrml;
            const times = [];
            for (let i = 0; i < 5; ++i) {
                viewer.camera.orbit(0.05, 0.02);
                const t = performance.now();
                viewer.renderer.render(viewer.currentView());
                await viewer.renderer.whenDrawn();
                times.push((performance.now() - t) / 1000);
            }
            return times.sort((a, b) => a - b);
        });
        turn = frames[2].toFixed(2);
    }
    console.log(`${first.toFixed(2)} ${turn}`);
} catch (error) {
    console.log(error.name === 'TimeoutError' ? '> 300 s' : `failed: ${error.message.split('\n')[0]}`);
} finally {
    await browser.close();
}
