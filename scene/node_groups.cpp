#include "scene/node_groups.hpp"

#include "scene/adjacency.hpp"
#include "scene/connected_pieces.hpp"
#include "scene/scene_walk.hpp"

#include <algorithm>
#include <numeric>

namespace l2v {
namespace {

constexpr int kSweeps = 2;

// Moving node v from its group into group g changes modularity by a positive factor times
// links(v, g) - degree(v) x degree(g) / (2 x edges), the group degrees taken without v; v
// joins the group where that is largest, staying on a tie, else taking the lowest group.
std::vector<std::uint32_t> moveNodes(const Adjacency& adjacency) {
    const std::uint32_t nodeCount = adjacency.nodeCount();
    std::vector<std::uint32_t> group(nodeCount);
    std::iota(group.begin(), group.end(), 0U);
    const auto twiceEdges = static_cast<double>(adjacency.targets.size());
    if (twiceEdges == 0) {
        return group;
    }
    std::vector<double> groupDegree(nodeCount);
    for (std::uint32_t v = 0; v < nodeCount; ++v) {
        groupDegree[v] = static_cast<double>(adjacency.degree(v));
    }
    std::vector<double> links(nodeCount, 0);
    std::vector<std::uint32_t> touched;
    for (int sweep = 0; sweep < kSweeps; ++sweep) {
        for (std::uint32_t v = 0; v < nodeCount; ++v) {
            const auto degree = static_cast<double>(adjacency.degree(v));
            const std::uint32_t current = group[v];
            groupDegree[current] -= degree;
            touched.clear();
            for (std::uint64_t k = adjacency.offsets[v]; k < adjacency.offsets[v + 1]; ++k) {
                const std::uint32_t g = group[adjacency.targets[k]];
                if (links[g] == 0) {
                    touched.push_back(g);
                }
                links[g] += 1;
            }
            std::uint32_t best = current;
            double bestGain = links[current] - degree * groupDegree[current] / twiceEdges;
            for (const std::uint32_t g : touched) {
                const double gain = links[g] - degree * groupDegree[g] / twiceEdges;
                if (gain > bestGain || (gain == bestGain && best != current && g < best)) {
                    best = g;
                    bestGain = gain;
                }
            }
            for (const std::uint32_t g : touched) {
                links[g] = 0;
            }
            groupDegree[best] += degree;
            group[v] = best;
        }
    }
    return group;
}

// The edges between groups, each pair once with the count of drawn edges it stands for.
void joinGroups(const Layout& layout, ContractedGraph& contracted) {
    std::vector<std::uint64_t> pairs;
    forEachEdgeEnds(layout, [&](std::uint32_t i, std::uint32_t j) {
        const std::uint64_t a = contracted.groupOf[i];
        const std::uint64_t b = contracted.groupOf[j];
        if (a != b) {
            pairs.push_back(std::min(a, b) << 32 | std::max(a, b));
        }
    });
    std::sort(pairs.begin(), pairs.end());
    for (std::size_t k = 0; k < pairs.size();) {
        std::size_t end = k;
        while (end < pairs.size() && pairs[end] == pairs[k]) {
            ++end;
        }
        contracted.ends.push_back(static_cast<std::uint32_t>(pairs[k] >> 32));
        contracted.ends.push_back(static_cast<std::uint32_t>(pairs[k] & 0xFFFFFFFFU));
        contracted.weights.push_back(static_cast<double>(end - k));
        k = end;
    }
}

} // namespace

ContractedGraph contractNodeGroups(const Layout& layout) {
    ContractedGraph contracted;
    {
        const Adjacency adjacency = adjacencyOf(layout);
        contracted.drawnEdges = adjacency.targets.size() / 2;
        contracted.groupOf = connectedPieces(layout, moveNodes(adjacency));
        const std::uint32_t groups =
            contracted.groupOf.empty()
                ? 0
                : *std::max_element(contracted.groupOf.begin(), contracted.groupOf.end()) + 1;
        contracted.groupDegrees.assign(groups, 0);
        for (std::uint32_t node = 0; node < contracted.groupOf.size(); ++node) {
            contracted.groupDegrees[contracted.groupOf[node]] +=
                static_cast<double>(adjacency.degree(node));
        }
    }
    joinGroups(layout, contracted);
    return contracted;
}

} // namespace l2v
