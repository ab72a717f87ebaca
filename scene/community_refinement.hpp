#pragma once

#include "layout/layout.hpp"

#include <cstdint>
#include <vector>

namespace l2v {

// Moves single nodes between communities until no node raises modularity by joining a
// neighbouring community. Sweeps run in index order, over every node until one moves nothing,
// over the nodes next to a move in between; each node joins the neighbouring community that
// raises modularity most (ties: the lowest community number), or stays. A
// community that moving leaves in pieces is split into its connected pieces, which raises
// modularity too, and the sweeps go on; so every community ends connected. Communities come
// in and go out numbered below the node count; the same input gives the same output.
std::vector<std::uint32_t> refineCommunities(const Layout& layout,
                                             std::vector<std::uint32_t> community);

} // namespace l2v
