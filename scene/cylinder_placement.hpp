#pragma once

#include "scene/edge_geometry.hpp"

namespace l2v {

// A unit quaternion (x, y, z, w).
struct Quaternion {
    double x;
    double y;
    double z;
    double w;
};

// Where an edge's cylinder stands, for encoders that place a unit cylinder (radius 1, height
// 1, along y) by one translation, rotation and scale: centred on the midpoint, turned exactly
// as the two nested rotations of `computeEdgeGeometry` turn it (the outer one about
// (0, axisY, axisZ) by the swing, after the inner one about x by the tilt), `height` long.
struct CylinderPlacement {
    Point centre;
    Quaternion turn;
    double height; // |length - 2 x node radius|: a negative height draws as its absolute value
};

CylinderPlacement placeCylinder(const Point& from, const Point& to, double nodeRadius);

} // namespace l2v
