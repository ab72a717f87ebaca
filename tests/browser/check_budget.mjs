// Checks the page's frame budget on a large layout: the first picture comes before the first
// complete frame; frames while the camera moves draw fewer shapes than the scene and say so on
// screen; a moving frame draws the same sample as the one before it (no flicker); and once the
// camera rests, the picture drawn in slices equals the picture of the same view drawn in one
// pass with the budget off.
//
//   node check_budget.mjs PAGE
//
// Prints what is wrong and exits 1; prints one summary line and exits 0 when all is right.

import { pathToFileURL } from 'node:url';
import { PNG } from 'pngjs';
import { launchChromium, openPage } from './browser.mjs';

const kWidth = 800;
const kHeight = 600;
// Slices add the same colours in another order than one pass, in half floats.
const kColourTolerance = 3;
const kProbeStep = 7;

const failures = [];
function fail(message) {
    failures.push(message);
}

async function canvasPicture(page) {
    const over = page.locator('#legend, #labels, #tooltip, #drawn, #toolbar');
    await over.evaluateAll((boxes) => boxes.forEach((box) => (box.style.visibility = 'hidden')));
    const png = PNG.sync.read(await page.locator('#scene').screenshot());
    await over.evaluateAll((boxes) => boxes.forEach((box) => (box.style.visibility = '')));
    return png;
}

// Pixels on a grid that differ by more than the tolerance, and how many were lit at all.
function compare(a, b) {
    let differing = 0;
    let lit = 0;
    let first = null;
    for (let y = 0; y < a.height; y += kProbeStep) {
        for (let x = 0; x < a.width; x += kProbeStep) {
            const at = 4 * (y * a.width + x);
            const pa = [a.data[at], a.data[at + 1], a.data[at + 2]];
            const pb = [b.data[at], b.data[at + 1], b.data[at + 2]];
            if (pa.some((v) => v > 0)) ++lit;
            if (pa.some((v, k) => Math.abs(v - pb[k]) > kColourTolerance)) {
                ++differing;
                first = first ?? `${x},${y}: ${pa} against ${pb}`;
            }
        }
    }
    return { differing, lit, first };
}

async function nextFrames(page) {
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
}

async function complete(page) {
    await page.waitForFunction(() => document.body.dataset.camera === 'still', null, { timeout: 60000 });
    await nextFrames(page);
}

async function checkMarks(page) {
    const [picture, frame] = await page.evaluate(() => ['first-picture', 'first-frame'].map(
        (name) => performance.getEntriesByName(`layout2vrml:${name}`)[0]?.startTime ?? -1));
    if (picture < 0 || frame < 0 || picture > frame) {
        fail(`marks: first picture at ${picture} ms, first complete frame at ${frame} ms`);
    }
    return { picture, frame };
}

// A drag across the canvas; every frame drawn meanwhile is recorded.
async function checkDrag(page, shapes) {
    await page.evaluate(() => {
        window.budgetFrames = [];
        const viewer = window.layout2vrml;
        const render = viewer.drew.bind(viewer);
        viewer.drew = (...args) => {
            render(...args);
            window.budgetFrames.push({ ...viewer.lastFrame, note: document.getElementById('drawn').textContent });
        };
    });
    await page.mouse.move(400, 300);
    await page.mouse.down();
    for (let step = 1; step <= 12; ++step) {
        await page.mouse.move(400 + 10 * step, 300 + 4 * step);
        await page.waitForTimeout(30);
    }
    await page.mouse.up();
    const frames = await page.evaluate(() => window.budgetFrames);
    const moving = frames.filter((frame) => frame.moving);
    if (moving.length === 0) {
        fail('drag: no frame was drawn while the camera moved');
    }
    for (const frame of moving) {
        if (frame.nodes + frame.edges >= shapes) {
            fail(`drag: a moving frame drew ${frame.nodes + frame.edges} shapes of ${shapes}`);
        }
        if (!/^drawing \d+% while moving$/.test(frame.note)) {
            fail(`drag: a moving frame's note says "${frame.note}"`);
        }
    }
    return moving;
}

// Holds the camera "moving" without moving it: two frames in a row must show the same picture.
async function checkFlicker(page) {
    await complete(page);
    for (let attempt = 0; attempt < 3; ++attempt) {
        const pictures = [];
        const counts = [];
        for (let k = 0; k < 2; ++k) {
            await page.evaluate(() => {
                window.layout2vrml.movedAt = performance.now() + 60000;
                window.layout2vrml.changed();
            });
            await nextFrames(page);
            await page.evaluate(() => window.layout2vrml.renderer.whenDrawn());
            await nextFrames(page);
            pictures.push(await canvasPicture(page));
            counts.push(await page.evaluate(() => window.layout2vrml.lastFrame.nodes));
        }
        if (counts[0] !== counts[1]) continue; // the budget adapted between the two: again
        const { differing, first } = compare(pictures[0], pictures[1]);
        if (differing > 0) {
            fail(`flicker: two moving frames of one view differ at ${differing} probes (first ${first})`);
        }
        await page.evaluate(() => {
            window.layout2vrml.movedAt = -Infinity;
            window.layout2vrml.changed();
        });
        return counts[0];
    }
    fail('flicker: the sample changed size in every attempt');
    return 0;
}

// The resting picture (drawn in slices) against the same view drawn in one pass.
async function checkRest(page) {
    await complete(page);
    const slices = await page.evaluate(() => window.budgetFrames.filter((frame) => !frame.moving).length);
    const sliced = await canvasPicture(page);
    await page.locator('#frame-budget').uncheck();
    await complete(page);
    const whole = await canvasPicture(page);
    const { differing, lit, first } = compare(sliced, whole);
    if (lit < 100) fail(`rest: only ${lit} probes show anything`);
    if (differing > 0) fail(`rest: the picture drawn in slices differs at ${differing} probes (first ${first})`);
    await page.locator('#frame-budget').check();
    return slices;
}

async function main() {
    const [pagePath] = process.argv.slice(2);
    const browser = await launchChromium();
    try {
        const page = await openPage(browser, pathToFileURL(pagePath).href, { width: kWidth, height: kHeight }, fail);
        const marks = await checkMarks(page);
        await complete(page);
        const shapes = await page.evaluate(() => window.layout2vrml.scene.nodeCount + window.layout2vrml.scene.edgeCount);
        const moving = await checkDrag(page, shapes);
        const slices = await checkRest(page);
        const sample = await checkFlicker(page);
        if (failures.length === 0) {
            const drawn = moving.map((frame) => frame.nodes + frame.edges).join(',');
            console.log(`budget: ${shapes} shapes; first picture ${marks.picture.toFixed(0)} ms, complete ${marks.frame.toFixed(0)} ms; ` +
                `moving frames drew ${drawn}; rest in ${slices} frames equals one pass; sample of ${sample} nodes steady`);
        }
    } finally {
        await browser.close();
    }
    if (failures.length > 0) {
        console.log(failures.join('\n'));
        process.exit(1);
    }
}

await main();
