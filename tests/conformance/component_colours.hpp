#pragma once

#include "expected_scene.hpp"

#include <string>
#include <vector>

namespace conformance {

// The colours a scene converted with -color component must show, worked out here from the
// layout: components of the drawn edges ranked by size (ties: the lower first node), the first
// twelve in the colours the scene's legend gives them, the rest in the shared grey.
struct ComponentColours {
    std::vector<Vec3> nodes;           // per node
    std::vector<Vec3> edges;           // per edge of ExpectedScene::edges
    std::vector<std::string> failures; // where the legend disagrees with the components
};

// `worldInfo`: the scene's WorldInfo lines, whose legend lines ("component K: R G B, N nodes")
// name the colours; their labels and node counts are checked against the components.
ComponentColours expectedComponentColours(const ExpectedScene& scene,
                                          const std::vector<std::string>& worldInfo);

// Whether two colours agree within the three decimals the scene writes.
bool sameColour(const Vec3& a, const Vec3& b);

// "(r, g, b)" for messages.
std::string describeColour(const Vec3& colour);

} // namespace conformance
