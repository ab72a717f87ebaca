#pragma once

#include "layout/byte_source.hpp"
#include "layout/layout.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace l2v {

struct HeaderCounts {
    std::int32_t nodeCount = 0;
    std::int32_t edgeCount = 0;
};

// Reads "nodeCount edgeCount" from the start of a header line; nothing when either count is
// missing or does not fit 32 bits.
std::optional<HeaderCounts> parseHeader(std::string_view line);

// Reads a whole layout; `sourcePath` names the input in messages. Throws Failure on refused
// input and std::bad_alloc when memory runs out.
Layout readLayout(ByteSource& source, const std::string& sourcePath);

// Opens `path` and reads the layout in it.
Layout loadLayout(const std::string& path);

} // namespace l2v
