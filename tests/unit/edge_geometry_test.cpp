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

TEST(EdgeGeometry, TinyDifferencesNeverGiveNaN) {
    for (const double step : {1e-160, 3e-162, 1e-170, 5e-324}) {
        const EdgeGeometry edge = computeEdgeGeometry({0, 0, 0}, {step, step * 0.5, 0});
        EXPECT_FALSE(std::isnan(edge.swing)) << step;
        EXPECT_FALSE(std::isnan(edge.tilt)) << step;
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
