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

// Throws Failure ("coordinates in FILE are too far apart to fit.") when a coordinate is not
// finite or its magnitude passes `largest`: the limit of the encoder about to write them.
void refuseCoordinatesBeyond(const Layout& layout, double largest);

// Scales to `extent`, centres, and refuses (as above) a layout whose fitted positions the
// encoder cannot represent.
void fitLayout(Layout& layout, double extent, double largestCoordinate);

} // namespace l2v
