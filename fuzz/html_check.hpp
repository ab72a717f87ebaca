#pragma once

#include "layout/layout.hpp"
#include "layout/node_table.hpp"

#include <string_view>

namespace fuzz {

// Checks the web page written for a fitted layout: it is whole, and its scene data decodes to
// the right header, node and edge counts and sizes, with every position finite and every
// edge joining two nodes of the layout; with `names`, the page's node table reads back as
// their headers and every node's cells, name first.
void checkHtml(std::string_view page, const l2v::Layout& layout, const l2v::NodeTable& names);

} // namespace fuzz
