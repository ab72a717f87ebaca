// Debian's Chromium as the browser checks start it, and a page opened the way a user opens a
// converted file, with every network request refused and reported.

import { chromium } from 'playwright-core';

// Headless, software WebGL (SwiftShader), nothing that reaches out to the network by itself.
const kFlags = [
    '--headless', '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--disable-default-apps', '--no-first-run', '--disable-quic',
];

// Chromium's own software compositor reads every WebGL frame back and says so in the console;
// that message comes from the browser, not from the page.
const kBrowserNotice = /GL Driver Message \(OpenGL, Performance, .*\): GPU stall due to ReadPixels/;

// `extraFlags` add to these (the benchmarks' pages read files beside them).
export function launchChromium(extraFlags = []) {
    return chromium.launch({
        executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
        args: kFlags.concat(extraFlags),
    });
}

// Opens `url` and waits for the page's first complete frame (or its failure text). `fail`
// receives every console error or warning, page error and request other than the page itself.
export async function openPage(browser, url, viewport, fail, timeout = 120000) {
    const context = await browser.newContext({ viewport, deviceScaleFactor: 1 });
    await context.route('**/*', (route) => {
        if (route.request().url() === url) return route.continue();
        fail(`the page asked for ${route.request().url()}`);
        return route.abort();
    });
    const page = await context.newPage();
    page.on('console', (message) => {
        if ((message.type() === 'error' || message.type() === 'warning') && !kBrowserNotice.test(message.text())) {
            fail(`console ${message.type()}: ${message.text()}`);
        }
    });
    page.on('pageerror', (error) => fail(`page error: ${error.message}`));
    page.on('request', (request) => {
        const address = request.url();
        if (address !== url && !address.startsWith('data:')) fail(`the page requested ${address}`);
    });
    await page.goto(url, { waitUntil: 'commit' });
    await page.waitForFunction(
        () => performance.getEntriesByName('layout2vrml:first-frame').length > 0 ||
            document.getElementById('failure')?.textContent,
        null, { timeout, polling: 50 });
    const failure = await page.locator('#failure').textContent();
    if (failure) fail(`the page says: ${failure}`);
    return page;
}
