#include "scene/cylinder_placement.hpp"
#include "scene/edge_geometry.hpp"
#include "scene/geometry.hpp"
#include "tests/support/splitmix64.hpp"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using l2v::Point;
using l2v::Quaternion;

namespace {

struct Vector {
    double x, y, z;
};

Quaternion aboutAxis(Vector axis, double angle) {
    const double norm = std::sqrt(axis.x * axis.x + axis.y * axis.y + axis.z * axis.z);
    const double sine = std::sin(angle / 2) / norm;
    return {axis.x * sine, axis.y * sine, axis.z * sine, std::cos(angle / 2)};
}

Quaternion product(const Quaternion& a, const Quaternion& b) {
    return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
            a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w,
            a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}

// The VRML scene's nested rotations, straight from their angles with the math library.
Quaternion vrmlTurn(const Point& from, const Point& to) {
    const l2v::EdgeGeometry edge = l2v::computeEdgeGeometry(from, to);
    if (edge.axisY == 0.0 && edge.axisZ == 0.0) {
        return {0, 0, 0, 1};
    }
    return product(aboutAxis({0, edge.axisY, edge.axisZ}, edge.swing),
                   aboutAxis({1, 0, 0}, edge.tilt));
}

Vector turnUp(const Quaternion& q) {
    // The image of (0, 1, 0) under q.
    return {2 * (q.x * q.y - q.w * q.z), 1 - 2 * (q.x * q.x + q.z * q.z),
            2 * (q.y * q.z + q.w * q.x)};
}

// Same rotation: q and -q turn alike. Near the x axis the reference's arc sine is
// ill-conditioned (the closed form is the more exact one there), hence the wider tolerance.
void expectSameTurn(const Point& from, const Point& to, double tolerance = 1e-12) {
    const Quaternion got = l2v::cylinderTurn(from, to);
    const Quaternion want = vrmlTurn(from, to);
    const double sign =
        got.w * want.w + got.x * want.x + got.y * want.y + got.z * want.z < 0 ? -1 : 1;
    EXPECT_NEAR(got.x, sign * want.x, tolerance);
    EXPECT_NEAR(got.y, sign * want.y, tolerance);
    EXPECT_NEAR(got.z, sign * want.z, tolerance);
    EXPECT_NEAR(got.w, sign * want.w, tolerance);
    EXPECT_NEAR(got.x * got.x + got.y * got.y + got.z * got.z + got.w * got.w, 1.0, 1e-14);
}

} // namespace

// The glTF cylinder must stand exactly where the VRML one does, including its spin about its
// own axis, so its quaternion is checked against the VRML rotations themselves.
TEST(CylinderTurn, MatchesTheVrmlRotationsOnWorkedAndAwkwardEdges) {
    const std::vector<Point> ends = {
        {0, 3, 4},     {3, 0, 4},  {2, -2, 1},           {0, 0, -2},   {0, 5, 0},
        {0, -5, 0},    {7, 0, 0},  {-7, 0, 0},           {3, 1e-9, 0}, {-3, 0, 2e-9},
        {1, -1, 1e-7}, {0, -3, 4}, {5, 1e-300, -1e-300}, {-2, -2, -2},
    };
    for (const Point& end : ends) {
        SCOPED_TRACE(::testing::Message() << end.x << " " << end.y << " " << end.z);
        expectSameTurn({0, 0, 0}, end, 1e-8);
    }
}

TEST(CylinderTurn, MatchesTheVrmlRotationsOnRandomEdges) {
    l2v::testing::SplitMix64 random(7);
    for (int i = 0; i < 20000; ++i) {
        const Point from{random.between(-10, 10), random.between(-10, 10), random.between(-10, 10)};
        const Point to{random.between(-10, 10), random.between(-10, 10), random.between(-10, 10)};
        expectSameTurn(from, to);
    }
}

TEST(CylinderTurn, CarriesTheCylinderAxisOntoTheEdge) {
    l2v::testing::SplitMix64 random(11);
    for (int i = 0; i < 20000; ++i) {
        // Every fourth edge lies within a hair of the x axis.
        const double hair = i % 4 == 0 ? 1e-9 : 1.0;
        const Point to{random.between(-1, 1), hair * random.between(-1, 1),
                       hair * random.between(-1, 1)};
        const Vector up = turnUp(l2v::cylinderTurn({0, 0, 0}, to));
        const double length = std::sqrt(to.x * to.x + to.y * to.y + to.z * to.z);
        const double along = (up.x * to.x + up.y * to.y + up.z * to.z) / length;
        EXPECT_NEAR(std::fabs(along), 1.0, 1e-15);
        const double off = std::fabs(up.y * to.z - up.z * to.y) / length; // leaves the x axis
        EXPECT_LT(off, 1e-15 + 1e-15 * hair);
    }
}

TEST(CylinderTurn, CoincidentEndsLeaveTheCylinderUnturned) {
    const Quaternion turn = l2v::cylinderTurn({1, 2, 3}, {1, 2, 3});
    EXPECT_EQ(turn.w, 1.0);
    EXPECT_EQ(turn.x, 0.0);
    EXPECT_EQ(turn.y, 0.0);
    EXPECT_EQ(turn.z, 0.0);
}

TEST(CylinderPlacement, HeightIsTheShortenedLengthWithoutSign) {
    EXPECT_DOUBLE_EQ(l2v::cylinderHeight({0, 0, 0}, {0, 3, 4}, 0.2), 4.6);
    EXPECT_DOUBLE_EQ(l2v::cylinderHeight({0, 0, 0}, {0, 0.1, 0}, 0.2), 0.3);
    EXPECT_DOUBLE_EQ(l2v::cylinderHeight({1, 1, 1}, {1, 1, 1}, 0.2), 0.4);
    const Point middle = l2v::edgeMidpoint({0, 0, 0}, {0, 3, 4});
    EXPECT_EQ(middle.y, 1.5);
    EXPECT_EQ(middle.z, 2.0);
}
