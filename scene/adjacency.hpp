#pragma once

#include "layout/layout.hpp"

#include <cstdint>
#include <vector>

namespace l2v {

// Every drawn edge listed at both ends: node i's neighbours are targets[offsets[i] ..
// offsets[i + 1]).
struct Adjacency {
    std::vector<std::uint64_t> offsets;
    std::vector<std::uint32_t> targets;

    std::uint64_t degree(std::uint32_t node) const { return offsets[node + 1] - offsets[node]; }
    std::uint32_t nodeCount() const { return static_cast<std::uint32_t>(offsets.size() - 1); }
};

Adjacency adjacencyOf(const Layout& layout);

} // namespace l2v
