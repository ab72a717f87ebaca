#pragma once

#include "layout/layout.hpp"
#include "layout/node_table.hpp"
#include "output/byte_sink.hpp"
#include "scene/colouring.hpp"
#include "scene/scene_switches.hpp"

namespace l2v {

// Writes the VRML scene of an already fitted layout into `sink`: frame, one node block per
// node, the edge blocks when shown, trailer. Merged, the node blocks become one mesh of all
// spheres (and a label block per node when labels are shown) and the edge blocks one mesh of
// all cylinders. Coloured, every node and edge takes its colour from `colouring` and the
// WorldInfo lists the classes and their colours.
void writeVrmlScene(const Layout& layout, ByteSink& sink, const SceneSwitches& switches,
                    const Colouring& colouring = Colouring{}, const NodeTable& names = NodeTable{});

} // namespace l2v
