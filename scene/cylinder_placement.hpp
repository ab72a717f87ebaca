#pragma once

#include "common/point.hpp"

namespace l2v {

// A unit quaternion (x, y, z, w).
struct Quaternion {
    double x;
    double y;
    double z;
    double w;
};

// How encoders that place a unit cylinder (radius 1, height 1, along y) by one translation,
// rotation and scale put an edge's cylinder where the VRML scene puts it. Each is computed on
// its own, as such encoders write them in separate passes.

// Turns y exactly as the two nested rotations of computeEdgeGeometry do: the inner one about
// x by the tilt, then the outer one about (0, axisY, axisZ) by the swing.
Quaternion cylinderTurn(const Point& from, const Point& to);

// |length - 2 x nodeRadius|: a negative cylinder height draws as its absolute value.
double cylinderHeight(const Point& from, const Point& to, double nodeRadius);

} // namespace l2v
