#pragma once

#include "layout/layout.hpp"

#include <cstdint>
#include <vector>

namespace l2v::bench {

// The community methods the converter was chosen against, on every node of the layout.
std::vector<std::int64_t> multilevelOnNodes(const Layout& layout); // Louvain's
std::vector<std::int64_t> leidenOnNodes(const Layout& layout);

// The modularity of `classes` over the drawn edges, as igraph computes it.
double modularityOf(const Layout& layout, const std::vector<std::int64_t>& classes);

} // namespace l2v::bench
