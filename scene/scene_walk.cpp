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

namespace detail {

std::vector<double> interleavedPositions(const Coordinates& coordinates) {
    std::vector<double> positions(3 * coordinates.x.size());
    for (std::size_t i = 0; i < coordinates.x.size(); ++i) {
        positions[3 * i] = coordinates.x[i];
        positions[3 * i + 1] = coordinates.y[i];
        positions[3 * i + 2] = coordinates.z[i];
    }
    return positions;
}

} // namespace detail
} // namespace l2v
