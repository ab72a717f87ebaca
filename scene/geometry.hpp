#pragma once

#include "common/point.hpp"

#include <cmath>

namespace l2v {

// The arithmetic every encoder's edges share. The order of each sum is part of the output:
// files are compared byte for byte, so these are the only definitions.

// The edge's direction, `to` - `from`.
inline Point offset(const Point& from, const Point& to) {
    return {to.x - from.x, to.y - from.y, to.z - from.z};
}

// |d|, summed from z to x.
inline double length(const Point& d) {
    return std::sqrt(d.z * d.z + d.y * d.y + d.x * d.x);
}

inline Point edgeMidpoint(const Point& from, const Point& to) {
    return {(from.x + to.x) * 0.5, (to.y + from.y) * 0.5, (from.z + to.z) * 0.5};
}

// A quotient that cannot exceed 1 in exact arithmetic (a component over its vector's length)
// can by a hair after rounding in subnormal ranges, where asin has no value.
inline double clampUnit(double value) {
    return value > 1.0 ? 1.0 : (value < -1.0 ? -1.0 : value);
}

} // namespace l2v
