#pragma once

#include "layout/layout.hpp"
#include "layout/node_table.hpp"
#include "output/byte_sink.hpp"
#include "scene/colouring.hpp"
#include "scene/scene_switches.hpp"

namespace l2v {

// Past this a fitted position turns infinite in a 32-bit float; the margin keeps the
// differences the viewer forms (edge vectors) finite too.
inline constexpr double kLargestPageCoordinate = 1e37;

// Writes the scene of an already fitted layout into `sink` as one self-contained HTML page:
// the viewer and the scene data (html/page_data_format.hpp), with an active `colouring` also
// the nodes' colours and the legend. Throws Failure before
// writing anything when a browser could not hold the data ("scene is too large for a web
// page.") or a fitted position lies beyond kLargestPageCoordinate (refuseCoordinatesBeyond).
void writeHtmlScene(const Layout& layout, ByteSink& sink, const SceneSwitches& switches,
                    const Colouring& colouring = Colouring{}, const NodeTable& names = NodeTable{});

} // namespace l2v
