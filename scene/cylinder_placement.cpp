#include "scene/cylinder_placement.hpp"

#include <cmath>

namespace l2v {
namespace {

// Half-angle cosine and sine of an angle in [-pi/2, pi/2] given by its cosine (>= 0) and
// sine; no trigonometric call, and stable because the half angle's cosine is >= sqrt(1/2).
struct HalfAngle {
    double cosine;
    double sine;
};

HalfAngle halfAngle(double cosine, double sine) {
    const double halfCosine = std::sqrt((1.0 + cosine) * 0.5);
    return {halfCosine, sine / (2.0 * halfCosine)};
}

double clampUnit(double value) {
    return value > 1.0 ? 1.0 : (value < -1.0 ? -1.0 : value);
}

} // namespace

CylinderPlacement placeCylinder(const Point& from, const Point& to, double nodeRadius) {
    CylinderPlacement placement{};
    placement.centre = {(from.x + to.x) * 0.5, (to.y + from.y) * 0.5, (from.z + to.z) * 0.5};
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const double dz = to.z - from.z;
    const double length = std::sqrt(dz * dz + dy * dy + dx * dx);
    placement.height = std::fabs(length - 2 * nodeRadius);
    if (length == 0.0) {
        placement.turn = {0.0, 0.0, 0.0, 1.0};
        return placement;
    }
    // The inner rotation tilts y about x onto the line of (0, dy, dz): by atan(dz / dy), a
    // quarter turn with the sign of dz when dy is 0, none for an edge along x.
    const double across = std::hypot(dy, dz);
    const HalfAngle tilt = across == 0.0 ? HalfAngle{1.0, 0.0}
                                         : halfAngle(std::fabs(dy) / across,
                                                     (dy < 0.0 ? -dz : dz) / across);
    // The outer one leans it towards x by asin(dx / length), about (0, dz, -dy) / across, or
    // about z for an edge along x.
    const HalfAngle swing = halfAngle(across / length, clampUnit(dx / length));
    const double axisY = across == 0.0 ? 0.0 : dz / across;
    const double axisZ = across == 0.0 ? 1.0 : -dy / across;
    // Product outer x inner of (axis sin, cos) quaternions; the cross term comes from the two
    // axes being perpendicular.
    const double outerY = axisY * swing.sine;
    const double outerZ = axisZ * swing.sine;
    placement.turn = {swing.cosine * tilt.sine, tilt.cosine * outerY + outerZ * tilt.sine,
                      tilt.cosine * outerZ - outerY * tilt.sine, swing.cosine * tilt.cosine};
    return placement;
}

} // namespace l2v
