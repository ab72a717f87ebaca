#pragma once

#include "coin_scene.hpp"
#include "expected_scene.hpp"

#include <string>
#include <vector>

namespace conformance {

struct SceneOptions {
    bool labels = false;
    bool edges = true;
    bool componentColours = false;      // converted with -color component
    std::vector<std::string> names;     // the labels' texts when named (an empty one: the index)
    std::vector<std::string> infoLines; // texts the WorldInfo must hold, each whole
};

// One readable line per disagreement between the scene Coin read and the layout.
std::vector<std::string> compareScene(const ExpectedScene& expected, const SceneContents& actual,
                                      const SceneOptions& options);

} // namespace conformance
