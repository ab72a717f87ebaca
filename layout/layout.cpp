#include "layout/layout.hpp"

namespace l2v {

void releaseLayout(Layout& layout) {
    layout.coordinates = Coordinates{};
    layout.nodes = std::vector<NodeEntry>{};
    layout.adjacencyPool = std::vector<std::int32_t>{};
    layout.nodeCount = 0;
}

} // namespace l2v
