// Checks a converted .glb with readers that share no code with the converter: the Khronos
// validator (0 errors, 0 warnings), the instancing extension's own rules (which the validator
// does not know), and the geometry as three.js's GLTFLoader builds it, against the layout's
// neighbour lists and, when given, against the VRML scene of the same layout as three.js's
// VRMLLoader builds it.
//
//   node check_glb.mjs LAYOUT GLB [--wrl WRL] [--labels true|false] [--edges true|false]
//                      [--names LIST] [--size auto|FACTOR]
//
// LIST: the names the converter was given, one a line; labelled spheres must carry them
// exactly (their index where a name is empty). --size: what both scenes were converted with
// -size; for auto the factor is worked out here from the layout.
// Prints what is wrong and exits 1; prints one summary line and exits 0 when all is right.

import { readFileSync } from 'node:fs';
import * as THREE from 'three';
import { GLTFLoader } from 'three/examples/jsm/loaders/GLTFLoader.js';
import { VRMLLoader } from 'three/examples/jsm/loaders/VRMLLoader.js';
import validator from 'gltf-validator';
import { readLayout } from '../support/layout_file.mjs';

// The fitted sizes; main() scales them by the --size factor.
let kNodeRadius = 0.2;
let kEdgeRadius = 0.1;
let kShortening = 2 * kNodeRadius;
// Positions are float32 in a scene about 20 units wide; VRML prints six decimals.
const kPlaceTolerance = 1e-4;
const kDirectionTolerance = 1e-4;

const failures = [];
function fail(message) {
    if (failures.length < 20) {
        failures.push(message);
    }
}
function near(a, b, tolerance) {
    return Math.abs(a - b) <= tolerance * Math.max(1, Math.abs(a), Math.abs(b));
}

function parseArguments(argv) {
    const options = { layout: argv[0], glb: argv[1], wrl: null, labels: false, edges: true, names: [], size: '1' };
    for (let i = 2; i + 1 < argv.length; i += 2) {
        const value = argv[i + 1];
        if (argv[i] === '--wrl') options.wrl = value;
        else if (argv[i] === '--labels') options.labels = value === 'true';
        else if (argv[i] === '--edges') options.edges = value === 'true';
        else if (argv[i] === '--names') options.names = readFileSync(value, 'utf8').split('\n');
        else if (argv[i] === '--size') options.size = value;
        else throw new Error(`unknown option ${argv[i]}`);
    }
    return options;
}

function upperMedian(values) {
    const sorted = [...values].sort((a, b) => a - b);
    return sorted.length === 0 ? 0 : sorted[sorted.length >> 1];
}

// -size auto from the layout alone: fitted so that z spans 20 units (a flat layout by its
// wider in-plane range), the median edge length and the median sphere's width (the sphere of
// the median run length); the spheres are scaled to a third of that length when wider. All
// edges and nodes count, as in the converter's samples of layouts up to 100,001 of each.
function automaticSizeFactor(layout) {
    if (layout.edges.length > 100001 || layout.nodeCount > 100001) {
        throw new Error('the automatic size is worked out here for small layouts only');
    }
    const span = (axis) => {
        const values = layout.positions.map((p) => p[axis]);
        return Math.max(...values) - Math.min(...values);
    };
    const divisor = span(2) !== 0 ? span(2) : Math.max(span(0), span(1));
    const lengths = layout.edges.map(([i, j]) => {
        const [a, b] = [layout.positions[i], layout.positions[j]];
        return (Math.hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]) * 20) / divisor;
    });
    const edgeLength = divisor === 0 ? 0 : upperMedian(lengths);
    const sphereWidth = 2 * 0.2 * Math.sqrt(upperMedian(layout.counts));
    if (lengths.length === 0 || !(edgeLength > 0) || sphereWidth <= edgeLength / 3) return 1;
    return edgeLength / 3 / sphereWidth;
}

function glbJson(bytes) {
    const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
    const jsonLength = view.getUint32(12, true);
    return JSON.parse(new TextDecoder().decode(bytes.subarray(20, 20 + jsonLength)));
}

async function validate(bytes) {
    const report = await validator.validateBytes(bytes, { maxIssues: 50 });
    for (const message of report.issues.messages) {
        if (message.severity <= 1) {
            fail(`validator: ${message.code} at ${message.pointer}: ${message.message}`);
        }
    }
    return report.issues;
}

// The rules of EXT_mesh_gpu_instancing, which the validator leaves unchecked.
function checkInstancingRules(json) {
    const name = 'EXT_mesh_gpu_instancing';
    const instanced = (json.nodes ?? []).filter((node) => node.extensions?.[name]);
    const listed = (json.extensionsUsed ?? []).includes(name);
    const required = (json.extensionsRequired ?? []).includes(name);
    if (instanced.length > 0 && !(listed && required)) {
        fail(`${name} is used but not listed in extensionsUsed and extensionsRequired`);
    }
    if (instanced.length === 0 && (listed || required)) {
        fail(`${name} is listed but no node uses it`);
    }
    const types = { TRANSLATION: 'VEC3', ROTATION: 'VEC4', SCALE: 'VEC3' };
    for (const node of instanced) {
        if (node.mesh === undefined) fail(`instanced node ${node.name} has no mesh`);
        const counts = new Set();
        for (const [semantic, index] of Object.entries(node.extensions[name].attributes)) {
            const accessor = json.accessors[index];
            if (types[semantic] !== accessor.type || accessor.componentType !== 5126) {
                fail(`${node.name}: ${semantic} is ${accessor.type}/${accessor.componentType}`);
            }
            counts.add(accessor.count);
        }
        if (counts.size !== 1) fail(`${node.name}: instance attributes differ in count`);
    }
}

function parse(loader, data) {
    return new Promise((resolve, reject) => loader.parse(data, '', resolve, reject));
}

// Largest distance from the y axis and the y extent of a geometry, in its own units.
function extentOf(geometry) {
    const positions = geometry.attributes.position;
    let radial = 0;
    let low = Infinity;
    let high = -Infinity;
    for (let i = 0; i < positions.count; ++i) {
        radial = Math.max(radial, Math.hypot(positions.getX(i), positions.getZ(i)));
        low = Math.min(low, positions.getY(i));
        high = Math.max(high, positions.getY(i));
    }
    return { radial, height: high - low, radius: Math.max(radial, high, -low) };
}

// A shape as a viewer places it: centre, the three axes of its frame scaled to the shape's
// radius (x, z) and height (y).
function shapeOf(matrix, extent) {
    const x = new THREE.Vector3();
    const y = new THREE.Vector3();
    const z = new THREE.Vector3();
    matrix.extractBasis(x, y, z);
    return {
        centre: new THREE.Vector3().setFromMatrixPosition(matrix),
        radius: x.length() * extent.radial,
        sphereRadius: x.length() * extent.radius,
        axis: y.clone().multiplyScalar(extent.height),
        across: [x, z],
    };
}

// Every instance (or every mesh) of the named glTF node, in world space.
function gltfShapes(scene, name) {
    const shapes = [];
    scene.updateMatrixWorld(true);
    const root = scene.getObjectByName(name);
    if (!root) return shapes;
    const matrix = new THREE.Matrix4();
    root.traverse((object) => {
        if (object.isInstancedMesh) {
            const extent = extentOf(object.geometry);
            for (let i = 0; i < object.count; ++i) {
                object.getMatrixAt(i, matrix);
                shapes.push(shapeOf(matrix.clone().premultiply(object.matrixWorld), extent));
            }
        } else if (object.isMesh) {
            // The loader makes names fit for animation paths; the file's own is in userData.
            const name = object.userData.name ?? object.name;
            shapes.push({ name, ...shapeOf(object.matrixWorld, extentOf(object.geometry)) });
        }
    });
    return shapes;
}

function checkSpheres(spheres, layout, labels, names) {
    if (spheres.length !== layout.nodeCount) {
        fail(`${spheres.length} spheres for ${layout.nodeCount} nodes`);
        return;
    }
    spheres.forEach((sphere, i) => {
        const expected = kNodeRadius * Math.sqrt(layout.counts[i]);
        if (!near(sphere.sphereRadius, expected, 1e-5)) {
            fail(`sphere ${i}: radius ${sphere.sphereRadius}, expected ${expected}`);
        }
        const wanted = names[i] || String(i);
        if (labels && sphere.name !== wanted) {
            fail(`sphere ${i} is named ${JSON.stringify(sphere.name)}, not ${JSON.stringify(wanted)}`);
        }
    });
}

function isParallel(a, b) {
    if (a.length() === 0 || b.length() === 0) return true;
    return new THREE.Vector3().crossVectors(a, b).length() <= kDirectionTolerance * a.length() * b.length();
}

function checkCylinders(cylinders, spheres, layout, edgesShown) {
    const expected = edgesShown ? layout.edges : [];
    if (cylinders.length !== expected.length) {
        fail(`${cylinders.length} cylinders for ${expected.length} edges`);
        return;
    }
    expected.forEach(([i, j], k) => {
        const cylinder = cylinders[k];
        const from = spheres[i].centre;
        const to = spheres[j].centre;
        const segment = to.clone().sub(from);
        const middle = from.clone().add(to).multiplyScalar(0.5);
        if (cylinder.centre.distanceTo(middle) > kPlaceTolerance) {
            fail(`cylinder ${k} (${i}-${j}): centre ${cylinder.centre.toArray()}, expected ${middle.toArray()}`);
        }
        if (segment.length() > 1e-3 && !isParallel(cylinder.axis, segment)) {
            fail(`cylinder ${k} (${i}-${j}): axis ${cylinder.axis.toArray()} not along ${segment.toArray()}`);
        }
        const height = Math.abs(segment.length() - kShortening);
        if (!near(cylinder.axis.length(), height, kPlaceTolerance)) {
            fail(`cylinder ${k} (${i}-${j}): height ${cylinder.axis.length()}, expected ${height}`);
        }
        for (const side of cylinder.across) {
            if (!near(side.length() * (cylinder.radius / cylinder.across[0].length()), kEdgeRadius, 1e-5)
                || Math.abs(side.dot(cylinder.axis)) > kDirectionTolerance * side.length() * cylinder.axis.length()) {
                fail(`cylinder ${k} (${i}-${j}): cross-section is not a circle of radius ${kEdgeRadius}`);
            }
        }
    });
}

// Spheres and cylinders of the VRML scene, in the file's order.
function vrmlShapes(text) {
    const scene = new VRMLLoader().parse(text, '');
    scene.updateMatrixWorld(true);
    const spheres = [];
    const cylinders = [];
    scene.traverse((object) => {
        if (!object.isMesh) return;
        const type = object.geometry.type;
        if (type === 'SphereGeometry' && object.material.side !== THREE.BackSide) {
            spheres.push(shapeOf(object.matrixWorld, extentOf(object.geometry)));
        } else if (type === 'CylinderGeometry') {
            cylinders.push(shapeOf(object.matrixWorld, extentOf(object.geometry)));
        }
    });
    return { spheres, cylinders };
}

function compareWithVrml(gltf, vrml) {
    for (const kind of ['spheres', 'cylinders']) {
        if (gltf[kind].length !== vrml[kind].length) {
            fail(`${kind}: ${gltf[kind].length} in the glb, ${vrml[kind].length} in the wrl`);
            continue;
        }
        gltf[kind].forEach((shape, k) => {
            const other = vrml[kind][k];
            if (shape.centre.distanceTo(other.centre) > kPlaceTolerance) {
                fail(`${kind} ${k}: at ${shape.centre.toArray()} in the glb, ${other.centre.toArray()} in the wrl`);
            }
            if (!near(shape.radius, other.radius, 1e-4)) {
                fail(`${kind} ${k}: radius ${shape.radius} in the glb, ${other.radius} in the wrl`);
            }
            if (kind === 'cylinders' && (!isParallel(shape.axis, other.axis)
                || !near(shape.axis.length(), other.axis.length(), kPlaceTolerance))) {
                fail(`cylinder ${k}: axis ${shape.axis.toArray()} in the glb, ${other.axis.toArray()} in the wrl`);
            }
        });
    }
}

async function main() {
    const options = parseArguments(process.argv.slice(2));
    const layout = readLayout(options.layout);
    const factor = options.size === 'auto' ? automaticSizeFactor(layout) : Number(options.size);
    kNodeRadius *= factor;
    kEdgeRadius *= factor;
    kShortening *= factor;
    const file = readFileSync(options.glb);
    const bytes = new Uint8Array(file.buffer, file.byteOffset, file.byteLength);
    const issues = await validate(bytes);
    checkInstancingRules(glbJson(bytes));

    const data = bytes.slice().buffer;
    const gltf = await parse(new GLTFLoader(), data);
    const spheres = gltfShapes(gltf.scene, 'nodes');
    const cylinders = gltfShapes(gltf.scene, 'edges');
    checkSpheres(spheres, layout, options.labels, options.names);
    checkCylinders(cylinders, spheres, layout, options.edges);
    const camera = gltf.cameras[0];
    if (!camera || !near(camera.fov, 45, 1e-4)
        || camera.getWorldPosition(new THREE.Vector3()).distanceTo(new THREE.Vector3(0, 0, 20)) !== 0) {
        fail('the camera is not at (0, 0, 20) with a 45-degree field of view');
    }
    if (options.wrl) {
        const warn = console.warn;
        console.warn = () => {}; // VRMLLoader warns about Text nodes, which it does not build
        const vrml = vrmlShapes(readFileSync(options.wrl, 'latin1'));
        console.warn = warn;
        compareWithVrml({ spheres, cylinders }, vrml);
    }
    if (failures.length > 0) {
        console.log(failures.join('\n'));
        process.exit(1);
    }
    console.log(`ok: ${spheres.length} spheres, ${cylinders.length} cylinders at size ${factor}; validator: `
        + `${issues.numErrors} errors, ${issues.numWarnings} warnings, ${issues.numInfos} infos, ${issues.numHints} hints`);
}

main().catch((error) => {
    console.log(`check failed: ${error.stack ?? error}`);
    process.exit(1);
});
