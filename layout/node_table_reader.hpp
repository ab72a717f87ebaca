#pragma once

#include "layout/node_table.hpp"

#include <cstdint>
#include <string>

namespace l2v {

// How a names file is read: a table with a header row when its name ends in ".csv" (RFC 4180)
// or ".tsv" (tab-separated, no quoting), in any case; otherwise one name per line.
enum class TableForm { csv, tsv, nameList };

TableForm tableFormOf(std::string_view path);

// Reads the names file at `path` for a layout of `nodeCount` nodes. A table's name column is
// the first headed "name" or "label" (any case), else the first column other than "node"; a
// column headed "node" gives each row's node as the layout's neighbour lists number it (from
// 1), else rows are in node order; every other column is an attribute. Throws Failure,
// naming the file and the line, when the file cannot be read, is not UTF-8, a quote is not
// closed, a row's field count differs from the header's, a node number is not one of the
// layout's or repeats, or the rows do not number `nodeCount`.
NodeTable readNodeTable(const std::string& path, std::uint32_t nodeCount);

// The same from the file's bytes (taken over: the cells are compacted in place).
NodeTable parseNodeTable(std::string bytes, TableForm form, const std::string& path,
                         std::uint32_t nodeCount);

} // namespace l2v
