#pragma once

#include "html/base64_stream.hpp"
#include "layout/node_table.hpp"

#include <cstdint>

namespace l2v {

// The bytes of the page's names block (html/page_data_format.hpp) for `names`.
std::uint64_t pageNamesBytes(const NodeTable& names, std::uint32_t nodeCount);

// Writes the names block: the name column first, then the attributes in the table's order.
void writePageNames(const NodeTable& names, std::uint32_t nodeCount, Base64Stream& data);

} // namespace l2v
