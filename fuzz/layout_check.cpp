#include "layout_check.hpp"

#include "fuzz_check.hpp"

#include <cmath>
#include <cstddef>
#include <string>

namespace fuzz {
namespace {

void checkTableSizes(const l2v::Layout& layout) {
    require(layout.nodeCount >= 1, "accepted layout has no nodes");
    const auto count = static_cast<std::size_t>(layout.nodeCount);
    require(layout.nodes.size() == count, "node table size differs from node count");
    require(layout.coordinates.x.size() == count, "x array size differs from node count");
    require(layout.coordinates.y.size() == count, "y array size differs from node count");
    require(layout.coordinates.z.size() == count, "z array size differs from node count");
}

void checkRun(const l2v::Layout& layout, std::int32_t index) {
    const l2v::NodeEntry& entry = layout.nodes[static_cast<std::size_t>(index)];
    require(entry.count >= 1, "run shorter than one slot", std::to_string(index));
    require(entry.adjacency[0] == index, "slot 0 does not hold the node's index",
            std::to_string(index));
    for (const std::int32_t neighbour : l2v::neighbours(layout, index)) {
        require(neighbour < layout.nodeCount, "neighbour index past the last node",
                std::to_string(neighbour));
    }
}

// Each run must start where the previous one ended, and the last must end at the pool's end.
void checkRuns(const l2v::Layout& layout) {
    const std::int32_t* poolStart = layout.adjacencyPool.data();
    const std::int32_t* poolEnd = poolStart + layout.adjacencyPool.size();
    const std::int32_t* expected = poolStart;
    for (std::int32_t index = 0; index < layout.nodeCount; ++index) {
        const l2v::NodeEntry& entry = layout.nodes[static_cast<std::size_t>(index)];
        require(entry.adjacency == expected, "run does not follow the previous one",
                std::to_string(index));
        require(entry.count >= 1 && entry.count <= poolEnd - expected, "run overruns the pool",
                std::to_string(index));
        checkRun(layout, index);
        expected += entry.count;
    }
    require(expected == poolEnd, "runs do not cover the pool exactly");
}

void checkFinite(const std::vector<double>& values, const char* axis) {
    for (const double value : values) {
        require(std::isfinite(value), "coordinate not finite", axis);
    }
}

} // namespace

void checkReadLayout(const l2v::Layout& layout) {
    checkTableSizes(layout);
    checkRuns(layout);
    checkFinite(layout.coordinates.x, "x");
    checkFinite(layout.coordinates.y, "y");
    checkFinite(layout.coordinates.z, "z");
}

} // namespace fuzz
