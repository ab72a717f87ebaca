#pragma once

#include "scene/drawing_style.hpp"

#include <array>
#include <cstddef>

namespace l2v {

// Colours of the classes, largest class first. Twelve hues about 30 degrees apart, each light
// and saturated enough to stand out on the black background at transparency 0.5; neighbours
// in the list are far apart on the hue circle, so the largest classes differ most.
inline constexpr std::array<Rgb, 12> kPalette{{
    {0.95F, 0.3F, 0.3F},   // red
    {0.35F, 0.7F, 1},      // sky blue
    {0.95F, 0.9F, 0.25F},  // yellow
    {0.65F, 0.45F, 0.95F}, // violet
    {0.3F, 0.8F, 0.4F},    // green
    {1, 0.6F, 0.2F},       // orange
    {0.9F, 0.4F, 0.9F},    // magenta
    {0.25F, 0.85F, 0.75F}, // teal
    {1, 0.6F, 0.7F},       // pink
    {0.6F, 0.9F, 0.25F},   // lime
    {0.75F, 0.55F, 0.35F}, // tan
    {0.35F, 0.45F, 0.95F}, // blue
}};
inline constexpr std::size_t kPaletteSize = kPalette.size();

// Every class beyond the palette: a neutral grey, so that no two classes seem to be one.
inline constexpr Rgb kOtherColour{0.6F, 0.6F, 0.6F};

// The sequential degree map at `t` from 0 (fewest references) to 1 (most): perceptually
// uniform from violet over red and orange to yellow, starting light enough for the black
// background. Components are rounded to three decimals, which keeps the texts short.
Rgb degreeMapColour(double t);

} // namespace l2v
