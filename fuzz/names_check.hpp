#pragma once

#include "layout/node_table.hpp"
#include "layout/node_table_reader.hpp"

#include <cstdint>
#include <string_view>

namespace fuzz {

// Whether `text` is UTF-8 (no overlong forms, surrogates or code points beyond U+10FFFF).
bool isUtf8(std::string_view text);

// Checks a refusal of the node table `bytes` read as `form` from `path`: one line, in one of
// the reader's forms for that kind of file, naming the file (and a line of it where it names
// one).
void checkNamesRefusal(std::string_view message, std::string_view bytes, l2v::TableForm form,
                       std::string_view path);

// Checks a node table read as `form` for `nodeCount` nodes: one row per node, cells that are
// UTF-8 and lie back to back, the name column among the columns, and a row of every node.
void checkNodeTable(const l2v::NodeTable& table, l2v::TableForm form, std::uint32_t nodeCount);

// What a node is called in the scene: its name, or its index where it has none.
std::string shownName(const l2v::NodeTable& names, std::uint32_t node);

} // namespace fuzz
