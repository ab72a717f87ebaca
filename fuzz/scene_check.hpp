#pragma once

#include "layout/layout.hpp"
#include "layout/node_table.hpp"
#include "vrml/vrml_scene.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// A scene's text split into its labels' strings, read back (backslashes removed), and the
// rest, where every label string is left empty, so that no name can pass for scene text.
struct VrmlLabels {
    std::string rest;
    std::vector<std::string> labels;
};
VrmlLabels splitVrmlLabels(std::string_view text);

// Checks the scene text written for a fitted layout: the frame, one node block per node with
// its position, sphere radius and label (its name in `names`, or its index), one edge block
// per reference to a higher index when edges are shown, and every number in C's "%f" form.
void checkScene(std::string_view text, const l2v::Layout& layout,
                const l2v::SceneSwitches& switches, const l2v::NodeTable& names);

// Checks a merged scene: its frame, no number that is not finite, and the labels as above.
void checkMergedScene(std::string_view text, const l2v::Layout& layout,
                      const l2v::SceneSwitches& switches, const l2v::NodeTable& names);

} // namespace fuzz
