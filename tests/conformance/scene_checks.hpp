#pragma once

#include "coin_scene.hpp"
#include "expected_scene.hpp"

#include <string>
#include <vector>

namespace conformance {

struct SceneOptions {
    bool labels = false;
    bool edges = true;
    bool componentColours = false; // converted with -color component
};

// One readable line per disagreement between the scene Coin read and the layout.
std::vector<std::string> compareScene(const ExpectedScene& expected, const SceneContents& actual,
                                      const SceneOptions& options);

} // namespace conformance
