#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace l2v {

// Every node's name, and its attributes when the names came from a table. The cells of all
// rows lie back to back in one block, so a million rows cost one allocation and an offset
// each, not a million strings.
struct NodeTable {
    std::string sourceName;               // the file's name without directories, shown in outputs
    std::vector<std::string> headers;     // one per column; empty texts for a plain list
    std::size_t nameColumn = 0;           // the column that names the nodes
    std::string text;                     // every cell's bytes, row after row
    std::vector<std::uint32_t> cellEnds;  // per cell, row by row: where it ends in `text`
    std::vector<std::uint32_t> rowOfNode; // the row of each node; empty when row i is node i

    // Whether the run has names at all.
    bool present() const { return !headers.empty(); }
    std::size_t columnCount() const { return headers.size(); }

    // Node `node`'s cell of column `column`.
    std::string_view cell(std::uint32_t node, std::size_t column) const {
        const std::size_t row = rowOfNode.empty() ? node : rowOfNode[node];
        const std::size_t at = row * headers.size() + column;
        const std::uint32_t begin = at == 0 ? 0 : cellEnds[at - 1];
        return std::string_view(text).substr(begin, cellEnds[at] - begin);
    }
    std::string_view name(std::uint32_t node) const { return cell(node, nameColumn); }
};

} // namespace l2v
