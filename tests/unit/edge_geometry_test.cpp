#include "scene/edge_geometry.hpp"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using l2v::computeEdgeGeometry;
using l2v::EdgeGeometry;

namespace {
constexpr double kTolerance = 5e-7;
constexpr double kQuarterTurn = std::numbers::pi / 2;
} // namespace

TEST(EdgeGeometry, EdgeInTheYZPlane) {
    const EdgeGeometry edge = computeEdgeGeometry({0, 0, 0}, {0, 3, 4});
    EXPECT_EQ(edge.midY, 1.5);
    EXPECT_EQ(edge.midZ, 2.0);
    EXPECT_EQ(edge.length, 5.0);
    EXPECT_EQ(edge.axisY, 4.0);
    EXPECT_EQ(edge.axisZ, -3.0);
    EXPECT_EQ(edge.swing, 0.0);
    EXPECT_NEAR(edge.tilt, 0.927295, kTolerance);
}

TEST(EdgeGeometry, NoYDifferenceTiltsAQuarterTurn) {
    const EdgeGeometry up = computeEdgeGeometry({0, 0, 0}, {3, 0, 4});
    EXPECT_EQ(up.tilt, kQuarterTurn);
    EXPECT_NEAR(up.swing, 0.643501, kTolerance);
    EXPECT_EQ(up.axisZ, 0.0);
    const EdgeGeometry down = computeEdgeGeometry({0, 0, 0}, {0, 0, -2});
    EXPECT_EQ(down.tilt, -kQuarterTurn);
}

TEST(EdgeGeometry, GeneralDirection) {
    const EdgeGeometry edge = computeEdgeGeometry({0, 0, 0}, {2, -2, 1});
    EXPECT_EQ(edge.length, 3.0);
    EXPECT_EQ(edge.axisY, 1.0);
    EXPECT_EQ(edge.axisZ, 2.0);
    EXPECT_NEAR(edge.swing, 0.729728, kTolerance);
    EXPECT_NEAR(edge.tilt, -0.463648, kTolerance);
}

TEST(EdgeGeometry, AlongYKeepsTheCylinderUpright) {
    const EdgeGeometry edge = computeEdgeGeometry({1, 1, 1}, {1, -4, 1});
    EXPECT_EQ(edge.tilt, 0.0);
    EXPECT_EQ(edge.swing, 0.0);
}

TEST(EdgeGeometry, AlongXTurnsAQuarterAboutZ) {
    const EdgeGeometry edge = computeEdgeGeometry({5, 0, 0}, {-1, 0, 0});
    EXPECT_EQ(edge.axisY, 0.0);
    EXPECT_EQ(edge.axisZ, 1.0);
    EXPECT_EQ(edge.tilt, 0.0);
    EXPECT_EQ(edge.swing, -kQuarterTurn);
}

TEST(EdgeGeometry, CoincidentEndpointsLeaveTheCylinderUnturned) {
    const EdgeGeometry edge = computeEdgeGeometry({2, 2, 2}, {2, 2, 2});
    EXPECT_EQ(edge.length, 0.0);
    EXPECT_EQ(edge.axisZ, 1.0);
    EXPECT_EQ(edge.tilt, 0.0);
    EXPECT_EQ(edge.swing, 0.0);
}

// The two rotations turn the cylinder along its edge down to differences whose squares are the
// smallest normal doubles. Below that the length itself, computed from the squares, loses its
// digits (the cylinder is then 0.4 long at a point, and its direction carries no meaning), but
// the angles stay finite.
TEST(EdgeGeometry, SmallDifferencesStillTurnTheCylinderAlongTheEdge) {
    for (const double step : {1e-160, 3e-162, 1e-170, 5e-324}) {
        const EdgeGeometry edge = computeEdgeGeometry({0, 0, 0}, {step, step * 0.5, 0});
        EXPECT_TRUE(std::isfinite(edge.swing) && std::isfinite(edge.tilt)) << step;
    }
    for (const double step : {1.0, 1e-100, 1e-150}) {
        SCOPED_TRACE(step);
        const double dx = step;
        const double dy = step * 0.5;
        const double dz = -step * 0.25;
        const EdgeGeometry edge = computeEdgeGeometry({0, 0, 0}, {dx, dy, dz});
        // The inner rotation about x by the tilt takes y to (0, cos, sin); the outer one, about
        // the unit axis (0, ay, az) by the swing, then leans it (Rodrigues' formula).
        const double inner[3] = {0, std::cos(edge.tilt), std::sin(edge.tilt)};
        const double norm = std::hypot(edge.axisY, edge.axisZ);
        const double axis[3] = {0, edge.axisY / norm, edge.axisZ / norm};
        const double c = std::cos(edge.swing);
        const double s = std::sin(edge.swing);
        const double along = axis[1] * inner[1] + axis[2] * inner[2];
        const double cross[3] = {axis[1] * inner[2] - axis[2] * inner[1], -axis[0] * inner[2],
                                 axis[0] * inner[1]};
        double turned[3];
        for (int k = 0; k < 3; ++k) {
            turned[k] = inner[k] * c + cross[k] * s + axis[k] * along * (1 - c);
        }
        const double length = std::sqrt(1 + 0.25 + 0.0625);
        const double cosine = (turned[0] * 1 + turned[1] * 0.5 + turned[2] * -0.25) / length;
        EXPECT_NEAR(std::fabs(cosine), 1.0, 1e-12);
    }
}

TEST(EdgeGeometry, AxisOfAnEdgeAHairOffXKeepsItsDirection) {
    const EdgeGeometry edge = computeEdgeGeometry({0, 0, 0}, {10, 1e-7, -2e-7});
    EXPECT_EQ(edge.axisY, -1.0);
    EXPECT_EQ(edge.axisZ, -0.5);
    const EdgeGeometry ordinary = computeEdgeGeometry({0, 0, 0}, {10, 0.002, -0.004});
    EXPECT_EQ(ordinary.axisY, -0.004);
    EXPECT_EQ(ordinary.axisZ, -0.002);
}
