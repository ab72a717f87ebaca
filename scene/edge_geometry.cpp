#include "scene/edge_geometry.hpp"

#include "scene/edge_angles.hpp"

#include <algorithm>
#include <cmath>

namespace l2v {
namespace {

// |dx| never exceeds the length in exact arithmetic; rounding in subnormal ranges can push
// the quotient a hair past 1, where asin has no value.
double clampUnit(double value) {
    return value > 1.0 ? 1.0 : (value < -1.0 ? -1.0 : value);
}

// The outer rotation axis is written with six decimals. An axis this short would lose its
// direction in the rounding (an edge a hair off the x axis would be turned the wrong way),
// so it is scaled up; the rotation it describes is the same.
constexpr double kShortestWrittenAxis = 1e-3;

} // namespace

EdgeGeometry computeEdgeGeometry(const Point& from, const Point& to) {
    EdgeGeometry edge{};
    edge.midX = (from.x + to.x) * 0.5;
    edge.midY = (to.y + from.y) * 0.5;
    edge.midZ = (from.z + to.z) * 0.5;
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const double dz = to.z - from.z;
    edge.length = std::sqrt(dz * dz + dy * dy + dx * dx);
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
