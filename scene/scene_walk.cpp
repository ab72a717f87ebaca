#include "scene/scene_walk.hpp"

namespace l2v {

std::size_t countDrawnEdges(const Layout& layout) {
    std::size_t count = 0;
    for (std::int32_t i = 0; i < layout.nodeCount; ++i) {
        for (const std::int32_t j : neighbours(layout, i)) {
            count += j > i ? 1 : 0;
        }
    }
    return count;
}

} // namespace l2v
