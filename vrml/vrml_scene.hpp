#pragma once

#include "layout/layout.hpp"
#include "output/byte_sink.hpp"
#include "scene/scene_walk.hpp"

namespace l2v {

// Writes the VRML scene of an already fitted layout into `sink`: frame, one node block per
// node, the edge blocks when shown, trailer.
void writeVrmlScene(const Layout& layout, ByteSink& sink, const SceneSwitches& switches);

} // namespace l2v
