#pragma once

#include "layout/layout.hpp"
#include "output/byte_sink.hpp"

#include <cstddef>
#include <string>

namespace l2v {

// Fitting extent and viewpoint distance: the camera stands this far out on the z axis.
inline constexpr double kSceneExtent = 20.0;

struct SceneSwitches {
    bool showEdges = true;
    bool showLabels = false;
};

// The edge pass reads positions faster from a side-by-side copy, which costs 24 bytes per node;
// the copy is made only while it fits in this many bytes, so that memory stays within the
// layout's own size and a fixed allowance.
inline constexpr std::size_t kPositionCopyBudget = std::size_t{24} << 20;

// Writes the whole scene of an already fitted layout into `sink`: frame, one node block per
// node, the edge blocks when shown, trailer.
void writeScene(const Layout& layout, ByteSink& sink, const SceneSwitches& switches,
                std::size_t positionCopyBudget = kPositionCopyBudget);

// Fits the layout in place, then creates the file at `outputPath` and writes the scene.
// Throws Failure when the layout cannot be fitted or the file cannot be created or written;
// a failed export leaves no new file behind.
void exportScene(const std::string& outputPath, Layout& layout, const SceneSwitches& switches);

} // namespace l2v
