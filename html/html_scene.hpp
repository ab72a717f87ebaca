#pragma once

#include "layout/layout.hpp"
#include "output/byte_sink.hpp"
#include "scene/scene_walk.hpp"

namespace l2v {

// Writes the scene of an already fitted layout into `sink` as one self-contained HTML page:
// the viewer and, base64-encoded inside it, the positions (32-bit floats), every node's run
// length and the endpoint pairs of the edges in the VRML scene's order. Throws Failure before
// writing anything when a browser could not hold the data ("scene is too large for a web
// page.") or a fitted position lies beyond what 32-bit floats keep finite.
void writeHtmlScene(const Layout& layout, ByteSink& sink, const SceneSwitches& switches);

} // namespace l2v
