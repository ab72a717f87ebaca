#pragma once

#include "common/point.hpp"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace l2v {

// Where a node line comes from, for messages.
struct LinePlace {
    const std::string& sourcePath;
    int lineNumber;
};

// Parses one node line: three coordinate fields, then neighbour fields whose 1-based numbers
// are appended to `pool` as 0-based indices. Returns the position; throws Failure on input
// that cannot be drawn faithfully.
Point parseNodeLine(std::string_view line, std::int32_t nodeCount, const LinePlace& place,
                    std::vector<std::int32_t>& pool);

// The same without the quick path for plain lines: what that path must agree with.
Point parseGeneralNodeLine(std::string_view line, std::int32_t nodeCount, const LinePlace& place,
                           std::vector<std::int32_t>& pool);

} // namespace l2v
