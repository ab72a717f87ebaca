#include "scene/unit_meshes.hpp"

#include <cmath>
#include <numbers>

namespace l2v {
namespace {

using Vector = std::array<float, 3>;

// A point of the circle around y at `slice` of `slices`, at height y, scaled by `radius`:
// slice 0 faces +z and the slices run towards +x.
Vector aroundY(int slice, int slices, double radius, double y) {
    const double angle = 2 * std::numbers::pi * slice / slices;
    return {static_cast<float>(radius * std::sin(angle)), static_cast<float>(y),
            static_cast<float>(radius * std::cos(angle))};
}

void addVertex(UnitMesh& mesh, const Vector& position, const Vector& normal) {
    mesh.positions.push_back(position);
    mesh.normals.push_back(normal);
}

void addTriangle(UnitMesh& mesh, int a, int b, int c) {
    for (const int index : {a, b, c}) {
        mesh.indices.push_back(static_cast<std::uint16_t>(index));
    }
}

} // namespace

UnitMesh unitSphere() {
    UnitMesh mesh;
    addVertex(mesh, {0, 1, 0}, {0, 1, 0});
    for (int ring = 1; ring < kSphereRings; ++ring) {
        const double polar = std::numbers::pi * ring / kSphereRings;
        for (int slice = 0; slice < kSphereSlices; ++slice) {
            const Vector point = aroundY(slice, kSphereSlices, std::sin(polar), std::cos(polar));
            addVertex(mesh, point, point);
        }
    }
    addVertex(mesh, {0, -1, 0}, {0, -1, 0});
    const int bottom = static_cast<int>(mesh.positions.size()) - 1;
    // Vertex of `slice` on `ring` (1 .. rings-1); slices wrap around.
    const auto at = [](int ring, int slice) {
        return 1 + (ring - 1) * kSphereSlices + slice % kSphereSlices;
    };
    for (int slice = 0; slice < kSphereSlices; ++slice) {
        addTriangle(mesh, 0, at(1, slice), at(1, slice + 1));
        for (int ring = 1; ring + 1 < kSphereRings; ++ring) {
            addTriangle(mesh, at(ring, slice), at(ring + 1, slice), at(ring + 1, slice + 1));
            addTriangle(mesh, at(ring, slice), at(ring + 1, slice + 1), at(ring, slice + 1));
        }
        addTriangle(mesh, at(kSphereRings - 1, slice), bottom, at(kSphereRings - 1, slice + 1));
    }
    return mesh;
}

UnitMesh unitCylinder() {
    UnitMesh mesh;
    // The side: a top and a bottom vertex per side, with the radial normal.
    for (int side = 0; side < kCylinderSides; ++side) {
        const Vector normal = aroundY(side, kCylinderSides, 1.0, 0.0);
        addVertex(mesh, aroundY(side, kCylinderSides, 1.0, 0.5), normal);
        addVertex(mesh, aroundY(side, kCylinderSides, 1.0, -0.5), normal);
    }
    for (int side = 0; side < kCylinderSides; ++side) {
        const int top = 2 * side;
        const int nextTop = 2 * ((side + 1) % kCylinderSides);
        addTriangle(mesh, top, top + 1, nextTop + 1);
        addTriangle(mesh, top, nextTop + 1, nextTop);
    }
    // The caps, with flat normals, as fans.
    for (const double y : {0.5, -0.5}) {
        const int first = static_cast<int>(mesh.positions.size());
        const Vector normal{0, y > 0 ? 1.0F : -1.0F, 0};
        for (int side = 0; side < kCylinderSides; ++side) {
            addVertex(mesh, aroundY(side, kCylinderSides, 1.0, y), normal);
        }
        for (int side = 1; side + 1 < kCylinderSides; ++side) {
            if (y > 0) {
                addTriangle(mesh, first, first + side, first + side + 1);
            } else {
                addTriangle(mesh, first, first + side + 1, first + side);
            }
        }
    }
    return mesh;
}

} // namespace l2v
