// Times a converted page as a user feels it, in headless Chromium (Debian's, software GL) at
// 800x600 from the file's view: the first picture of any kind, the first complete frame, and
// the frames while a drag turns the view for DRAG_SECONDS (default 4): a turn before every
// frame, as the pointer handler does; the frame time is the drag's time, until the GPU has
// drawn its last frame, divided by the frames drawn in it (picking, labels and all).
//
//   node bench/turn_frames.mjs PAGE.html
//
// Prints "FIRST_PICTURE_SECONDS FIRST_FRAME_SECONDS TURN_FRAME_SECONDS SAMPLE_NODES" ("-" where
// the page has no such mark or sample); gives up after 300 s and prints "> 300 s".

import { resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { launchChromium } from '../tests/browser/browser.mjs';

const [scene] = process.argv.slice(2);
const dragSeconds = Number(process.env.DRAG_SECONDS ?? 4);
const browser = await launchChromium();
try {
    const page = await browser.newPage({ viewport: { width: 800, height: 600 } });
    const start = Date.now();
    await page.goto(pathToFileURL(resolve(scene)).href, { waitUntil: 'commit', timeout: 300000 });
    await page.waitForFunction(
        () => performance.getEntriesByName('layout2vrml:first-frame').length > 0,
        null, { timeout: Math.max(1000, 300000 - (Date.now() - start)), polling: 100 });
    const mark = (name) => page.evaluate((n) => {
        const entry = performance.getEntriesByName(`layout2vrml:${n}`)[0];
        return entry ? (entry.startTime / 1000).toFixed(2) : '-';
    }, name);
    const picture = await mark('first-picture');
    const first = await mark('first-frame');
    await page.waitForFunction(() => document.body.dataset.camera === 'still', null, { timeout: 300000 });
    // The drag as the page's pointer handler does it, once a frame: orbit, then ask for a
    // frame; driven from inside the page so the driver's round trips do not pace it.
    const { seconds, frames, sample } = await page.evaluate(async (dragMilliseconds) => {
        const viewer = window.layout2vrml;
        const renderer = viewer.renderer;
        const render = renderer.render.bind(renderer);
        let count = 0;
        const samples = [];
        renderer.render = (...args) => {
            render(...args);
            ++count;
            samples.push(viewer.budget?.sampleNodes ?? 0);
        };
        const t0 = performance.now();
        while (performance.now() - t0 < dragMilliseconds) {
            viewer.camera.orbit(0.01, 0.004);
            viewer.changed();
            await new Promise((resolve) => requestAnimationFrame(resolve));
        }
        const drawn = count;
        await renderer.whenDrawn();
        const chosen = samples.filter((n) => n > 0);
        return {
            seconds: (performance.now() - t0) / 1000,
            frames: drawn,
            sample: chosen.length > 0 ? chosen[chosen.length - 1] : '-',
        };
    }, 1000 * dragSeconds);
    const turn = frames > 0 ? (seconds / frames).toFixed(3) : '-';
    console.log(`${picture} ${first} ${turn} ${sample}`);
} catch (error) {
    console.log(error.name === 'TimeoutError' ? '> 300 s' : `failed: ${error.message.split('\n')[0]}`);
} finally {
    await browser.close();
}
