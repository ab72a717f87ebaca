#include "scene/palette.hpp"

#include <algorithm>
#include <cmath>

namespace l2v {
namespace {

// Stops of the map, evenly spaced over [0, 1].
constexpr std::array<Rgb, 5> kDegreeStops{{
    {0.417F, 0.0F, 0.658F},
    {0.693F, 0.165F, 0.564F},
    {0.881F, 0.393F, 0.383F},
    {0.988F, 0.652F, 0.211F},
    {0.94F, 0.975F, 0.131F},
}};

float blend(float from, float to, double share) {
    const double value = from + (to - from) * share;
    return static_cast<float>(std::round(value * 1000) / 1000);
}

} // namespace

Rgb degreeMapColour(double t) {
    const double clamped = std::clamp(t, 0.0, 1.0);
    const double scaled = clamped * static_cast<double>(kDegreeStops.size() - 1);
    const auto stop = std::min(static_cast<std::size_t>(scaled), kDegreeStops.size() - 2);
    const double share = scaled - static_cast<double>(stop);
    const Rgb& from = kDegreeStops[stop];
    const Rgb& to = kDegreeStops[stop + 1];
    return {blend(from.red, to.red, share), blend(from.green, to.green, share),
            blend(from.blue, to.blue, share)};
}

} // namespace l2v
