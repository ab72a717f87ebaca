#include "scene/community_colours.hpp"

#include "scene/palette.hpp"
#include "scene/scene_walk.hpp"

#include <algorithm>
#include <array>
#include <numeric>

namespace l2v {
namespace {

// The graph of communities: community c's neighbours are neighbour[offsets[c] ..
// offsets[c + 1]), each with the count of drawn edges between the two in `edges`.
struct CommunityGraph {
    std::vector<std::uint64_t> offsets;
    std::vector<std::uint32_t> neighbour;
    std::vector<std::uint64_t> edges;
};

CommunityGraph communityGraph(const Layout& layout, const std::vector<std::int32_t>& rank,
                              std::size_t communityCount) {
    std::vector<std::uint64_t> pairs;
    forEachEdgeEnds(layout, [&](std::uint32_t i, std::uint32_t j) {
        const auto a = static_cast<std::uint64_t>(rank[i]);
        const auto b = static_cast<std::uint64_t>(rank[j]);
        if (a != b) {
            pairs.push_back(a << 32 | b);
            pairs.push_back(b << 32 | a);
        }
    });
    std::sort(pairs.begin(), pairs.end());
    CommunityGraph graph;
    graph.offsets.assign(communityCount + 1, 0);
    for (std::size_t k = 0; k < pairs.size();) {
        std::size_t end = k;
        while (end < pairs.size() && pairs[end] == pairs[k]) {
            ++end;
        }
        ++graph.offsets[(pairs[k] >> 32) + 1];
        graph.neighbour.push_back(static_cast<std::uint32_t>(pairs[k] & 0xFFFFFFFFU));
        graph.edges.push_back(end - k);
        k = end;
    }
    std::partial_sum(graph.offsets.begin(), graph.offsets.end(), graph.offsets.begin());
    return graph;
}

} // namespace

std::vector<std::uint8_t> communityColours(const Layout& layout,
                                           const std::vector<std::int32_t>& rank,
                                           std::size_t communityCount) {
    const CommunityGraph graph = communityGraph(layout, rank, communityCount);
    std::vector<std::uint8_t> colour(communityCount, 0);
    for (std::size_t c = 0; c < communityCount; ++c) {
        std::array<std::uint64_t, kPaletteSize> joining{};
        for (std::uint64_t k = graph.offsets[c]; k < graph.offsets[c + 1]; ++k) {
            if (graph.neighbour[k] < c) { // the larger communities, coloured already
                joining[colour[graph.neighbour[k]]] += graph.edges[k];
            }
        }
        colour[c] = static_cast<std::uint8_t>(std::min_element(joining.begin(), joining.end()) -
                                              joining.begin());
    }
    return colour;
}

} // namespace l2v
