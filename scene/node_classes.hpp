#pragma once

#include "layout/layout.hpp"

#include <cstdint>
#include <vector>

namespace l2v {

// A community per node, found by igraph's Leiden on the graph contracted over the groups that
// local moving gathers (scene/node_groups.hpp), projected back to the nodes; numbered below
// the node count. The same layout gives the same communities on every run.
std::vector<std::uint32_t> groupCommunities(const Layout& layout);

// A class per node: communities that maximise modularity over the drawn edges, those of
// groupCommunities refined node by node until no node gains by moving
// (scene/community_refinement.hpp); every community is connected.
std::vector<std::int64_t> communityClasses(const Layout& layout);

// A class per node: its connected component over the drawn edges, numbered in order of its
// lowest node.
std::vector<std::int64_t> componentClasses(const Layout& layout);

} // namespace l2v
