#pragma once

#include "layout/layout.hpp"
#include "layout/node_table.hpp"
#include "scene/scene_switches.hpp"

#include <string_view>

namespace fuzz {

// Checks the binary glTF written for a fitted layout: the container's lengths, JSON that reads
// strictly (so no "nan" or "inf" among its numbers), and the instance data at the end of the
// binary chunk: one position and radius per node as the layout gives them (unless labelled),
// and per drawn edge a finite midpoint, a unit quaternion and a finite, non-negative height.
// Labelled, every node after the camera is named by `names` (or its index) and carries its
// other cells as extras under their columns' headers.
void checkGlb(std::string_view bytes, const l2v::Layout& layout, const l2v::SceneSwitches& switches,
              const l2v::NodeTable& names);

// A merged .glb (-merge true): the container's lengths, no extension, every value finite, and
// labelled nodes as above.
void checkMergedGlb(std::string_view bytes, const l2v::Layout& layout,
                    const l2v::SceneSwitches& switches, const l2v::NodeTable& names);

// A .glb is refused for a fittable layout only when a fitted position lies beyond 1e37, where
// 32-bit floats could no longer hold every derived value.
void checkGlbRefusalJustified(const l2v::Layout& layout);

} // namespace fuzz
