// Opens a converted .html page from file:// in Debian's Chromium (software WebGL) with every
// network request refused, and checks it as a user would: no console error or warning and no
// request; after the first frame, in the opaque mode, the pixels at the projected centres of
// spheres and along cylinders show the colour a ray cast of our own finds there (sphere
// centres and every shape's colour from the VRML scene of the same layout, edges from the
// layout); with -color, the legend lists what the VRML scene's WorldInfo lists; hovering
// a sphere names its node; picks asked for at once each find their node; a lost WebGL context
// is reported and, once restored, draws again; picks that finish after the pointer left or
// after Escape change nothing; with points of at most 3 pixels the spheres show as before;
// labels do not overlap; the search selects a node and centres it; Escape clears; after a
// flight to a node, an edge that leads behind the eye still shows in front of it.
//
//   node check_page.mjs LAYOUT PAGE WRL [--labels true|false] [--edges true|false]
//                       [--sampled true|false]
//
// WRL: the per-element VRML scene of LAYOUT, written without labels and with the same -color. --sampled true: some
// sphere must show clearly (layouts whose spheres all overlap have none). Prints what is wrong and
// exits 1; prints one summary line and exits 0 when all is right.

import { readFileSync } from 'node:fs';
import { pathToFileURL } from 'node:url';
import { PNG } from 'pngjs';
import { readLayout } from '../support/layout_file.mjs';
import { launchChromium, openPage } from './browser.mjs';

const kWidth = 800;
const kHeight = 600;
const kEye = [0, 0, 20];
const kHalfAngle = Math.PI / 8; // 45 degrees across the shorter side
const kEdgeRadius = 0.1;
const kShortening = 0.4;
// Software GL rounds colours and positions a little differently from this ray cast.
const kColourTolerance = 10;
const kMostSamples = 12;

const failures = [];
// Console messages a step brings about on purpose (a lost context's), not failures.
let expectedConsole = null;
function fail(message) {
    if (expectedConsole && message.startsWith('console') && expectedConsole.test(message)) return;
    if (failures.length < 20) failures.push(message);
}

function parseArguments(argv) {
    const options = { layout: argv[0], page: argv[1], wrl: argv[2], labels: false, edges: true, sampled: false };
    for (let i = 3; i + 1 < argv.length; i += 2) {
        if (argv[i] === '--labels') options.labels = argv[i + 1] === 'true';
        else if (argv[i] === '--edges') options.edges = argv[i + 1] === 'true';
        else if (argv[i] === '--sampled') options.sampled = argv[i + 1] === 'true';
        else throw new Error(`unknown option ${argv[i]}`);
    }
    return options;
}

// The shapes of a per-element VRML scene without labels, in the file's order: each top-level
// Transform's first translation, material colour and geometry (a Sphere's radius).
function vrmlShapes(text) {
    const shapes = [];
    for (const block of text.split(/^(?=Transform \{$)/m).slice(1)) {
        const place = block.match(/translation (\S+) (\S+) (\S+)/);
        const colour = block.match(/diffuseColor (\S+) (\S+) (\S+)/);
        const sphere = block.match(/geometry Sphere \{\s+radius (\S+)/);
        shapes.push({
            centre: [1, 2, 3].map((k) => Number(place[k])),
            colour: [1, 2, 3].map((k) => Number(colour[k])),
            radius: sphere ? Number(sphere[1]) : null,
        });
    }
    return shapes;
}

const sub = (a, b) => [a[0] - b[0], a[1] - b[1], a[2] - b[2]];
const dot = (a, b) => a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
const scale = (a, s) => [a[0] * s, a[1] * s, a[2] * s];
const add = (a, b) => [a[0] + b[0], a[1] + b[1], a[2] + b[2]];
const unit = (a) => scale(a, 1 / Math.hypot(...a));

// The file's view: the pixel (x right, y down) of a point, and the ray through a pixel centre.
const focal = Math.min(kWidth, kHeight) / 2 / Math.tan(kHalfAngle);
function project(point, eye = kEye) {
    const d = sub(point, eye);
    return { x: kWidth / 2 + (focal * d[0]) / -d[2], y: kHeight / 2 - (focal * d[1]) / -d[2] };
}
function pixelRay(x, y) {
    return unit([x + 0.5 - kWidth / 2, -(y + 0.5 - kHeight / 2), -focal]);
}

function hitSphere(eye, ray, sphere) {
    const toCentre = sub(sphere.centre, eye);
    const along = dot(ray, toCentre);
    const gap = along * along - (dot(toCentre, toCentre) - sphere.radius * sphere.radius);
    if (gap < 0) return null;
    const t = along - Math.sqrt(gap);
    if (t <= 0) return null;
    return { t, normal: unit(sub(add(eye, scale(ray, t)), sphere.centre)) };
}

function hitCylinder(eye, ray, cylinder) {
    const { bottom, axis, height, radius } = cylinder;
    const from = sub(eye, bottom);
    const rayAcross = sub(ray, scale(axis, dot(ray, axis)));
    const fromAcross = sub(from, scale(axis, dot(from, axis)));
    const a = dot(rayAcross, rayAcross);
    const b = 2 * dot(rayAcross, fromAcross);
    const c = dot(fromAcross, fromAcross) - radius * radius;
    const hits = [];
    const discriminant = b * b - 4 * a * c;
    if (a > 1e-12 && discriminant >= 0) {
        const t = (-b - Math.sqrt(discriminant)) / (2 * a);
        const y = dot(add(from, scale(ray, t)), axis);
        if (t > 0 && y >= 0 && y <= height) {
            const across = sub(add(from, scale(ray, t)), scale(axis, y));
            hits.push({ t, normal: unit(across) });
        }
    }
    for (const [level, outward] of [[0, -1], [height, 1]]) {
        const along = dot(ray, axis);
        if (Math.abs(along) < 1e-12) continue;
        const t = (level - dot(from, axis)) / along;
        const point = add(from, scale(ray, t));
        const off = sub(point, scale(axis, level));
        if (t > 0 && dot(off, off) <= radius * radius) hits.push({ t, normal: scale(axis, outward) });
    }
    hits.sort((p, q) => p.t - q.t);
    return hits[0] ?? null;
}

// The file's cylinder of an edge: centred between the nodes, 0.4 shorter than the edge (the
// absolute difference), upright when the ends coincide.
function cylinderOf(from, to) {
    const d = sub(to, from);
    const length = Math.hypot(...d);
    const axis = length > 0 ? scale(d, 1 / length) : [0, 1, 0];
    const height = Math.abs(length - kShortening);
    const middle = scale(add(from, to), 0.5);
    return { bottom: sub(middle, scale(axis, height / 2)), axis, height, radius: kEdgeRadius };
}

// The nearest shape along the ray through pixel (x, y), and how far the next one is behind it.
function firstHit(shapes, x, y, eye = kEye) {
    const ray = pixelRay(x, y);
    let best = null;
    let second = Infinity;
    for (const shape of shapes) {
        const hit = shape.kind === 'sphere' ? hitSphere(eye, ray, shape) : hitCylinder(eye, ray, shape);
        if (!hit) continue;
        if (!best || hit.t < best.t) {
            if (best) second = Math.min(second, best.t);
            best = { ...hit, shape };
        } else {
            second = Math.min(second, hit.t);
        }
    }
    return best && { ...best, gap: second - best.t };
}

// A pixel whose ray and its four neighbours' rays meet the same shape first, clearly in front
// of the next: rounding cannot make the page show something else there.
function clearlyShows(shapes, shape, x, y, eye = kEye) {
    for (const [dx, dy] of [[0, 0], [1, 0], [-1, 0], [0, 1], [0, -1]]) {
        const hit = firstHit(shapes, x + dx, y + dy, eye);
        if (!hit || hit.shape !== shape || hit.gap < 0.05) return null;
    }
    return firstHit(shapes, x, y, eye);
}

// The shape's material colour (the VRML scene's) lit by the headlight.
function expectedColour(hit) {
    return hit.shape.colour.map((c) => Math.round(255 * c * Math.max(hit.normal[2], 0)));
}

function pixelAt(png, x, y) {
    const at = 4 * (y * png.width + x);
    return [png.data[at], png.data[at + 1], png.data[at + 2]];
}

// Pixels where a ray cast from `eye` clearly finds shapes of `kind`, at the points `pointsOf`
// gives.
function sampleSites(shapes, kind, pointsOf, eye = kEye) {
    const sites = [];
    for (const shape of shapes.filter((s) => s.kind === kind)) {
        for (const point of pointsOf(shape)) {
            if (point[2] >= eye[2]) continue;
            const { x, y } = project(point, eye);
            const px = Math.floor(x);
            const py = Math.floor(y);
            if (px < 2 || py < 90 || px >= kWidth - 2 || py >= kHeight - 40) continue; // clear of panels
            const hit = clearlyShows(shapes, shape, px, py, eye);
            if (hit) sites.push({ shape, x: px, y: py, hit });
        }
        if (sites.length >= kMostSamples) break;
    }
    return sites;
}

function checkPixels(png, sites, what) {
    for (const site of sites) {
        const want = expectedColour(site.hit);
        const got = pixelAt(png, site.x, site.y);
        if (got.some((value, k) => Math.abs(value - want[k]) > kColourTolerance)) {
            fail(`${what} ${site.shape.index} at pixel ${site.x},${site.y}: shows ${got}, a ray cast finds ${want}`);
        }
    }
}

// The canvas as drawn: the legend, the labels and the tooltip, which sit over it, are out of
// the way meanwhile.
async function screenshot(page) {
    const over = page.locator('#legend, #labels, #tooltip');
    await over.evaluateAll((boxes) => boxes.forEach((box) => (box.style.visibility = 'hidden')));
    const png = PNG.sync.read(await page.locator('#scene').screenshot());
    await over.evaluateAll((boxes) => boxes.forEach((box) => (box.style.visibility = '')));
    return png;
}

async function settle(page) {
    await page.waitForTimeout(100);
    await page.waitForFunction(() => document.body.dataset.camera === 'still');
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
}

// Every node's component, numbered from 1 by size, largest first (equal sizes by their first
// node), found here from the layout's edges.
function componentNumbers(layout) {
    const parent = Array.from({ length: layout.nodeCount }, (_, i) => i);
    const root = (i) => (parent[i] === i ? i : (parent[i] = root(parent[i])));
    layout.edges.forEach(([a, b]) => (parent[root(a)] = root(b)));
    const members = new Map();
    for (let i = 0; i < layout.nodeCount; ++i) {
        const r = root(i);
        if (!members.has(r)) members.set(r, []);
        members.get(r).push(i);
    }
    const ranked = [...members.values()].sort((a, b) => b.length - a.length || a[0] - b[0]);
    const numbers = new Array(layout.nodeCount);
    ranked.forEach((nodes, rank) => nodes.forEach((i) => (numbers[i] = rank + 1)));
    return numbers;
}

// Hovering a sphere names its node, with its component (as found here) or community (any
// number) when the scene is coloured by them.
async function checkHover(page, site, layout, colourBy) {
    await page.mouse.move(site.x + 0.5, site.y + 0.5);
    const tooltip = page.locator('#tooltip');
    await tooltip.waitFor({ state: 'visible' });
    const node = site.shape.index;
    const references = layout.counts[node] - 1;
    const classFact = colourBy === 'component' ? `component ${componentNumbers(layout)[node]} · `
        : colourBy === 'community' ? 'community \\d+ · ' : '';
    const want = `node ${node} · ${classFact}${references} reference${references === 1 ? '' : 's'}`;
    const got = await tooltip.textContent();
    if (!new RegExp(`^${want}$`).test(got)) fail(`hovering sphere ${node} at ${site.x},${site.y} says "${got}", not "${want}"`);
}

// Types the node's index into the search box: the node must be selected and in the middle of
// the view, in the direction the camera looked.
async function checkSearch(page, shapes, node) {
    await page.fill('#search', String(node));
    await page.press('#search', 'Enter');
    await settle(page);
    const selection = await page.locator('#selection').textContent();
    if (!selection.startsWith(`node ${node} selected`)) fail(`the search for ${node} shows "${selection}"`);
    const centre = shapes[node].centre;
    await page.mouse.move(kWidth / 2 + 0.5, kHeight / 2 + 0.5);
    await page.waitForTimeout(300);
    const tooltip = await page.locator('#tooltip').textContent();
    // The camera looks down -z at the node: a sphere in front of it over its centre may hide it.
    const hidden = shapes.some((s) => s.kind === 'sphere' && s.index !== node && s.centre[2] >= centre[2] &&
        Math.hypot(s.centre[0] - centre[0], s.centre[1] - centre[1]) < s.radius + 0.05);
    if (!hidden && !tooltip.startsWith(`node ${node} `)) {
        fail(`after the search for ${node} the middle of the view shows "${tooltip}"`);
    }
    const missing = await page.locator('#status').textContent();
    if (missing !== '') fail(`the search for ${node} says "${missing}"`);
    await page.fill('#search', String(shapes.filter((s) => s.kind === 'sphere').length));
    await page.press('#search', 'Enter');
    if (!(await page.locator('#status').textContent()).startsWith('There is no node')) {
        fail('a search for a node past the last says nothing');
    }
    await page.keyboard.press('Escape');
    if ((await page.locator('#selection').textContent()) !== '') fail('Escape leaves the selection');
}

// Picks asked for at once read through the page's one pick buffer in turn: each must find the
// node under its own point.
async function checkConcurrentPicks(page, sites) {
    const asked = [...sites.slice(0, 4), ...sites.slice(0, 4)];
    const found = await page.evaluate(
        (points) => Promise.all(points.map(([x, y]) => window.layout2vrml.nodeAt(x, y))),
        asked.map((site) => [site.x + 0.5, site.y + 0.5]));
    asked.forEach((site, k) => {
        if (found[k] !== site.shape.index) fail(`pick ${k} of ${asked.length} at once at sphere ${site.shape.index} finds ${found[k]}`);
    });
}

// Picks that finish late (the page's test hook delays them): a hover pick whose pointer has
// left since must not show the tooltip, a click pick that Escape followed must not select.
async function checkStalePicks(page, site) {
    await page.evaluate(() => (window.layout2vrml.pickDelay = 600));
    await page.mouse.move(site.x + 0.5, site.y + 0.5);
    await page.waitForTimeout(150);
    const button = await page.locator('#reset').boundingBox();
    await page.mouse.move(button.x + button.width / 2, button.y + button.height / 2);
    await page.waitForTimeout(900);
    if (await page.locator('#tooltip').isVisible()) fail('a hover pick that finished after the pointer left shows the tooltip');
    await page.mouse.click(site.x + 0.5, site.y + 0.5);
    await page.keyboard.press('Escape');
    await page.waitForTimeout(900);
    const selection = await page.locator('#selection').textContent();
    if (selection !== '') fail(`a click pick that finished after Escape selects: "${selection}"`);
    await page.evaluate(() => (window.layout2vrml.pickDelay = 0));
    await page.mouse.move(0, kHeight - 1);
    await settle(page);
}

// Loses the WebGL context (WEBGL_lose_context): the page must say so; once the context comes
// back, the spheres must show as before.
async function checkContextLoss(page, sites) {
    expectedConsole = /WebGL|context/i;
    await page.evaluate(() => {
        window.contextLoss = window.layout2vrml.renderer.gl.getExtension('WEBGL_lose_context');
        window.contextLoss.loseContext();
    });
    const failure = page.locator('#failure');
    try {
        await failure.waitFor({ state: 'visible', timeout: 5000 });
        const text = await failure.textContent();
        if (!text.includes('lost')) fail(`a lost context shows "${text}"`);
    } catch {
        fail('a lost WebGL context shows no message');
    }
    await page.evaluate(() => window.contextLoss.restoreContext());
    try {
        await failure.waitFor({ state: 'hidden', timeout: 10000 });
    } catch {
        fail('the lost context\'s message stays after the context came back');
    }
    await settle(page);
    checkPixels(await screenshot(page), sites, 'after the context came back, sphere');
    expectedConsole = null;
}

// A device whose points are at most 3 pixels wide (the page's test hook): the spheres must show
// as before, drawn as squares.
async function checkSmallPoints(page, sphereSites, cylinderSites) {
    await page.evaluate(() => {
        window.layout2vrml.renderer.pointSizeLimit = 3;
        window.layout2vrml.changed();
    });
    await settle(page);
    const png = await screenshot(page);
    checkPixels(png, sphereSites, 'with points of at most 3 pixels, sphere');
    checkPixels(png, cylinderSites, 'with points of at most 3 pixels, cylinder');
    await page.evaluate(() => {
        window.layout2vrml.renderer.pointSizeLimit = Infinity;
        window.layout2vrml.changed();
    });
    await settle(page);
}

// Every node labelled: no drawn label overlaps one drawn before it (but those that must show),
// and every label left out overlaps one drawn before it.
async function checkLabels(page) {
    const boxes = await page.evaluate(() => {
        const viewer = window.layout2vrml;
        const shown = viewer.scene.showLabels;
        viewer.scene.showLabels = true;
        viewer.drawLabels(viewer.currentView());
        viewer.scene.showLabels = shown;
        viewer.changed();
        return { placed: viewer.labels.placed, leftOut: viewer.labels.leftOut };
    });
    const overlap = (a, b) => a.left < b.left + b.width && b.left < a.left + a.width &&
        a.top < b.top + b.height && b.top < a.top + a.height;
    const before = (box) => boxes.placed.filter((t) => t.order < box.order);
    for (const box of boxes.placed) {
        if (!box.always && before(box).some((t) => overlap(box, t))) fail(`label ${box.order} is drawn over another`);
    }
    for (const box of boxes.leftOut) {
        if (!before(box).some((t) => overlap(box, t))) fail(`label ${box.order} is left out, yet overlaps none drawn`);
    }
    if (boxes.placed.length === 0) fail('with every node labelled, no label is drawn');
    await settle(page);
    return boxes.placed.length;
}

// Flies to a node, stopping short of it (as a double-click does, only nearer) where an edge of
// the node leads behind the new eye: where a ray cast from that eye clearly finds the edge's
// cylinder, the page must show it. Tells how many pixels it checked.
async function checkEdgeBehindEye(page, shapes, layout) {
    for (const cylinder of shapes.filter((s) => s.kind === 'cylinder')) {
        const ends = [cylinder.bottom, add(cylinder.bottom, scale(cylinder.axis, cylinder.height))];
        const farthest = Math.max(ends[0][2], ends[1][2]);
        for (const node of layout.edges[cylinder.index]) {
            const sphere = shapes[node];
            const distance = Math.max(sphere.radius + 1, (farthest - sphere.centre[2]) / 2);
            if (sphere.centre[2] + distance > farthest - 0.5) continue;
            const eye = add(sphere.centre, [0, 0, distance]);
            const points = [];
            for (let k = 1; k < 40; ++k) points.push(add(ends[0], scale(sub(ends[1], ends[0]), k / 40)));
            const sites = sampleSites(shapes, 'cylinder',
                (c) => (c === cylinder ? points.filter((p) => p[2] < eye[2] - 0.5) : []), eye).slice(0, 4);
            if (sites.length === 0) continue;
            await page.mouse.move(0, kHeight - 1);
            await page.evaluate(([target, d]) => {
                window.layout2vrml.camera.flyTo(target, d);
                window.layout2vrml.changed();
            }, [sphere.centre, distance]);
            // Under load the first frame of the flight may come after settle's wait began.
            await page.waitForFunction(() => window.layout2vrml.camera.flight === null);
            await settle(page);
            checkPixels(await screenshot(page), sites, `flown to node ${node}, the edge that leads behind the eye:`);
            return sites.length;
        }
    }
    return 0;
}

// The legend the VRML scene's WorldInfo lists ("LABEL: R G B, N nodes" after "colour by ..."),
// as the page must list it: "LABEL · N".
function vrmlLegend(text) {
    const info = text.match(/info \[\n([^\]]*)\]/);
    if (!info) return [];
    return [...info[1].matchAll(/"(.+): \S+ \S+ \S+, (\d+) nodes?"/g)].map((m) => `${m[1]} · ${Number(m[2]).toLocaleString('en')}`);
}

// The page lists the legend; clicking its first entry makes that class stand out.
async function checkLegend(page, want) {
    const got = await page.locator('#legend .legend-entry').allTextContents();
    if (JSON.stringify(got) !== JSON.stringify(want)) {
        fail(`the legend lists ${JSON.stringify(got)}, the VRML scene ${JSON.stringify(want)}`);
        return;
    }
    if (want.length === 0) return;
    await page.locator('#legend .legend-entry').first().click();
    const [label, count] = want[0].split(' · ');
    const selection = await page.locator('#selection').textContent();
    if (selection !== `${label} stands out: ${count.replace(/,/g, '')} nodes · Escape clears`) {
        fail(`clicking the legend's first entry shows "${selection}"`);
    }
    await page.keyboard.press('Escape');
}

async function main() {
    const options = parseArguments(process.argv.slice(2));
    const layout = readLayout(options.layout);
    const vrmlText = readFileSync(options.wrl, 'latin1');
    const vrml = vrmlShapes(vrmlText);
    const spheres = vrml.filter((shape) => shape.radius !== null);
    if (spheres.length !== layout.nodeCount) throw new Error(`${options.wrl} has ${spheres.length} spheres`);
    const cylinderColours = vrml.filter((shape) => shape.radius === null).map((shape) => shape.colour);
    if (cylinderColours.length !== layout.edges.length) throw new Error(`${options.wrl} has ${cylinderColours.length} cylinders`);
    const shapes = spheres.map((s, index) => ({ kind: 'sphere', index, ...s }));
    if (options.edges) {
        layout.edges.forEach(([a, b], index) => shapes.push({
            kind: 'cylinder', index, colour: cylinderColours[index], ...cylinderOf(spheres[a].centre, spheres[b].centre),
        }));
    }

    const browser = await launchChromium();
    try {
        const page = await openPage(browser, pathToFileURL(options.page).href, { width: kWidth, height: kHeight }, fail);
        if ((await page.locator('#show-edges').isChecked()) !== options.edges) fail('the edges box does not show -showedge');
        // The file's sizes and the opaque mode, so a pixel shows one shape.
        if ((await page.locator('#file-sizes').textContent()) === 'file sizes' && (await page.locator('#file-sizes').isVisible())) {
            await page.click('#file-sizes');
        }
        await page.uncheck('#transparent');
        await page.mouse.move(0, kHeight - 1);
        await settle(page);
        const png = await screenshot(page);
        const sphereSites = sampleSites(shapes, 'sphere', (s) => [s.centre]);
        // A quarter, half and three quarters along: a cylinder turned about its middle misses two.
        const cylinderSites = sampleSites(shapes, 'cylinder', (c) =>
            [0.25, 0.5, 0.75].map((share) => add(c.bottom, scale(c.axis, c.height * share))));
        if (sphereSites.length === 0 && options.sampled) {
            fail('no sphere shows clearly anywhere: nothing to check');
        }
        checkPixels(png, sphereSites, 'sphere');
        checkPixels(png, cylinderSites, 'cylinder');
        if (!options.edges) {
            for (let y = 90; y < kHeight - 40; ++y) {
                for (let x = 0; x < kWidth; ++x) {
                    const [r, g, b] = pixelAt(png, x, y);
                    if (b > r + 40 && b > g + 40) {
                        fail(`-showedge false, yet pixel ${x},${y} has the edges' colour ${[r, g, b]}`);
                        y = kHeight;
                        break;
                    }
                }
            }
        }
        if (sphereSites.length > 0) {
            const colourBy = vrmlText.match(/"colour by (community|component)/)?.[1] ?? null;
            await checkHover(page, sphereSites[sphereSites.length - 1], layout, colourBy);
            await checkConcurrentPicks(page, sphereSites);
            await checkContextLoss(page, sphereSites);
            await checkStalePicks(page, sphereSites[0]);
        }
        await checkSmallPoints(page, sphereSites, cylinderSites);
        const labels = await checkLabels(page);
        await checkLegend(page, vrmlLegend(vrmlText));
        await checkSearch(page, shapes, layout.nodeCount - 1);
        const behind = options.edges ? await checkEdgeBehindEye(page, shapes, layout) : 0;
        if (failures.length === 0) {
            console.log(`${options.page}: ${sphereSites.length} spheres and ${cylinderSites.length} cylinders as a ray cast finds them; ` +
                `${labels} labels apart; ${behind} pixels of an edge that leads behind the eye`);
        }
    } finally {
        await browser.close();
    }
}

try {
    await main();
} catch (error) {
    fail(error.stack ?? String(error));
}
if (failures.length > 0) {
    console.log(failures.join('\n'));
    process.exit(1);
}
