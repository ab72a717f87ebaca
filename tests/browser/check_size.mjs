// Opens pages converted with and without -size in Chromium and checks the size they open at:
// without -size the page's own rule; with -size auto the factor the converter worked out, which
// must be what that rule gives for the same layout; with a factor, that factor. With -size the
// file's sizes are the scaled ones: the "file sizes" button hides there and brings the slider
// back to them, and the slider reaches them.
//
//   node check_size.mjs PLAIN.html AUTO.html FACTOR.html FACTOR
//
// Prints what is wrong and exits 1; prints one summary line and exits 0 when all is right.

import { pathToFileURL } from 'node:url';
import { launchChromium, openPage } from './browser.mjs';

const failures = [];
function fail(message) {
    if (failures.length < 20) failures.push(message);
}

async function open(browser, path) {
    return openPage(browser, pathToFileURL(path).href, { width: 640, height: 480 }, fail);
}

// The viewer's scales and what the size controls show.
async function sizes(page) {
    return page.evaluate(() => ({
        sizeScale: window.layout2vrml.sizeScale,
        fileScale: window.layout2vrml.fileScale,
        suggested: window.layout2vrml.suggestedScale,
        slider: document.getElementById('size').value,
        sliderMin: Number(document.getElementById('size').min),
        sliderMax: Number(document.getElementById('size').max),
        button: document.getElementById('file-sizes').hidden ? null : document.getElementById('file-sizes').textContent,
    }));
}

async function moveSlider(page, value) {
    await page.evaluate((to) => {
        const slider = document.getElementById('size');
        slider.value = String(to);
        slider.dispatchEvent(new Event('input'));
    }, value);
}

// A page converted with -size: opens at `factor` with the button hidden; moved away, the
// button says "file sizes" and brings it back.
async function checkSized(page, factor, what) {
    const opened = await sizes(page);
    if (opened.sizeScale !== factor || opened.fileScale !== factor) {
        fail(`${what}: opens at ${opened.sizeScale} (file ${opened.fileScale}), not at ${factor}`);
    }
    if (opened.button !== null) fail(`${what}: at the file's sizes the button shows "${opened.button}"`);
    const step = Math.round(10 * Math.log2(factor));
    if (opened.slider !== String(step) || opened.sliderMin > step || opened.sliderMax < step) {
        fail(`${what}: the slider shows ${opened.slider} in ${opened.sliderMin}..${opened.sliderMax}, not ${step}`);
    }
    await moveSlider(page, step - 5);
    const moved = await sizes(page);
    if (moved.button !== 'file sizes') fail(`${what}: after the slider moved the button shows "${moved.button}"`);
    await page.click('#file-sizes');
    const back = await sizes(page);
    if (back.sizeScale !== factor || back.button !== null) {
        fail(`${what}: "file sizes" went to ${back.sizeScale}, button "${back.button}"`);
    }
}

async function main() {
    const [plainPath, autoPath, factorPath, factorText] = process.argv.slice(2);
    const factor = Math.fround(Number(factorText));
    const browser = await launchChromium();
    try {
        const plain = await sizes(await open(browser, plainPath));
        if (plain.fileScale !== 1 || plain.sizeScale !== plain.suggested) {
            fail(`without -size: opens at ${plain.sizeScale}, file ${plain.fileScale}, suggested ${plain.suggested}`);
        }
        const autoPage = await open(browser, autoPath);
        const automatic = (await sizes(autoPage)).sizeScale;
        // The converter's factor (from double positions, as a float) and the page's own (from
        // float positions) apply one rule to one layout.
        if (!(Math.abs(automatic - plain.suggested) <= 1e-6 * plain.suggested)) {
            fail(`-size auto gives ${automatic}, the page's own rule ${plain.suggested}`);
        }
        if (!(automatic < 1)) fail(`-size auto gives ${automatic}: the layout should need scaling down`);
        await checkSized(autoPage, automatic, '-size auto');
        await checkSized(await open(browser, factorPath), factor, `-size ${factorText}`);
        if (failures.length > 0) {
            console.log(failures.join('\n'));
            process.exitCode = 1;
            return;
        }
        console.log(`ok: the page's own scale ${plain.suggested}, -size auto ${automatic}, -size ${factorText} ${factor}`);
    } finally {
        await browser.close();
    }
}

main().catch((error) => {
    console.log(`check failed: ${error.stack ?? error}`);
    process.exit(1);
});
