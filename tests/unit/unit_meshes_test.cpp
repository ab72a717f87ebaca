#include "scene/unit_meshes.hpp"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <utility>

namespace {

using Vector = std::array<double, 3>;

Vector at(const l2v::UnitMesh& mesh, std::size_t index) {
    const auto& p = mesh.positions.at(index);
    return {p[0], p[1], p[2]};
}

Vector minus(const Vector& a, const Vector& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

Vector cross(const Vector& a, const Vector& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double dot(const Vector& a, const Vector& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// Closed and consistently wound: every directed edge between two positions appears once and
// its reverse once (vertices may repeat a position with another normal), every triangle faces
// away from the centre, and every vertex is used.
void expectClosedOutwardMesh(const l2v::UnitMesh& mesh) {
    ASSERT_EQ(mesh.indices.size() % 3, 0U);
    ASSERT_EQ(mesh.positions.size(), mesh.normals.size());
    std::map<std::pair<Vector, Vector>, int> edges;
    std::vector<bool> used(mesh.positions.size());
    for (std::size_t t = 0; t < mesh.indices.size(); t += 3) {
        const std::array<int, 3> corner = {mesh.indices[t], mesh.indices[t + 1],
                                           mesh.indices[t + 2]};
        for (int k = 0; k < 3; ++k) {
            ASSERT_LT(static_cast<std::size_t>(corner[k]), mesh.positions.size());
            used[static_cast<std::size_t>(corner[k])] = true;
            ++edges[{at(mesh, static_cast<std::size_t>(corner[k])),
                     at(mesh, static_cast<std::size_t>(corner[(k + 1) % 3]))}];
        }
        const Vector a = at(mesh, static_cast<std::size_t>(corner[0]));
        const Vector b = at(mesh, static_cast<std::size_t>(corner[1]));
        const Vector c = at(mesh, static_cast<std::size_t>(corner[2]));
        const Vector face = cross(minus(b, a), minus(c, a));
        const Vector centroid = {(a[0] + b[0] + c[0]) / 3, (a[1] + b[1] + c[1]) / 3,
                                 (a[2] + b[2] + c[2]) / 3};
        EXPECT_GT(dot(face, centroid), 0) << "triangle " << t / 3 << " faces inwards";
        EXPECT_GT(std::sqrt(dot(face, face)), 1e-6) << "triangle " << t / 3 << " is degenerate";
    }
    for (const auto& [edge, count] : edges) {
        EXPECT_EQ(count, 1);
        EXPECT_EQ(edges.count({edge.second, edge.first}), 1U) << "open edge";
    }
    for (std::size_t i = 0; i < used.size(); ++i) {
        EXPECT_TRUE(used[i]) << "vertex " << i << " is unused";
        const auto& n = mesh.normals[i];
        EXPECT_NEAR(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1.0, 1e-6);
    }
}

} // namespace

TEST(UnitMeshes, SphereIsAClosedUnitSphereWithinItsTriangleBudget) {
    const l2v::UnitMesh sphere = l2v::unitSphere();
    EXPECT_LE(sphere.indices.size() / 3, 200U);
    expectClosedOutwardMesh(sphere);
    for (std::size_t i = 0; i < sphere.positions.size(); ++i) {
        const Vector p = at(sphere, i);
        EXPECT_NEAR(dot(p, p), 1.0, 1e-6);
        const auto& n = sphere.normals[i];
        EXPECT_NEAR(dot(p, {n[0], n[1], n[2]}), 1.0, 1e-6); // smooth: the normal is the radius
    }
}

TEST(UnitMeshes, CylinderIsClosedUnitRadiusAndHeightAlongY) {
    const l2v::UnitMesh cylinder = l2v::unitCylinder();
    EXPECT_LE(cylinder.indices.size() / 3, 40U);
    expectClosedOutwardMesh(cylinder);
    for (std::size_t i = 0; i < cylinder.positions.size(); ++i) {
        const Vector p = at(cylinder, i);
        EXPECT_NEAR(p[0] * p[0] + p[2] * p[2], 1.0, 1e-6);
        EXPECT_NEAR(std::fabs(p[1]), 0.5, 1e-7);
    }
}

TEST(UnitMeshes, MergedScenesUseAClosedIcosphereAndPrism) {
    const l2v::UnitMesh icosphere = l2v::unitIcosphere();
    EXPECT_EQ(icosphere.positions.size(), 42U);
    EXPECT_EQ(icosphere.indices.size() / 3, 80U);
    expectClosedOutwardMesh(icosphere);
    for (std::size_t i = 0; i < icosphere.positions.size(); ++i) {
        const Vector p = at(icosphere, i);
        EXPECT_NEAR(dot(p, p), 1.0, 1e-6);
    }
    expectClosedOutwardMesh(l2v::unitCylinder(l2v::kMergedCylinderSides));
}

// The VRML form of the merged meshes: polygons, each face wound counter-clockwise seen from
// outside, every edge between two faces (corners repeated for flat caps count as one).
TEST(UnitMeshes, PolyhedraAreClosedAndWoundOutwards) {
    for (const l2v::UnitPolyhedron& polyhedron :
         {l2v::icospherePolyhedron(), l2v::prismPolyhedron(l2v::kMergedCylinderSides)}) {
        using Corner = std::array<float, 3>;
        std::map<std::pair<Corner, Corner>, int> edges;
        for (const auto& face : polyhedron.faces) {
            ASSERT_GE(face.size(), 3U);
            Vector centroid{0, 0, 0};
            for (std::size_t k = 0; k < face.size(); ++k) {
                ++edges[{polyhedron.positions.at(face[k]),
                         polyhedron.positions.at(face[(k + 1) % face.size()])}];
                const auto& p = polyhedron.positions.at(face[k]);
                for (std::size_t axis = 0; axis < 3; ++axis) {
                    centroid[axis] += p[axis] / static_cast<double>(face.size());
                }
            }
            const auto& a = polyhedron.positions[face[0]];
            const auto& b = polyhedron.positions[face[1]];
            const auto& c = polyhedron.positions[face[2]];
            const Vector normal = cross(minus({b[0], b[1], b[2]}, {a[0], a[1], a[2]}),
                                        minus({c[0], c[1], c[2]}, {a[0], a[1], a[2]}));
            EXPECT_GT(dot(normal, centroid), 0);
        }
        for (const auto& [edge, count] : edges) {
            EXPECT_EQ(count, 1);
            EXPECT_EQ(edges.count({edge.second, edge.first}), 1U);
        }
    }
}
