#include "scene/cylinder_placement.hpp"

#include "scene/geometry.hpp"

#include <algorithm>
#include <cmath>

namespace l2v {
namespace {

constexpr double kSqrtHalf = 0.70710678118654752440;

} // namespace

// With the tilt t = atan(dz / dy) and the swing s = asin(dx / length), the product of the two
// half-angle quaternions simplifies, in terms of c = cos t-ish and the ratios below, to
//   (sign(dy) (1 + r) dz/h, p dz/h, -sign(dy) p (1 + |dy|/h), (1 + |dy|/h)(1 + r))
// divided by 2 sqrt((1 + |dy|/h)(1 + r)), where h = |(dy, dz)|, p = dx / length and
// r = h / length. Every term lies within [-2, 2], so nothing overflows or cancels, and it takes
// three square roots instead of four and half-angle divisions.
Quaternion cylinderTurn(const Point& from, const Point& to) {
    const Point d = offset(from, to);
    const double dx = d.x;
    const double dy = d.y;
    const double dz = d.z;
    const double edgeLength = length(d);
    if (edgeLength == 0.0) {
        return {0.0, 0.0, 0.0, 1.0};
    }
    const double lean = clampUnit(dx / edgeLength); // sine of the swing
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
    const double acrossSine = scaledZ / scaledAcross;                         // dz / h
    const double upright = std::min(1.0, larger * scaledAcross / edgeLength); // h / length
    const double sign = dy < 0.0 ? -1.0 : 1.0;
    const double onePlusTilt = 1.0 + tiltCosine;
    const double onePlusUpright = 1.0 + upright;
    const double scale = 0.5 / std::sqrt(onePlusTilt * onePlusUpright);
    return {sign * onePlusUpright * acrossSine * scale, lean * acrossSine * scale,
            -sign * lean * onePlusTilt * scale, onePlusTilt * onePlusUpright * scale};
}

double cylinderHeight(const Point& from, const Point& to, double nodeRadius) {
    return std::fabs(length(offset(from, to)) - 2 * nodeRadius);
}

} // namespace l2v
