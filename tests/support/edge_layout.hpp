#pragma once

#include "layout/byte_source.hpp"
#include "layout/layout_reader.hpp"

#include <string>
#include <utility>
#include <vector>

namespace l2v::testing {

// A layout of `nodeCount` nodes at the origin with the given edges (0-based), listed at both
// ends, read as the converter reads a file.
inline Layout layoutWithEdges(int nodeCount, const std::vector<std::pair<int, int>>& edges) {
    std::vector<std::string> references(static_cast<std::size_t>(nodeCount));
    for (const auto& [a, b] : edges) {
        // Appended piece by piece: GCC 12 warns falsely about `" " + std::string`.
        references[static_cast<std::size_t>(a)].append(" ").append(std::to_string(b + 1));
        references[static_cast<std::size_t>(b)].append(" ").append(std::to_string(a + 1));
    }
    std::string text = std::to_string(nodeCount);
    text.append(" ").append(std::to_string(edges.size())).append("\n");
    for (const std::string& line : references) {
        text.append("0 0 0").append(line).append("\n");
    }
    MemorySource source(text);
    return readLayout(source, "test.3dlayout");
}

} // namespace l2v::testing
