#pragma once

#include "layout/layout.hpp"

#include <cstdint>
#include <vector>

namespace l2v {

// A palette colour (its index) for every community, so that communities joined by drawn edges
// differ wherever the palette's colours allow and otherwise the fewest edges join communities
// of one colour: greedy over the graph of communities, largest first (rank order), each taking
// the colour its coloured neighbours use least, weighed by the edges between them (ties: the
// lowest index). `rank` gives each node's community, 0 the largest, below `communityCount`.
std::vector<std::uint8_t> communityColours(const Layout& layout,
                                           const std::vector<std::int32_t>& rank,
                                           std::size_t communityCount);

} // namespace l2v
