#pragma once

#include "layout/layout.hpp"

namespace fuzz {

// Checks a fitted layout against the positions it was fitted from: every value finite and
// drawable, z spanning the extent (or nothing when the input was flat in z), centroid at the
// origin.
void checkFitted(const l2v::Coordinates& original, const l2v::Layout& fitted, double extent);

// Checks that a layout refused as "too far apart" really cannot be fitted: recomputes the fit
// with a wider exponent range and fails when every fitted value would have been drawable.
void checkFitRefusalJustified(const l2v::Coordinates& original, std::int32_t nodeCount,
                              double extent);

} // namespace fuzz
