#pragma once

#include "layout/layout.hpp"
#include "vrml/byte_sink.hpp"

#include <string>

namespace l2v {

// Fitting extent and viewpoint distance: the camera stands this far out on the z axis.
inline constexpr double kSceneExtent = 20.0;

struct SceneSwitches {
    bool showEdges = true;
    bool showLabels = false;
};

// Writes the whole scene of an already fitted layout into `sink`: frame, one node block per
// node, the edge blocks when shown, trailer.
void writeScene(const Layout& layout, ByteSink& sink, const SceneSwitches& switches);

// Fits the layout in place, then creates the file at `outputPath` and writes the scene.
// Throws Failure when the layout cannot be fitted or the file cannot be created or written;
// a failed export leaves no new file behind.
void exportScene(const std::string& outputPath, Layout& layout, const SceneSwitches& switches);

} // namespace l2v
