#pragma once

#include "layout/layout.hpp"

#include <cstdint>

namespace l2v {

// Moves every position so that the minima sit at 0 and scales all three axes by one factor
// so that z spans 0 to `extent`. A flat layout (no z range) is scaled by its larger x or y
// range instead; a layout without any range collapses to 0.
void scaleLayout(Coordinates& coordinates, std::int32_t nodeCount, double extent);

// Subtracts the mean of each axis, putting the centroid at the origin.
void centreLayout(Coordinates& coordinates, std::int32_t nodeCount);

// Largest fitted coordinate magnitude that still keeps every edge computation finite.
inline constexpr double kLargestFittedCoordinate = 1e150;

// Scales to `extent`, centres, and refuses a layout whose fitted positions are not finite or
// so far apart that edge lengths would overflow.
void fitLayout(Layout& layout, double extent);

} // namespace l2v
