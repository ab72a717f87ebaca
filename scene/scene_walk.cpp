#include "scene/scene_walk.hpp"

namespace l2v {

std::size_t countDrawnEdges(const Layout& layout) {
    std::size_t count = 0;
    forEachEdgeEnds(layout, [&count](std::uint32_t, std::uint32_t) { ++count; });
    return count;
}

} // namespace l2v
