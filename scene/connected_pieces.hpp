#pragma once

#include "layout/layout.hpp"

#include <cstdint>
#include <vector>

namespace l2v {

// The connected pieces of the groups given per node: two nodes share a piece when edges
// inside their group join them. Pieces are numbered from 0 in order of their first node.
std::vector<std::uint32_t> connectedPieces(const Layout& layout,
                                           const std::vector<std::uint32_t>& group);

} // namespace l2v
