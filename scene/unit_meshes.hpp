#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace l2v {

// A triangle mesh with one normal per vertex; triangles wind counter-clockwise seen from
// outside.
struct UnitMesh {
    std::vector<std::array<float, 3>> positions;
    std::vector<std::array<float, 3>> normals;
    std::vector<std::uint16_t> indices;
};

// Latitude rings and longitude slices of the unit sphere: round at the default viewpoint
// (a node sphere covers a few dozen pixels there) within 168 triangles.
inline constexpr int kSphereRings = 8;
inline constexpr int kSphereSlices = 12;
// Sides of the unit cylinder: 36 triangles with its caps.
inline constexpr int kCylinderSides = 10;

// Radius 1 around the origin, poles on y.
UnitMesh unitSphere();

// Radius 1, height 1 along y, centred on the origin, with flat caps: VRML's Cylinder shape,
// as a prism of `sides` sides (smooth along the side, flat caps).
UnitMesh unitCylinder(int sides = kCylinderSides);

// For merged scenes, where every node repeats the sphere's vertices: an icosahedron divided
// once, 42 vertices and 80 triangles, round enough at the default viewpoint.
UnitMesh unitIcosphere();
// The prism merged scenes draw edges with.
inline constexpr int kMergedCylinderSides = 8;

// A mesh with polygon faces over shared vertices, as a VRML IndexedFaceSet holds it.
struct UnitPolyhedron {
    std::vector<std::array<float, 3>> positions;
    std::vector<std::vector<std::uint16_t>> faces; // counter-clockwise seen from outside
};

// The icosphere's triangles; and the prism of `sides` sides over unitCylinder's corners, with
// one polygon per cap. The caps have corners of their own, so a viewer smoothing across every
// shared corner shades the sides round and the caps flat.
UnitPolyhedron icospherePolyhedron();
UnitPolyhedron prismPolyhedron(int sides);

} // namespace l2v
