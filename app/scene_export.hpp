#pragma once

#include "layout/layout.hpp"
#include "scene/colouring.hpp"
#include "scene/scene_switches.hpp"
#include "scene/size_scale.hpp"

#include <string>

namespace l2v {

// The encoders, chosen by the output name.
enum class SceneFormat { vrml, glb, html };

// ".glb" gives binary glTF and ".html" a web page (either in any case); any other name VRML.
SceneFormat formatForPath(const std::string& outputPath);

// Fits the layout in place, then creates the file at `outputPath` and writes the scene in the
// format its name asks for, in the colours of `colouring`, with the nodes' `names`, its spheres
// and cylinders sized as `size` asks (a factor, or the one suggestedSizeScale finds in the
// fitted layout). Throws Failure
// when the layout cannot be fitted or the file cannot be created or written; a failed export leaves
// no new file behind.
void exportScene(const std::string& outputPath, Layout& layout, const SceneSwitches& switches,
                 const Colouring& colouring = Colouring{}, const NodeTable& names = NodeTable{},
                 const SizeRequest& size = SizeRequest{});

} // namespace l2v
