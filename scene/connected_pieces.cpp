#include "scene/connected_pieces.hpp"

#include "scene/scene_walk.hpp"
#include "scene/union_find.hpp"

namespace l2v {

std::vector<std::uint32_t> connectedPieces(const Layout& layout,
                                           const std::vector<std::uint32_t>& group) {
    UnionFind sets(group.size());
    forEachEdgeEnds(layout, [&](std::uint32_t i, std::uint32_t j) {
        if (group[i] == group[j]) {
            sets.unite(i, j);
        }
    });
    constexpr auto kUnnumbered = static_cast<std::uint32_t>(-1);
    std::vector<std::uint32_t> number(group.size(), kUnnumbered);
    std::vector<std::uint32_t> piece(group.size());
    std::uint32_t pieces = 0;
    for (std::uint32_t node = 0; node < group.size(); ++node) {
        std::uint32_t& named = number[sets.root(node)];
        if (named == kUnnumbered) {
            named = pieces++;
        }
        piece[node] = named;
    }
    return piece;
}

} // namespace l2v
