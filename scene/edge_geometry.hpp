#pragma once

#include "common/point.hpp"

namespace l2v {

// What an edge block needs to turn VRML's y-axis cylinder onto the segment between two
// nodes: the midpoint, the length, the outer rotation (axis (0, axisY, axisZ) by `swing`)
// and the inner rotation about x by `tilt`.
struct EdgeGeometry {
    double midX;
    double midY;
    double midZ;
    double length;
    double axisY;
    double axisZ;
    double tilt;
    double swing;
};

// Edges along x (no y or z difference) turn a quarter turn about z; coincident endpoints
// leave the cylinder unturned.
EdgeGeometry computeEdgeGeometry(const Point& from, const Point& to);

} // namespace l2v
