#pragma once

#include "layout/layout.hpp"
#include "scene/colouring.hpp"
#include "scene/scene_switches.hpp"

#include <string>

namespace l2v {

// Whether `outputPath` asks for binary glTF: it ends in ".glb", in any case.
bool wantsGlb(const std::string& outputPath);

// Fits the layout in place, then creates the file at `outputPath` and writes the scene: as
// binary glTF when the name asks for it, as VRML otherwise, in the colours of `colouring`. Throws
// Failure when the layout cannot be fitted or the file cannot be created or written; a failed
// export leaves no new file behind.
void exportScene(const std::string& outputPath, Layout& layout, const SceneSwitches& switches,
                 const Colouring& colouring = Colouring{});

} // namespace l2v
