#pragma once

#include "layout/layout.hpp"

#include <cstdint>
#include <vector>

namespace l2v {

// The drawn edges contracted over small groups of nodes, for community detection to start
// from: each node joins, in two sweeps in index order, the neighbouring group that raises
// modularity most (the first, local moving phase of Louvain's method); groups that moving
// left in pieces are split into their connected pieces. Same layout, same groups.
struct ContractedGraph {
    std::vector<std::uint32_t> groupOf; // per node
    std::vector<double> groupDegrees;   // per group: the degrees of its nodes summed
    std::vector<std::uint32_t> ends;    // per joining edge: its two groups, lower first
    std::vector<double> weights;        // per joining edge: how many drawn edges it stands for
    std::uint64_t drawnEdges = 0;
};

ContractedGraph contractNodeGroups(const Layout& layout);

} // namespace l2v
