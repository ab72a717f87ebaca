// Takes the README's pictures of the HTML viewer: opens a converted page in headless Chromium
// (Debian's, software GL) at 800x600 and saves a screenshot once it has drawn, optionally after
// turning the view and selecting a node through the search box.
//
//   node docs/render_page_picture.mjs PAGE.html OUT.png [--turn RADIANS] [--zoom FACTOR]
//                                     [--select NODE] [--file-sizes]

import { createRequire } from 'node:module';
import { dirname, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const repo = resolve(dirname(fileURLToPath(import.meta.url)), '..');
const { chromium } = createRequire(resolve(repo, 'tests/browser/package.json'))('playwright-core');

const [page_, out, ...rest] = process.argv.slice(2);
const option = (name) => {
    const at = rest.indexOf(name);
    return at < 0 ? null : rest[at + 1];
};
const browser = await chromium.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
        '--disable-background-networking', '--no-first-run'],
});
const page = await browser.newPage({ viewport: { width: 800, height: 600 } });
await page.goto(pathToFileURL(resolve(page_)).href, { waitUntil: 'commit' });
await page.waitForFunction(() => performance.getEntriesByName('layout2vrml:first-frame').length > 0,
    null, { timeout: 300000 });
await page.evaluate(([turn, zoom]) => {
    window.layout2vrml.camera.orbit(Number(turn ?? 0), Number(turn ?? 0) / 3);
    window.layout2vrml.camera.zoom(Number(zoom ?? 1));
    window.layout2vrml.changed();
}, [option('--turn'), option('--zoom')]);
if (rest.includes('--file-sizes')) {
    await page.click('#file-sizes');
}
if (option('--select') !== null) {
    await page.fill('#search', option('--select'));
    await page.press('#search', 'Enter');
}
await page.waitForTimeout(1500);
await page.waitForFunction(() => document.body.dataset.camera === 'still', null, { timeout: 300000 });
await page.waitForTimeout(1500);
await page.screenshot({ path: out, timeout: 300000 });
await browser.close();
