#pragma once

#include "layout/layout.hpp"

#include <cstdint>
#include <vector>

namespace l2v {

// How communities are found: Louvain's multilevel method or Leiden's refinement of it, on the
// nodes, or Leiden on the graph contracted over the groups a first moving phase gathers.
enum class CommunityMethod { multilevel, leidenOnNodes, leidenOnGroups };

// A class per node: communities that maximise modularity over the drawn edges. The same
// layout gives the same classes on every run: the random choices start from a fixed seed.
std::vector<std::int64_t>
communityClasses(const Layout& layout, CommunityMethod method = CommunityMethod::leidenOnGroups);

// A class per node: its connected component over the drawn edges, named by its lowest node.
std::vector<std::int64_t> componentClasses(const Layout& layout);

// The modularity of `classes` over the drawn edges.
double modularityOf(const Layout& layout, const std::vector<std::int64_t>& classes);

} // namespace l2v
