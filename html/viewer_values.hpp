#pragma once

#include <cstdint>

// Values the viewer's scripts and shaders share; the build writes them into both
// (html/write_viewer_values.cpp), so each is set here only.
namespace l2v::viewer {

// Per-node and per-edge data live in textures this many texels wide, a texel a node or an
// edge; a power of two, so the shaders find a texel with a mask and a shift.
inline constexpr std::uint32_t kDataTextureWidth = 4096;
static_assert((kDataTextureWidth & (kDataTextureWidth - 1)) == 0);

// Spheres up to this radius on screen (pixels) are drawn as points, unless the device's
// points are smaller; a point vanishes with its centre, so a sphere that crosses the view's
// border is drawn as a square from kLargestBorderPoint pixels on.
inline constexpr double kLargestPoint = 24;
inline constexpr double kLargestBorderPoint = 4;
// Cylinders up to this radius on screen (pixels) are drawn as lines.
inline constexpr double kWidestLine = 0.75;
} // namespace l2v::viewer
