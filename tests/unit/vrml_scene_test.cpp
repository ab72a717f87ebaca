#include "layout/byte_source.hpp"
#include "layout/fitting.hpp"
#include "layout/layout_reader.hpp"
#include "tests/support/splitmix64.hpp"
#include "output/byte_sink.hpp"
#include "vrml/vrml_scene.hpp"

#include <gtest/gtest.h>
#include <string>

namespace {

// A random layout of `nodeCount` nodes, each listing a few random neighbours.
std::string randomLayoutText(int nodeCount) {
    l2v::testing::SplitMix64 random(41);
    std::string text = std::to_string(nodeCount) + " 0\n";
    for (int i = 0; i < nodeCount; ++i) {
        for (int axis = 0; axis < 3; ++axis) {
            text += std::to_string(random.between(-50.0, 50.0)) + " ";
        }
        for (std::uint64_t k = random.below(6); k > 0; --k) {
            text += std::to_string(1 + random.below(static_cast<std::uint64_t>(nodeCount))) + " ";
        }
        text += "\n";
    }
    return text;
}

std::string sceneOf(const l2v::Layout& layout, std::size_t positionCopyBudget) {
    l2v::StringSink sink;
    l2v::writeVrmlScene(layout, sink, {}, positionCopyBudget);
    return sink.text();
}

} // namespace

// Large layouts read edge positions straight from the coordinate arrays instead of a copy;
// the scene must not tell the difference.
TEST(VrmlScene, EdgesReadTheSameWithOrWithoutThePositionCopy) {
    const std::string text = randomLayoutText(500);
    l2v::MemorySource source(text);
    l2v::Layout layout = l2v::readLayout(source, "random.3dlayout");
    l2v::fitLayout(layout, l2v::kSceneExtent);
    const std::string copied = sceneOf(layout, l2v::kPositionCopyBudget);
    EXPECT_GT(copied.size(), 500000U); // the edges are there
    EXPECT_EQ(sceneOf(layout, 0), copied);
}
