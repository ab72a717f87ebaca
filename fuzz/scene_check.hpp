#pragma once

#include "layout/layout.hpp"
#include "vrml/vrml_scene.hpp"

#include <string_view>

namespace fuzz {

// Checks the scene text written for a fitted layout: the frame, one node block per node with
// its position, sphere radius and label, one edge block per reference to a higher index when
// edges are shown, and every number in C's "%f" form.
void checkScene(std::string_view text, const l2v::Layout& layout,
                const l2v::SceneSwitches& switches);

} // namespace fuzz
