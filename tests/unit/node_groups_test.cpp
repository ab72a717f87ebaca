#include "scene/node_groups.hpp"
#include "scene/scene_walk.hpp"
#include "tests/support/edge_layout.hpp"

#include <gtest/gtest.h>
#include <numeric>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using l2v::testing::layoutWithEdges;

// Nodes of one group reach each other over edges inside the group.
bool groupsAreConnected(const l2v::Layout& layout, const l2v::ContractedGraph& contracted) {
    std::vector<std::uint32_t> parent(contracted.groupOf.size());
    std::iota(parent.begin(), parent.end(), 0U);
    const auto root = [&parent](std::uint32_t node) {
        while (parent[node] != node) {
            node = parent[node];
        }
        return node;
    };
    l2v::forEachEdgeEnds(layout, [&](std::uint32_t i, std::uint32_t j) {
        if (contracted.groupOf[i] == contracted.groupOf[j]) {
            parent[root(i)] = root(j);
        }
    });
    std::set<std::pair<std::uint32_t, std::uint32_t>> groupRoots;
    std::set<std::uint32_t> groups;
    for (std::uint32_t node = 0; node < parent.size(); ++node) {
        groupRoots.insert({contracted.groupOf[node], root(node)});
        groups.insert(contracted.groupOf[node]);
    }
    return groupRoots.size() == groups.size();
}

TEST(NodeGroups, ContractionKeepsEveryEdgesWeightAndEveryNodesDegree) {
    // Two triangles joined by one edge, and a node on its own.
    const l2v::Layout layout =
        layoutWithEdges(7, {{0, 1}, {1, 2}, {0, 2}, {3, 4}, {4, 5}, {3, 5}, {2, 3}});
    const l2v::ContractedGraph contracted = l2v::contractNodeGroups(layout);
    const auto& group = contracted.groupOf;
    EXPECT_EQ(group[0], group[1]);
    EXPECT_EQ(group[0], group[2]);
    EXPECT_EQ(group[3], group[4]);
    EXPECT_EQ(group[3], group[5]);
    EXPECT_NE(group[0], group[3]);
    EXPECT_NE(group[6], group[0]);
    EXPECT_NE(group[6], group[3]);
    EXPECT_EQ(contracted.drawnEdges, 7U);
    EXPECT_EQ(contracted.groupDegrees.size(), 3U);
    EXPECT_DOUBLE_EQ(contracted.groupDegrees[group[0]], 7);
    EXPECT_DOUBLE_EQ(contracted.groupDegrees[group[6]], 0);
    ASSERT_EQ(contracted.weights.size(), 1U);
    EXPECT_DOUBLE_EQ(contracted.weights[0], 1);
    EXPECT_EQ(contracted.ends, (std::vector<std::uint32_t>{group[0], group[3]}));
}

TEST(NodeGroups, GroupsOnALatticeAreConnectedAndJoinedOnceWithTheirEdgeCounts) {
    constexpr int kSide = 30;
    std::vector<std::pair<int, int>> edges;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const int node = y * kSide + x;
            if (x + 1 < kSide) {
                edges.emplace_back(node, node + 1);
            }
            if (y + 1 < kSide) {
                edges.emplace_back(node, node + kSide);
            }
            if (x + 1 < kSide && y + 1 < kSide && (x + y) % 3 == 0) {
                edges.emplace_back(node, node + kSide + 1);
            }
        }
    }
    const l2v::Layout layout = layoutWithEdges(kSide * kSide, edges);
    const l2v::ContractedGraph contracted = l2v::contractNodeGroups(layout);
    EXPECT_TRUE(groupsAreConnected(layout, contracted));
    EXPECT_LT(contracted.groupDegrees.size(), layout.nodes.size() / 2);

    std::size_t joining = 0;
    l2v::forEachEdgeEnds(layout, [&](std::uint32_t i, std::uint32_t j) {
        joining += contracted.groupOf[i] != contracted.groupOf[j] ? 1 : 0;
    });
    EXPECT_DOUBLE_EQ(std::accumulate(contracted.weights.begin(), contracted.weights.end(), 0.0),
                     static_cast<double>(joining));
    std::set<std::pair<std::uint32_t, std::uint32_t>> pairs;
    for (std::size_t k = 0; k < contracted.ends.size(); k += 2) {
        EXPECT_LT(contracted.ends[k], contracted.ends[k + 1]);
        pairs.insert({contracted.ends[k], contracted.ends[k + 1]});
    }
    EXPECT_EQ(pairs.size(), contracted.weights.size());
    EXPECT_DOUBLE_EQ(
        std::accumulate(contracted.groupDegrees.begin(), contracted.groupDegrees.end(), 0.0),
        2.0 * static_cast<double>(edges.size()));
}

} // namespace
