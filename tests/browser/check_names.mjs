// Opens a page converted with -names TABLE -color column:COLUMN in Chromium and uses it as a
// user would: every name the page decodes equals the table's; hovering a node shows its name;
// typing part of a name lists it, Enter flies to it and selects it, and the panel shows its
// name, attributes and neighbours by name; a click on a neighbour selects that one; a name
// that is markup shows as text and runs nothing; the legend lists the column's values.
//
//   node check_names.mjs PAGE TABLE QUERY EXPECTED_NAME COLUMN
//
// TABLE: a CSV node table without a node column whose names hold no quotes or commas.
// Prints what is wrong and exits 1; prints one summary line and exits 0 when all is right.

import { readFileSync } from 'node:fs';
import { pathToFileURL } from 'node:url';
import { launchChromium, openPage } from './browser.mjs';

const failures = [];
function fail(message) {
    if (failures.length < 20) failures.push(message);
}
function expect(condition, message) {
    if (!condition) fail(message);
}

// Rows of a simple CSV (no quoted fields): header, then cells.
function readTable(path) {
    const lines = readFileSync(path, 'utf8').replace(/^\uFEFF/, '').split('\n');
    if (lines.at(-1) === '') lines.pop();
    return { header: lines[0].split(','), rows: lines.slice(1).map((line) => line.split(',')) };
}

const [pagePath, tablePath, query, expectedName, column] = process.argv.slice(2);
const table = readTable(tablePath);
const nameColumn = Math.max(0, table.header.findIndex((h) => /^(name|label)$/i.test(h)));

const browser = await launchChromium();
try {
    const page = await openPage(browser, pathToFileURL(pagePath).href, { width: 900, height: 700 }, fail);
    // The names are read right after the first frame.
    await page.waitForFunction(() => window.layout2vrml.scene.names !== null, null, { timeout: 30000 });

    // The names as the page decodes them, and its attributes, against the file.
    const decoded = await page.evaluate(() => {
        const names = window.layout2vrml.scene.names;
        const all = [];
        for (let i = 0; i < window.layout2vrml.scene.nodeCount; ++i) all.push([names.name(i), names.attributes(i)]);
        return all;
    });
    expect(decoded.length === table.rows.length, `page has ${decoded.length} names, table ${table.rows.length}`);
    decoded.forEach(([name, attributes], i) => {
        const row = table.rows[i];
        if (name !== row[nameColumn]) fail(`node ${i}: name ${JSON.stringify(name)}, table ${JSON.stringify(row[nameColumn])}`);
        const wanted = row.map((value, k) => [table.header[k], value]).filter((_, k) => k !== nameColumn);
        if (JSON.stringify(attributes) !== JSON.stringify(wanted)) {
            fail(`node ${i}: attributes ${JSON.stringify(attributes)}, table ${JSON.stringify(wanted)}`);
        }
    });
    const target = table.rows.findIndex((row) => row[nameColumn] === expectedName);

    // Search: part of the name lists it; Enter flies there and selects it.
    await page.locator('#search').click();
    await page.keyboard.type(query, { delay: 20 });
    const suggestions = await page.locator('#suggestions .suggestion').allTextContents();
    expect(suggestions.some((text) => text.startsWith(expectedName)),
        `typing ${JSON.stringify(query)} suggests ${JSON.stringify(suggestions)}`);
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => document.body.dataset.camera === 'still', null, { timeout: 30000 });
    expect(await page.evaluate(() => window.layout2vrml.selected) === target, `Enter did not select node ${target}`);
    expect((await page.locator('#details h2').textContent()) === expectedName, 'the panel does not name the node');
    const terms = await page.locator('#details dt').allTextContents();
    const wantedTerms = table.header.filter((_, k) => k !== nameColumn);
    expect(JSON.stringify(terms) === JSON.stringify(wantedTerms), `the panel lists ${JSON.stringify(terms)}`);

    // Hover: the node flown to is under the middle of the view.
    const box = await page.locator('#scene').boundingBox();
    await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
    await page.waitForFunction(() => !document.getElementById('tooltip').hidden, null, { timeout: 30000 })
        .catch(() => fail('hovering the node shows no tooltip'));
    const tip = await page.locator('#tooltip').textContent();
    expect(tip.startsWith(`${expectedName} · node ${target} · `), `hover shows ${JSON.stringify(tip)}`);

    // A neighbour in the panel: a click selects it.
    const neighbour = page.locator('#details .neighbour').first();
    const neighbourName = await neighbour.textContent();
    await neighbour.click();
    const selected = await page.evaluate(() => window.layout2vrml.selected);
    expect(selected >= 0 && selected !== target &&
        (table.rows[selected][nameColumn] || String(selected)) === neighbourName,
        `clicking neighbour ${JSON.stringify(neighbourName)} selected node ${selected}`);

    // Markup in a name stays text: no element made of it, no script run.
    expect(await page.evaluate(() => document.querySelectorAll('img, #details script').length === 0 &&
        window.namesRan === undefined), 'a name was run as markup');

    // The legend lists the column's values.
    const legend = await page.locator('#legend .legend-entry').allTextContents();
    const values = new Set(table.rows.map((row) => row[table.header.indexOf(column)]));
    expect(legend.length > 0 && legend.every((line) => values.has(line.split(' · ')[0]) ||
        line.startsWith('other') || line.startsWith('no value')),
    `legend ${JSON.stringify(legend)} is not the values of ${column}`);
} finally {
    await browser.close();
}

if (failures.length > 0) {
    console.log(failures.join('\n'));
    process.exit(1);
}
console.log(`${pagePath}: names, hover, search, panel, neighbours and legend as expected`);
