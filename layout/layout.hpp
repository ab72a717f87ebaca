#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace l2v {

// One node's run in the shared adjacency pool: slot 0 holds the node's own index,
// slots 1 .. count-1 its neighbour references (0-based, as read; may be negative).
struct NodeEntry {
    std::int32_t count = 1;
    std::int32_t* adjacency = nullptr;
};

// Node positions as three parallel arrays indexed by node.
struct Coordinates {
    std::vector<double> x;
    std::vector<double> y;
    std::vector<double> z;
};

struct Layout {
    std::int32_t nodeCount = 0;
    std::vector<NodeEntry> nodes;
    std::vector<std::int32_t> adjacencyPool; // runs back to back in node order
    Coordinates coordinates;
    std::string sourcePath; // named in messages about this layout

    Layout() = default;
    // The node table points into the pool; moving keeps the pool's storage, copying would not.
    Layout(Layout&&) noexcept = default;
    Layout& operator=(Layout&&) noexcept = default;
    Layout(const Layout&) = delete;
    Layout& operator=(const Layout&) = delete;
    ~Layout() = default;
};

// Neighbour references of node `index` (its run without slot 0).
inline std::span<const std::int32_t> neighbours(const Layout& layout, std::int32_t index) {
    const NodeEntry& entry = layout.nodes[static_cast<std::size_t>(index)];
    return {entry.adjacency + 1, static_cast<std::size_t>(entry.count - 1)};
}

// Gives back all memory the layout holds and leaves it empty.
void releaseLayout(Layout& layout);

} // namespace l2v
