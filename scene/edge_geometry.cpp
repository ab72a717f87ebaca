#include "scene/edge_geometry.hpp"

#include "scene/edge_angles.hpp"
#include "scene/geometry.hpp"

#include <algorithm>
#include <cmath>

namespace l2v {
namespace {

// The outer rotation axis is written with six decimals. An axis this short would lose its
// direction in the rounding (an edge a hair off the x axis would be turned the wrong way),
// so it is scaled up; the rotation it describes is the same.
constexpr double kShortestWrittenAxis = 1e-3;

} // namespace

EdgeGeometry computeEdgeGeometry(const Point& from, const Point& to) {
    EdgeGeometry edge{};
    const Point middle = edgeMidpoint(from, to);
    edge.midX = middle.x;
    edge.midY = middle.y;
    edge.midZ = middle.z;
    const Point d = offset(from, to);
    const double dx = d.x;
    const double dy = d.y;
    const double dz = d.z;
    edge.length = length(d);
    if (edge.length == 0.0) {
        edge.axisY = 0.0;
        edge.axisZ = 1.0;
        edge.tilt = 0.0;
        edge.swing = 0.0;
        return edge;
    }
    edge.swing = swingAngle(clampUnit(dx / edge.length));
    if (dy == 0.0 && dz == 0.0) {
        edge.axisY = 0.0;
        edge.axisZ = 1.0;
        edge.tilt = 0.0;
        return edge;
    }
    edge.axisY = dz;
    edge.axisZ = -dy;
    const double longerComponent = std::max(std::fabs(dy), std::fabs(dz));
    if (longerComponent < kShortestWrittenAxis) {
        edge.axisY = dz / longerComponent;
        edge.axisZ = -dy / longerComponent;
    }
    edge.tilt = tiltAngle(dy, dz);
    return edge;
}

} // namespace l2v
