#pragma once

#include "layout/layout.hpp"

#include <optional>

namespace l2v {

// What -size asks for: the fitted sizes (no -size), the suggested scale, or a given factor.
enum class SizeBy { file, automatic, factor };

struct SizeRequest {
    SizeBy by = SizeBy::file;
    double factor = 1.0; // when `by` is SizeBy::factor
};

// The factors -size takes. Below the smallest, VRML's six decimals would write the thinnest
// cylinders with radius 0 and merged meshes could not find their normals; beyond the largest,
// the spheres of large run lengths would overflow the 32-bit floats of a .glb (and a scene 20
// units deep would lie many times over inside one sphere).
inline constexpr double kSmallestSizeFactor = 1e-5;
inline constexpr double kLargestSizeFactor = 1e6;

// The factor that scales spheres and cylinders of a dense fitted layout together until the
// median sphere is no wider than a third of the median edge length, which leaves each edge's
// middle third bare between the spheres it joins; 1 when the spheres are that small already or
// there are no edges of any length. The medians are taken over every step-th edge (in drawing
// order) and node, the step being the count divided by 50,001, rounded down, at least 1; of an
// even sample the upper one counts.
double suggestedSizeScale(const Layout& fitted);

// The factor the radii are scaled by, or nothing when no size was asked for; auto gives the
// suggested scale, but never less than kSmallestSizeFactor.
std::optional<double> sizeFactor(const Layout& fitted, const SizeRequest& request);

} // namespace l2v
