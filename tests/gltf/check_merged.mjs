// Checks a merged scene (-merge true, .wrl or .glb) shape by shape against the per-element
// VRML scene of the same layout, both as three.js reads them: the merged meshes are split into
// connected components (triangles sharing a vertex position), and every component must be a
// sphere or a cylinder of the per-element scene: same centre, radius, axis and length, with
// every vertex on its surface and every corner's normal that of a smooth sphere or of a
// cylinder with smooth sides and flat caps. A .glb must also pass the Khronos validator without errors or
// warnings and use no extension.
//
//   node check_merged.mjs PER_ELEMENT.wrl MERGED.wrl|MERGED.glb [--labels true|false]
//
// Prints what is wrong and exits 1; prints one summary line and exits 0 when all is right.

import { readFileSync } from 'node:fs';
import * as THREE from 'three';
import { GLTFLoader } from 'three/examples/jsm/loaders/GLTFLoader.js';
import { VRMLLoader } from 'three/examples/jsm/loaders/VRMLLoader.js';
import validator from 'gltf-validator';

const kEdgeRadius = 0.1;
// Merged VRML vertices are written with four decimals, glTF ones as 32-bit floats.
const kSurfaceTolerance = 2e-4;
const kSphereTriangles = 80;
// Smoothed normals may lean up to 8 degrees from the surface's (VRMLLoader averages over
// triangles, and a quad's corners lie in one or two of them); flat faces are 16 degrees or
// more off at their corners.
const kNormalTolerance = Math.cos((12 * Math.PI) / 180);

const failures = [];
function fail(message) {
    if (failures.length < 20) failures.push(message);
}

function loadVrml(path) {
    const warn = console.warn;
    console.warn = () => {}; // VRMLLoader warns about the Text nodes it does not build
    const scene = new VRMLLoader().parse(readFileSync(path, 'latin1'), '');
    console.warn = warn;
    scene.updateMatrixWorld(true);
    return scene;
}

// Spheres and cylinders of the per-element scene: centre, radius, and for cylinders the axis
// scaled to the height.
function referenceShapes(scene) {
    const spheres = [];
    const cylinders = [];
    scene.traverse((object) => {
        if (!object.isMesh) return;
        const { type, parameters } = object.geometry;
        const centre = new THREE.Vector3().setFromMatrixPosition(object.matrixWorld);
        const x = new THREE.Vector3();
        const y = new THREE.Vector3();
        const z = new THREE.Vector3();
        object.matrixWorld.extractBasis(x, y, z);
        if (type === 'SphereGeometry' && object.material.side !== THREE.BackSide) {
            spheres.push({ centre, radius: parameters.radius * x.length() });
        } else if (type === 'CylinderGeometry') {
            cylinders.push({ centre, axis: y.normalize().multiplyScalar(Math.abs(parameters.height)) });
        }
    });
    return { spheres, cylinders };
}

// Connected components of a mesh's triangles, joined where they share a vertex position.
function components(mesh) {
    const geometry = mesh.geometry;
    const positions = geometry.attributes.position;
    const index = geometry.index;
    const triangleCount = (index ? index.count : positions.count) / 3;
    const corner = (t, k) => (index ? index.getX(3 * t + k) : 3 * t + k);
    const point = (i) => new THREE.Vector3().fromBufferAttribute(positions, i).applyMatrix4(mesh.matrixWorld);
    const normalMatrix = new THREE.Matrix3().getNormalMatrix(mesh.matrixWorld);
    const normal = (i) => new THREE.Vector3().fromBufferAttribute(geometry.attributes.normal, i)
        .applyMatrix3(normalMatrix).normalize();
    const keyOf = (p) => `${p.x},${p.y},${p.z}`;
    const parent = new Map();
    const find = (key) => {
        while (parent.get(key) !== key) {
            parent.set(key, parent.get(parent.get(key)));
            key = parent.get(key);
        }
        return key;
    };
    const points = new Map();
    const triangleKeys = [];
    const triangles = [];
    const normals = [];
    for (let t = 0; t < triangleCount; ++t) {
        normals.push([0, 1, 2].map((k) => normal(corner(t, k))));
        const keys = [0, 1, 2].map((k) => {
            const p = point(corner(t, k));
            const key = keyOf(p);
            if (!parent.has(key)) {
                parent.set(key, key);
                points.set(key, p);
            }
            return key;
        });
        parent.set(find(keys[1]), find(keys[0]));
        parent.set(find(keys[2]), find(keys[0]));
        triangleKeys.push(keys[0]);
        triangles.push(keys);
    }
    const groups = new Map();
    for (const key of points.keys()) {
        const root = find(key);
        if (!groups.has(root)) groups.set(root, { points: [], triangles: 0, corners: [], normals: [] });
        groups.get(root).points.push(points.get(key));
    }
    triangleKeys.forEach((key, t) => {
        const group = groups.get(find(key));
        group.triangles += 1;
        group.corners.push(triangles[t].map((k) => points.get(k)));
        group.normals.push(normals[t]);
    });
    return [...groups.values()].map((group) => ({
        ...group,
        centre: group.points.reduce((sum, p) => sum.add(p), new THREE.Vector3()).divideScalar(group.points.length),
    }));
}

// Takes the unused reference shapes nearest to `centre`, `count` of them, within tolerance.
function claim(references, used, centre, count) {
    const found = [];
    const order = references
        .map((shape, i) => ({ i, distance: shape.centre.distanceTo(centre) }))
        .filter(({ i, distance }) => !used[i] && distance <= kSurfaceTolerance)
        .sort((a, b) => a.distance - b.distance);
    for (const { i } of order.slice(0, count)) {
        used[i] = true;
        found.push(references[i]);
    }
    return found.length === count ? found : null;
}

// How far `point` lies off the surface of a reference shape.
function sphereMiss(sphere, point) {
    return Math.abs(point.distanceTo(sphere.centre) - sphere.radius);
}

function cylinderMiss(cylinder, point) {
    const height = cylinder.axis.length();
    const offset = point.clone().sub(cylinder.centre);
    if (height === 0) return Math.abs(offset.length() - kEdgeRadius);
    const direction = cylinder.axis.clone().normalize();
    const along = offset.dot(direction);
    const across = offset.sub(direction.multiplyScalar(along)).length();
    return Math.max(Math.abs(Math.abs(along) - height / 2), Math.abs(across - kEdgeRadius));
}

// The normal a smooth sphere has at corner k of a triangle.
function sphereNormal(sphere, corners, k) {
    return corners[k].clone().sub(sphere.centre).normalize();
}

// The normal of a cylinder with smooth sides and flat caps at corner k of a triangle: along
// the axis on a cap (all three corners at one end), away from the axis on the side. None for
// cylinders too short to tell their caps from their side.
function cylinderNormal(cylinder, corners, k) {
    const height = cylinder.axis.length();
    if (height < 0.01) return null;
    const direction = cylinder.axis.clone().normalize();
    const along = corners.map((p) => p.clone().sub(cylinder.centre).dot(direction));
    const atEnd = (sign) => along.every((a) => Math.abs(a - (sign * height) / 2) <= kSurfaceTolerance);
    if (atEnd(1)) return direction;
    if (atEnd(-1)) return direction.negate();
    return corners[k].clone().sub(cylinder.centre).sub(direction.multiplyScalar(along[k])).normalize();
}

// Fails once for a component whose corner normals stray from its shape's.
function checkShading(kind, shape, group, normalOf) {
    for (let t = 0; t < group.corners.length; ++t) {
        for (let k = 0; k < 3; ++k) {
            const wanted = normalOf(shape, group.corners[t], k);
            if (wanted && group.normals[t][k].dot(wanted) < kNormalTolerance) {
                const degrees = (Math.acos(Math.min(1, group.normals[t][k].dot(wanted))) * 180) / Math.PI;
                fail(`the ${kind} at ${shape.centre.toArray()} is not shaded as one: a normal is ${degrees.toFixed(1)} degrees off`);
                return;
            }
        }
    }
}

// Matches every component to the reference shapes it is made of: usually one shape (or
// several identical ones, for coincident nodes or edges listed twice), whose centre is the
// component's; shapes that touch (collinear edges meeting at a node share a cap ring) form one
// component, made of the unclaimed shapes inside its bounds that its vertices lie on. Every
// vertex must lie on its shapes' surfaces and the triangles must add up.
function checkShapes(kind, groups, references, trianglesPerShape, miss, normalOf) {
    const used = references.map(() => false);
    let count = 0;
    const unmatched = [];
    for (const group of groups) {
        const copies = group.triangles / trianglesPerShape;
        const matched = Number.isInteger(copies) && claim(references, used, group.centre, copies);
        if (!matched) {
            unmatched.push(group);
            continue;
        }
        count += copies;
        if (group.points.some((p) => miss(matched[0], p) > kSurfaceTolerance)) {
            fail(`a vertex of the ${kind} at ${matched[0].centre.toArray()} lies off its surface`);
        }
        checkShading(kind, matched[0], group, normalOf);
    }
    // A triangle joins corners of one shape: one spanning two shapes has a wrong index.
    const wholeTriangles = (group, shapes) => group.corners.every((corners) =>
        shapes.some((shape) => corners.every((p) => miss(shape, p) <= kSurfaceTolerance)));
    for (const group of groups) {
        const near = references.filter((shape) => group.points.some((p) => miss(shape, p) <= kSurfaceTolerance)
            && shape.centre.distanceTo(group.centre) <= 2 * group.points.reduce((r, p) => Math.max(r, p.distanceTo(group.centre)), 0) + kSurfaceTolerance);
        if (!wholeTriangles(group, near)) {
            fail(`a ${kind} component at ${group.centre.toArray()} has a triangle joining corners of different shapes`);
        }
    }
    for (const group of unmatched) {
        const bounds = new THREE.Box3().setFromPoints(group.points).expandByScalar(kSurfaceTolerance);
        const candidates = references
            .map((shape, i) => i)
            .filter((i) => !used[i] && bounds.containsPoint(references[i].centre));
        const hit = new Set();
        for (const p of group.points) {
            const on = candidates.find((i) => miss(references[i], p) <= kSurfaceTolerance);
            if (on === undefined) {
                fail(`a ${kind} component at ${group.centre.toArray()} has a vertex on no ${kind} of the layout`);
                break;
            }
            hit.add(on);
        }
        if (hit.size * trianglesPerShape !== group.triangles) {
            fail(`a ${kind} component at ${group.centre.toArray()} (${group.triangles} triangles) is not ${hit.size} whole ${kind}s`);
        }
        hit.forEach((i) => { used[i] = true; });
        count += hit.size;
    }
    if (count !== references.length) fail(`${count} ${kind}s for ${references.length} in the per-element scene`);
}

function checkSpheres(groups, references, trianglesPerSphere) {
    checkShapes('sphere', groups, references, trianglesPerSphere, sphereMiss, sphereNormal);
}

function checkCylinders(groups, references, trianglesPerCylinder) {
    checkShapes('cylinder', groups, references, trianglesPerCylinder, cylinderMiss, cylinderNormal);
}

async function mergedMeshes(path) {
    if (!path.toLowerCase().endsWith('.glb')) {
        const meshes = [];
        loadVrml(path).traverse((object) => {
            if (object.isMesh && object.geometry.type === 'BufferGeometry') meshes.push(object);
        });
        return { spheres: meshes[0], cylinders: meshes[1], labelled: [] };
    }
    const file = readFileSync(path);
    const bytes = new Uint8Array(file.buffer, file.byteOffset, file.byteLength);
    const report = await validator.validateBytes(bytes, { maxIssues: 50 });
    for (const message of report.issues.messages) {
        if (message.severity <= 1) fail(`validator: ${message.code} at ${message.pointer}: ${message.message}`);
    }
    const json = JSON.parse(new TextDecoder().decode(bytes.subarray(20, 20 + new DataView(bytes.buffer, bytes.byteOffset).getUint32(12, true))));
    if (json.extensionsUsed || json.extensionsRequired) fail('a merged .glb lists extensions');
    const gltf = await new Promise((resolve, reject) =>
        new GLTFLoader().parse(bytes.slice().buffer, '', resolve, reject));
    gltf.scene.updateMatrixWorld(true);
    const nodes = gltf.scene.getObjectByName('nodes');
    const labelled = nodes && !nodes.isMesh ? nodes.children.filter((child) => child.isMesh) : [];
    return { spheres: nodes?.isMesh ? nodes : null, cylinders: gltf.scene.getObjectByName('edges'), labelled };
}

async function main() {
    const [referencePath, mergedPath, ...rest] = process.argv.slice(2);
    const labels = rest[0] === '--labels' && rest[1] === 'true';
    const reference = referenceShapes(loadVrml(referencePath));
    const merged = await mergedMeshes(mergedPath);
    if (merged.labelled.length > 0) {
        // Labelled .glb scenes keep one named glTF node per graph node, each a sphere alone.
        const groups = merged.labelled.map((mesh) => components(mesh)).flat();
        checkSpheres(groups, reference.spheres, kSphereTriangles);
        merged.labelled.forEach((mesh, i) => { if (mesh.name !== String(i)) fail(`sphere ${i} is named ${mesh.name}`); });
    } else if (merged.spheres) {
        checkSpheres(components(merged.spheres), reference.spheres, kSphereTriangles);
    } else {
        fail('no sphere mesh');
    }
    if (labels && mergedPath.toLowerCase().endsWith('.glb') && merged.labelled.length === 0) fail('labels asked for but no named nodes');
    const cylinderTriangles = 28; // an 8-sided prism: 16 side triangles, 6 in each cap
    if (reference.cylinders.length > 0) {
        if (!merged.cylinders) fail('no cylinder mesh');
        else checkCylinders(components(merged.cylinders), reference.cylinders, cylinderTriangles);
    } else if (merged.cylinders) {
        fail('a cylinder mesh without edges');
    }
    if (failures.length > 0) {
        console.log(failures.join('\n'));
        process.exit(1);
    }
    console.log(`ok: ${reference.spheres.length} spheres, ${reference.cylinders.length} cylinders`);
}

main().catch((error) => {
    console.log(`check failed: ${error.stack ?? error}`);
    process.exit(1);
});
