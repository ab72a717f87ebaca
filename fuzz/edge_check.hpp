#pragma once

#include "scene/edge_geometry.hpp"

namespace fuzz {

// Checks that `edge` places a cylinder on the segment from `from` to `to`: its length and
// midpoint match, and the two rotations carry the cylinder's y axis onto the segment's line.
void checkEdgeGeometry(const l2v::Point& from, const l2v::Point& to, const l2v::EdgeGeometry& edge);

// The rotations as written in an edge block, read back from their six-decimal text.
struct WrittenTurn {
    double axisY;
    double axisZ;
    double swing;
    double tilt;
};

// Checks that the written rotations, as a viewer reads them, still lay the cylinder along the
// segment from `from` to `to`.
void checkWrittenTurn(const l2v::Point& from, const l2v::Point& to, const WrittenTurn& turn);

} // namespace fuzz
