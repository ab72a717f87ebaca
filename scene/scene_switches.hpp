#pragma once

#include <optional>

namespace l2v {

// Fitting extent and viewpoint distance: the camera stands this far out on the z axis.
inline constexpr double kSceneExtent = 20.0;

// Largest fitted coordinate magnitude that keeps every edge computation (squares of
// differences, in double) finite: the limit of an encoder that computes and writes in double.
inline constexpr double kLargestSceneCoordinate = 1e150;

struct SceneSwitches {
    bool showEdges = true;
    bool showLabels = false;
    bool merge = false; // every sphere in one mesh, every cylinder in another
    // -size: every sphere's and cylinder's radius times this; nothing when no size was asked for.
    std::optional<double> sizeFactor{};
};

} // namespace l2v
