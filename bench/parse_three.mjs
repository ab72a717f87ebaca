// Loads one scene file the way a three.js page would (GLTFLoader for .glb, VRMLLoader for
// .wrl) and prints how long parsing took, in seconds, and how many meshes and instances the
// scene holds. Reads three.js from the copy that scripts/install-deps.sh installs for the tests.
//
// Usage: node bench/parse_three.mjs SCENE.glb|SCENE.wrl
import { readFileSync } from 'node:fs';

const modules = new URL('../tests/gltf/node_modules/three/examples/jsm/loaders/', import.meta.url);
const path = process.argv[2];
const started = performance.now();
let scene;
if (path.toLowerCase().endsWith('.glb')) {
    const { GLTFLoader } = await import(new URL('GLTFLoader.js', modules));
    const file = readFileSync(path);
    const data = file.buffer.slice(file.byteOffset, file.byteOffset + file.byteLength);
    scene = await new Promise((resolve, reject) =>
        new GLTFLoader().parse(data, '', (gltf) => resolve(gltf.scene), reject));
} else {
    const { VRMLLoader } = await import(new URL('VRMLLoader.js', modules));
    console.warn = () => {}; // it warns about every Text node it skips
    scene = new VRMLLoader().parse(readFileSync(path, 'latin1'), '');
}
const seconds = (performance.now() - started) / 1000;
let meshes = 0;
let instances = 0;
scene.traverse((object) => {
    if (object.isMesh) {
        meshes += 1;
        instances += object.isInstancedMesh ? object.count : 1;
    }
});
console.log(`${seconds.toFixed(3)} ${meshes} ${instances}`);
