#pragma once

#include "layout/layout.hpp"
#include "output/byte_sink.hpp"
#include "scene/colouring.hpp"
#include "scene/scene_walk.hpp"

#include <cstdint>

namespace l2v {

// The largest file the format can describe: its lengths are 32-bit.
inline constexpr std::uint64_t kLargestGlbFile = 0xFFFFFFFFULL;

// Writes the scene of an already fitted layout into `sink` as binary glTF 2.0: one unit
// sphere and one unit cylinder mesh, drawn once per node and edge through
// EXT_mesh_gpu_instancing (spheres as one named glTF node per graph node when labels are
// shown), in the VRML scene's order. Throws Failure before writing anything when the file
// would pass the format's 4 GiB limit ("scene is too large for a glb file.") or a fitted
// position lies beyond what 32-bit floats keep finite ("coordinates in FILE are too far
// apart to fit.").
void writeGlbScene(const Layout& layout, ByteSink& sink, const SceneSwitches& switches,
                   const Colouring& colouring = Colouring{});

} // namespace l2v
