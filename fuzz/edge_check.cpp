#include "edge_check.hpp"

#include "fuzz_check.hpp"
#include "tests/support/reference_fixed.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace fuzz {
namespace {

struct Vector {
    double x;
    double y;
    double z;
};

Vector cross(const Vector& a, const Vector& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double dot(const Vector& a, const Vector& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

double norm(const Vector& v) {
    return std::hypot(std::hypot(v.x, v.y), v.z);
}

Vector scaledBy(const Vector& v, double factor) {
    return {v.x * factor, v.y * factor, v.z * factor};
}

// Unit vector along (0, y, z); the components may be tiny, so scale before squaring.
Vector outerAxis(double axisY, double axisZ) {
    const double largest = std::max(std::fabs(axisY), std::fabs(axisZ));
    const Vector axis{0.0, axisY / largest, axisZ / largest};
    return scaledBy(axis, 1.0 / norm(axis));
}

// Rodrigues' rotation of `v` about the unit vector `axis` by `angle`.
Vector rotated(const Vector& v, const Vector& axis, double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const Vector across = cross(axis, v);
    const double along = dot(axis, v) * (1.0 - c);
    return {v.x * c + across.x * s + axis.x * along, v.y * c + across.y * s + axis.y * along,
            v.z * c + across.z * s + axis.z * along};
}

// Where the nested rotations take the cylinder's own y axis: first about x by the tilt, then
// about the outer axis by the swing.
Vector cylinderDirection(double axisY, double axisZ, double swing, double tilt) {
    const Vector tilted{0.0, std::cos(tilt), std::sin(tilt)};
    return rotated(tilted, outerAxis(axisY, axisZ), swing);
}

// Sine of the angle between the cylinder's axis and the segment from `from` to `to`.
double misalignment(const Vector& direction, const l2v::Point& from, const l2v::Point& to) {
    const Vector difference{to.x - from.x, to.y - from.y, to.z - from.z};
    const Vector unit = scaledBy(difference, 1.0 / norm(difference));
    return norm(cross(direction, unit));
}

std::string describe(const l2v::EdgeGeometry& edge, const Vector& difference) {
    char text[300];
    std::snprintf(text, sizeof text, "axis (0, %.17g, %.17g) for difference (%.17g, %.17g, %.17g)",
                  edge.axisY, edge.axisZ, difference.x, difference.y, difference.z);
    return text;
}

void checkMidpoint(double a, double b, double mid) {
    const double exact = a * 0.5 + b * 0.5;
    const double tolerance = (std::fabs(a) + std::fabs(b)) * 1e-15 + 1e-300;
    require(std::fabs(mid - exact) <= tolerance, "edge midpoint off the segment's middle");
}

// The angles are evaluated without the math library where that cannot show in the scene:
// printed with six decimals they must read as asin and atan2 would have them.
void checkAnglesPrintAsTheLibrary(const Vector& difference, const l2v::EdgeGeometry& edge) {
    if (edge.length == 0.0) {
        return;
    }
    const double sine = std::clamp(difference.x / edge.length, -1.0, 1.0);
    require(l2v::testing::referenceFixed(edge.swing) ==
                l2v::testing::referenceFixed(std::asin(sine)),
            "swing prints differently from asin", l2v::testing::referenceFixed(edge.swing));
    if (difference.y != 0.0 || difference.z != 0.0) {
        const double tilt = -std::atan2(-(difference.z / difference.y), 1.0);
        require(l2v::testing::referenceFixed(edge.tilt) == l2v::testing::referenceFixed(tilt),
                "tilt prints differently from atan2", l2v::testing::referenceFixed(edge.tilt));
    }
}

} // namespace

void checkEdgeGeometry(const l2v::Point& from, const l2v::Point& to,
                       const l2v::EdgeGeometry& edge) {
    checkMidpoint(from.x, to.x, edge.midX);
    checkMidpoint(from.y, to.y, edge.midY);
    checkMidpoint(from.z, to.z, edge.midZ);
    const Vector difference{to.x - from.x, to.y - from.y, to.z - from.z};
    require(std::isfinite(edge.length), "edge length not finite");
    require(std::isfinite(edge.tilt) && std::isfinite(edge.swing), "edge angle not finite");
    require(std::isfinite(edge.axisY) && std::isfinite(edge.axisZ), "edge axis not finite");
    checkAnglesPrintAsTheLibrary(difference, edge);
    require(edge.axisY != 0.0 || edge.axisZ != 0.0, "edge rotation axis is zero");
    const double length = norm(difference);
    // Below this the squares in the converter's length lose precision or underflow, so the edge
    // may be taken for coincident endpoints; such edges are invisible anyway.
    if (length < 1e-100) {
        return;
    }
    require(std::fabs(edge.length - length) <= length * 1e-12,
            "edge length differs from the distance of its endpoints");
    // Off the x axis the outer rotation turns about (0, dz, -dy), possibly rescaled.
    if (difference.y != 0.0 || difference.z != 0.0) {
        const Vector axis = outerAxis(edge.axisY, edge.axisZ);
        const Vector expected = outerAxis(difference.z, -difference.y);
        require(std::fabs(cross(axis, expected).x) <= 1e-12 && dot(axis, expected) > 0.0,
                "outer rotation axis is not along (0, dz, -dy)", describe(edge, difference));
    }
    const Vector direction = cylinderDirection(edge.axisY, edge.axisZ, edge.swing, edge.tilt);
    // asin(dx / length) near a quarter turn is only good to about sqrt(2^-52) radians.
    const double off = misalignment(direction, from, to);
    require(off <= 1e-7, "cylinder not turned onto its edge", std::to_string(off));
}

void checkWrittenTurn(const l2v::Point& from, const l2v::Point& to, const WrittenTurn& turn) {
    const double length = norm({to.x - from.x, to.y - from.y, to.z - from.z});
    if (length < 1e-100) {
        return;
    }
    require(turn.axisY != 0.0 || turn.axisZ != 0.0, "written rotation axis is zero");
    // Six decimals on angles and on an axis whose longer component is at least 1e-3 keep the
    // direction within about 1e-3 radians.
    const Vector direction = cylinderDirection(turn.axisY, turn.axisZ, turn.swing, turn.tilt);
    const double off = misalignment(direction, from, to);
    require(off <= 2e-3, "written rotations do not turn the cylinder onto its edge",
            std::to_string(off));
}

} // namespace fuzz
