// Checks the colours of -color component scenes with readers that share no code with the
// converter: the components are found here from the layout, ranked by size (ties: the first
// node), and every sphere must read back in its component's legend colour, every cylinder in
// the colour of the component both its ends lie in; in the VRML scene (three.js's VRMLLoader),
// the merged VRML scene, the instanced or labelled glb and the merged glb (GLTFLoader), the
// glb files passing the Khronos validator with 0 errors and 0 warnings.
//
//   node check_colours.mjs LAYOUT WRL MERGED_WRL GLB MERGED_GLB [--edges true|false]
//
// Prints what is wrong and exits 1; prints one summary line and exits 0 when all is right.

import { readFileSync } from 'node:fs';
import * as THREE from 'three';
import { GLTFLoader } from 'three/examples/jsm/loaders/GLTFLoader.js';
import { VRMLLoader } from 'three/examples/jsm/loaders/VRMLLoader.js';
import validator from 'gltf-validator';

const kPaletteSize = 12;
const kOther = [0.6, 0.6, 0.6];
const kTolerance = 1e-4;

const failures = [];
function fail(message) {
    if (failures.length < 20) failures.push(message);
}

function readLayout(path) {
    const lines = readFileSync(path, 'latin1').split(/\r?\n/).filter((line) => !line.startsWith('%'));
    const nodeCount = parseInt(lines[0].trim().split(/\s+/)[0], 10);
    const edges = [];
    for (let i = 0; i < nodeCount; ++i) {
        const fields = lines[1 + i].split(/[\s,]+/)
            .map((field) => field.replace(/^[/\\]+/, '').split(/[/\\]/)[0])
            .filter((field) => field !== '');
        for (const reference of fields.slice(3).map((field) => parseInt(field, 10))) {
            if (reference - 1 > i && reference - 1 < nodeCount) edges.push([i, reference - 1]);
        }
    }
    return { nodeCount, edges };
}

// Each node's component rank: breadth-first from every unvisited node, ranked by size and then
// by the lowest node.
function componentRanks(layout) {
    const neighbours = Array.from({ length: layout.nodeCount }, () => []);
    for (const [i, j] of layout.edges) {
        neighbours[i].push(j);
        neighbours[j].push(i);
    }
    const component = new Array(layout.nodeCount).fill(-1);
    const sizes = [];
    for (let start = 0; start < layout.nodeCount; ++start) {
        if (component[start] !== -1) continue;
        const id = sizes.length;
        const queue = [start];
        component[start] = id;
        for (let k = 0; k < queue.length; ++k) {
            for (const next of neighbours[queue[k]]) {
                if (component[next] === -1) {
                    component[next] = id;
                    queue.push(next);
                }
            }
        }
        sizes.push(queue.length);
    }
    // Components are numbered in order of their lowest node, so a stable sort by size ranks ties.
    const order = sizes.map((size, id) => ({ size, id })).sort((a, b) => b.size - a.size);
    const rankOf = new Array(sizes.length);
    order.forEach((entry, rank) => { rankOf[entry.id] = rank; });
    return { ranks: component.map((id) => rankOf[id]), sizes: order.map((entry) => entry.size) };
}

function glbJson(bytes) {
    const jsonLength = new DataView(bytes.buffer, bytes.byteOffset).getUint32(12, true);
    return JSON.parse(new TextDecoder().decode(bytes.subarray(20, 20 + jsonLength)));
}

async function validate(name, bytes) {
    const report = await validator.validateBytes(bytes);
    if (report.issues.numErrors !== 0 || report.issues.numWarnings !== 0) {
        fail(`${name}: validator reports ${report.issues.numErrors} errors, ${report.issues.numWarnings} warnings: `
            + report.issues.messages.slice(0, 3).map((m) => `${m.code} ${m.pointer}`).join(', '));
    }
}

function same(a, b) {
    return a.length === 3 && a.every((value, k) => Math.abs(value - b[k]) <= kTolerance);
}

function checkColours(name, what, actual, expected) {
    if (actual.length !== expected.length) {
        fail(`${name}: ${actual.length} ${what} coloured, expected ${expected.length}`);
        return;
    }
    actual.forEach((colour, k) => {
        if (!same(colour, expected[k])) {
            fail(`${name}: ${what} ${k} in ${colour.map((v) => v.toFixed(4))}, expected ${expected[k]}`);
        }
    });
}

// VRML colours are read as sRGB and kept linear; this undoes that.
function vrmlColour(color) {
    return color.clone().convertLinearToSRGB().toArray();
}

// Per shape the colour of the copy's middle vertex of a merged mesh's colour attribute.
function copyColours(mesh, copies, convert) {
    const colour = mesh?.geometry.attributes.color;
    if (!colour || copies === 0) return [];
    const result = [];
    for (let k = 0; k < copies; ++k) {
        const vertex = Math.floor((k + 0.5) * colour.count / copies);
        const rgb = new THREE.Color(colour.getX(vertex), colour.getY(vertex), colour.getZ(vertex));
        result.push(convert ? vrmlColour(rgb) : rgb.toArray());
    }
    return result;
}

function vrmlScene(path) {
    const scene = new VRMLLoader().parse(readFileSync(path, 'latin1'), '');
    scene.updateMatrixWorld(true);
    return scene;
}

function vrmlShapeColours(path) {
    const spheres = [];
    const cylinders = [];
    vrmlScene(path).traverse((object) => {
        if (!object.isMesh) return;
        if (object.geometry.type === 'SphereGeometry' && object.material.side !== THREE.BackSide) {
            spheres.push(vrmlColour(object.material.color));
        } else if (object.geometry.type === 'CylinderGeometry') {
            cylinders.push(vrmlColour(object.material.color));
        }
    });
    return { spheres, cylinders };
}

function mergedVrmlColours(path, layout, edgesShown) {
    const meshes = [];
    vrmlScene(path).traverse((object) => {
        if (object.isMesh && object.geometry.type === 'BufferGeometry') meshes.push(object);
    });
    return {
        spheres: copyColours(meshes[0], layout.nodeCount, true),
        cylinders: edgesShown ? copyColours(meshes[1], layout.edges.length, true) : [],
    };
}

async function loadGlb(bytes) {
    const data = bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength);
    const gltf = await new Promise((resolve, reject) => new GLTFLoader().parse(data, '', resolve, reject));
    gltf.scene.updateMatrixWorld(true);
    return gltf.scene;
}

// Instance colours, or the material colours of labelled spheres.
function glbShapeColours(scene, name) {
    const colours = [];
    const root = scene.getObjectByName(name);
    root?.traverse((object) => {
        if (object.isInstancedMesh) {
            if (!object.instanceColor) return;
            for (let i = 0; i < object.count; ++i) {
                colours.push([object.instanceColor.getX(i), object.instanceColor.getY(i), object.instanceColor.getZ(i)]);
            }
        } else if (object.isMesh) {
            colours.push(object.material.color.toArray());
        }
    });
    return colours;
}

function mergedGlbMesh(scene, name) {
    let found = null;
    scene.getObjectByName(name)?.traverse((object) => {
        if (object.isMesh) found = object;
    });
    return found;
}

async function main() {
    const [layoutPath, wrl, mergedWrl, glb, mergedGlb, ...rest] = process.argv.slice(2);
    const edgesShown = !(rest[0] === '--edges' && rest[1] === 'false');
    const layout = readLayout(layoutPath);
    const { ranks, sizes } = componentRanks(layout);

    const glbBytes = new Uint8Array(readFileSync(glb));
    const mergedBytes = new Uint8Array(readFileSync(mergedGlb));
    await validate('glb', glbBytes);
    await validate('merged glb', mergedBytes);

    // The legend: one entry per component within the palette, then one for all the others.
    const legend = glbJson(glbBytes).extras?.legend ?? [];
    const shown = Math.min(sizes.length, kPaletteSize);
    if (legend.length !== shown + (sizes.length > kPaletteSize ? 1 : 0)) {
        fail(`legend has ${legend.length} entries for ${sizes.length} components`);
    }
    for (let rank = 0; rank < shown && rank < legend.length; ++rank) {
        if (legend[rank].label !== `component ${rank + 1}` || legend[rank].nodes !== sizes[rank]) {
            fail(`legend entry ${rank}: ${legend[rank].label}, ${legend[rank].nodes} nodes; expected ${sizes[rank]}`);
        }
        for (let other = 0; other < rank; ++other) {
            if (same(legend[rank].colour, legend[other].colour)) fail(`components ${other + 1} and ${rank + 1} share a colour`);
        }
    }
    const classColour = (rank) => (rank < kPaletteSize ? legend[rank]?.colour ?? [] : kOther);
    const nodeColours = ranks.map(classColour);
    const edgeColours = edgesShown ? layout.edges.map(([i]) => classColour(ranks[i])) : [];

    console.warn = () => {}; // VRMLLoader warns about Text nodes, which it does not build
    const vrml = vrmlShapeColours(wrl);
    checkColours('wrl', 'sphere', vrml.spheres, nodeColours);
    checkColours('wrl', 'cylinder', vrml.cylinders, edgeColours);
    const merged = mergedVrmlColours(mergedWrl, layout, edgesShown && layout.edges.length > 0);
    checkColours('merged wrl', 'sphere', merged.spheres, nodeColours);
    checkColours('merged wrl', 'cylinder', merged.cylinders, edgeColours);

    const scene = await loadGlb(glbBytes);
    checkColours('glb', 'sphere', glbShapeColours(scene, 'nodes'), nodeColours);
    checkColours('glb', 'cylinder', glbShapeColours(scene, 'edges'), edgeColours);
    const mergedScene = await loadGlb(mergedBytes);
    // Labelled spheres stay one glTF node each, also in a merged scene.
    const mergedSpheres = mergedGlbMesh(mergedScene, 'nodes');
    checkColours('merged glb', 'sphere', mergedSpheres?.geometry.attributes.color
        ? copyColours(mergedSpheres, layout.nodeCount, false) : glbShapeColours(mergedScene, 'nodes'), nodeColours);
    checkColours('merged glb', 'cylinder',
        edgesShown ? copyColours(mergedGlbMesh(mergedScene, 'edges'), layout.edges.length, false) : [], edgeColours);

    if (failures.length > 0) {
        console.log(`${glb}: colour checks failed\n  ${failures.join('\n  ')}`);
        process.exit(1);
    }
    console.log(`${glb}: ${layout.nodeCount} spheres, ${edgeColours.length} cylinders in their component colours, 4 scenes`);
}

await main();
