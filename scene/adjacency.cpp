#include "scene/adjacency.hpp"

#include "scene/scene_walk.hpp"

#include <numeric>

namespace l2v {

Adjacency adjacencyOf(const Layout& layout) {
    const auto nodeCount = static_cast<std::size_t>(layout.nodeCount);
    Adjacency adjacency;
    adjacency.offsets.assign(nodeCount + 1, 0);
    forEachEdgeEnds(layout, [&](std::uint32_t i, std::uint32_t j) {
        ++adjacency.offsets[i + 1];
        ++adjacency.offsets[j + 1];
    });
    std::partial_sum(adjacency.offsets.begin(), adjacency.offsets.end(), adjacency.offsets.begin());
    adjacency.targets.resize(adjacency.offsets.back());
    std::vector<std::uint64_t> next(adjacency.offsets.begin(), adjacency.offsets.end() - 1);
    forEachEdgeEnds(layout, [&](std::uint32_t i, std::uint32_t j) {
        adjacency.targets[next[i]++] = j;
        adjacency.targets[next[j]++] = i;
    });
    return adjacency;
}

} // namespace l2v
