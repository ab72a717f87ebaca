#include "scene/unit_meshes.hpp"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <utility>

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

UnitMesh unitCylinder(int sides) {
    UnitMesh mesh;
    // The side: a top and a bottom vertex per side, with the radial normal.
    for (int side = 0; side < sides; ++side) {
        const Vector normal = aroundY(side, sides, 1.0, 0.0);
        addVertex(mesh, aroundY(side, sides, 1.0, 0.5), normal);
        addVertex(mesh, aroundY(side, sides, 1.0, -0.5), normal);
    }
    for (int side = 0; side < sides; ++side) {
        const int top = 2 * side;
        const int nextTop = 2 * ((side + 1) % sides);
        addTriangle(mesh, top, top + 1, nextTop + 1);
        addTriangle(mesh, top, nextTop + 1, nextTop);
    }
    // The caps, with flat normals, as fans.
    for (const double y : {0.5, -0.5}) {
        const int first = static_cast<int>(mesh.positions.size());
        const Vector normal{0, y > 0 ? 1.0F : -1.0F, 0};
        for (int side = 0; side < sides; ++side) {
            addVertex(mesh, aroundY(side, sides, 1.0, y), normal);
        }
        for (int side = 1; side + 1 < sides; ++side) {
            if (y > 0) {
                addTriangle(mesh, first, first + side, first + side + 1);
            } else {
                addTriangle(mesh, first, first + side + 1, first + side);
            }
        }
    }
    return mesh;
}

UnitMesh unitIcosphere() {
    // The icosahedron's corners: cyclic permutations of (0, +-1, +-golden ratio).
    const double golden = (1.0 + std::sqrt(5.0)) / 2.0;
    std::vector<std::array<double, 3>> corners;
    for (const double a : {-1.0, 1.0}) {
        for (const double b : {-golden, golden}) {
            corners.push_back({0, a, b});
            corners.push_back({a, b, 0});
            corners.push_back({b, 0, a});
        }
    }
    // Its faces: the triples of corners at the edge length 2 from each other.
    const auto near = [&corners](std::size_t i, std::size_t j) {
        double squared = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            squared += (corners[i][k] - corners[j][k]) * (corners[i][k] - corners[j][k]);
        }
        return std::fabs(squared - 4.0) < 1e-9;
    };
    std::vector<std::array<std::size_t, 3>> faces;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        for (std::size_t j = i + 1; j < corners.size(); ++j) {
            for (std::size_t k = j + 1; k < corners.size(); ++k) {
                if (near(i, j) && near(j, k) && near(i, k)) {
                    faces.push_back({i, j, k});
                }
            }
        }
    }
    // Each face divided into four at its edges' midpoints, every point pushed onto the sphere.
    std::vector<std::array<double, 3>> points = corners;
    std::map<std::pair<std::size_t, std::size_t>, std::size_t> midpoints;
    const auto midpoint = [&](std::size_t a, std::size_t b) {
        const auto key = std::minmax(a, b);
        const auto found = midpoints.find(key);
        if (found != midpoints.end()) {
            return found->second;
        }
        points.push_back({(points[a][0] + points[b][0]) / 2, (points[a][1] + points[b][1]) / 2,
                          (points[a][2] + points[b][2]) / 2});
        midpoints[key] = points.size() - 1;
        return points.size() - 1;
    };
    std::vector<std::array<std::size_t, 3>> triangles;
    for (const auto& [a, b, c] : faces) {
        const std::size_t ab = midpoint(a, b);
        const std::size_t bc = midpoint(b, c);
        const std::size_t ca = midpoint(c, a);
        for (const auto& triangle : {std::array{a, ab, ca}, std::array{ab, b, bc},
                                     std::array{ca, bc, c}, std::array{ab, bc, ca}}) {
            triangles.push_back(triangle);
        }
    }
    UnitMesh mesh;
    for (const auto& point : points) {
        const double length =
            std::sqrt(point[0] * point[0] + point[1] * point[1] + point[2] * point[2]);
        const Vector unit{static_cast<float>(point[0] / length),
                          static_cast<float>(point[1] / length),
                          static_cast<float>(point[2] / length)};
        addVertex(mesh, unit, unit);
    }
    for (auto [a, b, c] : triangles) {
        // Wound counter-clockwise seen from outside: the face normal points away from the centre.
        const auto& p = points;
        const double face[3] = {
            (p[b][1] - p[a][1]) * (p[c][2] - p[a][2]) - (p[b][2] - p[a][2]) * (p[c][1] - p[a][1]),
            (p[b][2] - p[a][2]) * (p[c][0] - p[a][0]) - (p[b][0] - p[a][0]) * (p[c][2] - p[a][2]),
            (p[b][0] - p[a][0]) * (p[c][1] - p[a][1]) - (p[b][1] - p[a][1]) * (p[c][0] - p[a][0])};
        if (face[0] * p[a][0] + face[1] * p[a][1] + face[2] * p[a][2] < 0) {
            std::swap(b, c);
        }
        addTriangle(mesh, static_cast<int>(a), static_cast<int>(b), static_cast<int>(c));
    }
    return mesh;
}

UnitPolyhedron icospherePolyhedron() {
    const UnitMesh mesh = unitIcosphere();
    UnitPolyhedron polyhedron;
    polyhedron.positions = mesh.positions;
    for (std::size_t i = 0; i < mesh.indices.size(); i += 3) {
        polyhedron.faces.push_back({mesh.indices[i], mesh.indices[i + 1], mesh.indices[i + 2]});
    }
    return polyhedron;
}

UnitPolyhedron prismPolyhedron(int sides) {
    // unitCylinder's corners: a top and a bottom one per side, then the top and bottom caps'.
    UnitPolyhedron polyhedron;
    polyhedron.positions = unitCylinder(sides).positions;
    const auto top = [sides](int side) { return static_cast<std::uint16_t>(2 * (side % sides)); };
    for (int side = 0; side < sides; ++side) {
        const std::uint16_t here = top(side);
        const std::uint16_t next = top(side + 1);
        polyhedron.faces.push_back({here, static_cast<std::uint16_t>(here + 1),
                                    static_cast<std::uint16_t>(next + 1), next});
    }
    std::vector<std::uint16_t> topCap;
    std::vector<std::uint16_t> bottomCap;
    for (int side = 0; side < sides; ++side) {
        topCap.push_back(static_cast<std::uint16_t>(2 * sides + side));
        bottomCap.push_back(static_cast<std::uint16_t>(4 * sides - 1 - side));
    }
    polyhedron.faces.push_back(topCap);
    polyhedron.faces.push_back(bottomCap);
    return polyhedron;
}

} // namespace l2v
