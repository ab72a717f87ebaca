// Types into the search box of a named page in headless Chromium (Debian's, software GL) and
// times each key: from the key to the suggestions list shown, the index of names built after
// the first frame as a user finds it. Prints the median and the slowest key per query.
//
//   node bench/suggest_latency.mjs PAGE.html

import { resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { launchChromium } from '../tests/browser/browser.mjs';

const browser = await launchChromium();
try {
    const page = await browser.newPage({ viewport: { width: 800, height: 600 } });
    await page.goto(pathToFileURL(resolve(process.argv[2])).href, { waitUntil: 'commit', timeout: 300000 });
    await page.waitForFunction(() => performance.getEntriesByName('layout2vrml:first-frame').length > 0,
        null, { timeout: 300000, polling: 100 });
    const results = [];
    for (const query of ['ALPHA12', 'xyz']) {
        const times = await page.evaluate((text) => {
            const box = document.getElementById('search');
            const spent = [];
            box.value = '';
            for (const key of text) {
                const start = performance.now();
                box.value += key;
                box.dispatchEvent(new Event('input'));
                document.getElementById('suggestions').getBoundingClientRect(); // layout done
                spent.push(performance.now() - start);
            }
            return spent;
        }, query);
        const sorted = [...times].sort((a, b) => a - b);
        results.push(`"${query}" median ${sorted[sorted.length >> 1].toFixed(1)} ms, slowest ${sorted.at(-1).toFixed(1)} ms`);
    }
    console.log(results.join('; '));
} finally {
    await browser.close();
}
