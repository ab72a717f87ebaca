#pragma once

#include "layout/node_line.hpp"

#include <cstdint>
#include <string_view>
#include <vector>

namespace l2v {

// The quick path for the usual node line: blank-, tab- or comma-separated plain decimals, three
// coordinates short enough to convert exactly, then plain neighbour numbers, and nothing else
// (one carriage return at the end is allowed). Reads such a line in one tight pass and gives
// exactly what the general parser gives; returns false for any other line, leaving `position`
// and the entries it may have appended to `pool` for the caller to discard.
bool parsePlainNodeLine(std::string_view line, std::int32_t nodeCount, Point& position,
                        std::vector<std::int32_t>& pool);

} // namespace l2v
