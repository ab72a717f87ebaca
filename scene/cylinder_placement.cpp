#include "scene/cylinder_placement.hpp"

#include <algorithm>
#include <cmath>

namespace l2v {
namespace {

double clampUnit(double value) {
    return value > 1.0 ? 1.0 : (value < -1.0 ? -1.0 : value);
}

constexpr double kSqrtHalf = 0.70710678118654752440;

} // namespace

Point edgeMidpoint(const Point& from, const Point& to) {
    return {(from.x + to.x) * 0.5, (to.y + from.y) * 0.5, (from.z + to.z) * 0.5};
}

// With the tilt t = atan(dz / dy) and the swing s = asin(dx / length), the product of the two
// half-angle quaternions simplifies, in terms of c = cos t-ish and the ratios below, to
//   (sign(dy) (1 + r) dz/h, p dz/h, -sign(dy) p (1 + |dy|/h), (1 + |dy|/h)(1 + r))
// divided by 2 sqrt((1 + |dy|/h)(1 + r)), where h = |(dy, dz)|, p = dx / length and
// r = h / length. Every term lies within [-2, 2], so nothing overflows or cancels, and it takes
// three square roots instead of four and half-angle divisions.
Quaternion cylinderTurn(const Point& from, const Point& to) {
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const double dz = to.z - from.z;
    const double length = std::sqrt(dz * dz + dy * dy + dx * dx);
    if (length == 0.0) {
        return {0.0, 0.0, 0.0, 1.0};
    }
    const double lean = clampUnit(dx / length); // sine of the swing
    const double larger = std::max(std::fabs(dy), std::fabs(dz));
    if (larger == 0.0) {
        // Along x: the swing alone, a quarter turn about z.
        return {0.0, 0.0, lean * kSqrtHalf, kSqrtHalf};
    }
    // Scaled by the larger component first, so that tiny differences keep their direction.
    const double scaledY = dy / larger;
    const double scaledZ = dz / larger;
    const double scaledAcross = std::sqrt(scaledY * scaledY + scaledZ * scaledZ);
    const double tiltCosine = std::fabs(scaledY) / scaledAcross;
    const double acrossSine = scaledZ / scaledAcross;                     // dz / h
    const double upright = std::min(1.0, larger * scaledAcross / length); // h / length
    const double sign = dy < 0.0 ? -1.0 : 1.0;
    const double onePlusTilt = 1.0 + tiltCosine;
    const double onePlusUpright = 1.0 + upright;
    const double scale = 0.5 / std::sqrt(onePlusTilt * onePlusUpright);
    return {sign * onePlusUpright * acrossSine * scale, lean * acrossSine * scale,
            -sign * lean * onePlusTilt * scale, onePlusTilt * onePlusUpright * scale};
}

double cylinderHeight(const Point& from, const Point& to, double nodeRadius) {
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const double dz = to.z - from.z;
    return std::fabs(std::sqrt(dz * dz + dy * dy + dx * dx) - 2 * nodeRadius);
}

} // namespace l2v
