#pragma once

#include "layout/layout.hpp"
#include "layout/node_table.hpp"
#include "output/byte_sink.hpp"
#include "scene/colouring.hpp"
#include "scene/scene_switches.hpp"

#include <cstdint>

namespace l2v {

// glTF holds positions as 32-bit floats. Fitted positions up to 1e37 keep every derived value
// (midpoints, lengths up to 2 x sqrt(3) x 1e37, vertices) finite in float.
inline constexpr double kLargestGlbCoordinate = 1e37;

// Writes the scene of a layout fitted within kLargestGlbCoordinate into `sink` as binary glTF 2.0:
// one unit sphere and one unit cylinder mesh, drawn once per node and edge through
// EXT_mesh_gpu_instancing (spheres as one named glTF node per graph node when labels are
// shown), in the VRML scene's order. Throws Failure before writing anything when the file
// would pass the format's 4 GiB limit ("scene is too large for a glb file.") or a position
// lies beyond kLargestGlbCoordinate (refuseCoordinatesBeyond).
void writeGlbScene(const Layout& layout, ByteSink& sink, const SceneSwitches& switches,
                   const Colouring& colouring = Colouring{}, const NodeTable& names = NodeTable{});

} // namespace l2v
