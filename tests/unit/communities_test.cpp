// Communities after the refinement: checked by computations of the test's own, plainly
// written, against random graphs with planted groups.
#include "scene/node_classes.hpp"
#include "scene/scene_walk.hpp"
#include "tests/support/edge_layout.hpp"
#include "tests/support/splitmix64.hpp"

#include <gtest/gtest.h>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace {

using Edges = std::vector<std::pair<int, int>>;

struct Planted {
    int nodeCount = 0;
    Edges edges;
};

// Groups of the given sizes, each pair inside joined with probability `inside`, and `between`
// edges joining random nodes of two different groups.
Planted plantedGroups(const std::vector<int>& sizes, double inside, int between,
                      std::uint64_t seed) {
    l2v::testing::SplitMix64 random(seed);
    Planted planted;
    std::vector<int> firsts;
    for (const int size : sizes) {
        firsts.push_back(planted.nodeCount);
        for (int a = planted.nodeCount; a < planted.nodeCount + size; ++a) {
            for (int b = a + 1; b < planted.nodeCount + size; ++b) {
                if (random.unit() < inside) {
                    planted.edges.emplace_back(a, b);
                }
            }
        }
        planted.nodeCount += size;
    }
    std::set<std::pair<int, int>> drawn(planted.edges.begin(), planted.edges.end());
    for (int added = 0; added < between;) {
        const auto g = static_cast<std::size_t>(random.below(sizes.size()));
        const auto h = static_cast<std::size_t>(random.below(sizes.size()));
        if (g == h) {
            continue;
        }
        const int a =
            firsts[g] + static_cast<int>(random.below(static_cast<std::uint64_t>(sizes[g])));
        const int b =
            firsts[h] + static_cast<int>(random.below(static_cast<std::uint64_t>(sizes[h])));
        if (drawn.insert({std::min(a, b), std::max(a, b)}).second) {
            planted.edges.emplace_back(std::min(a, b), std::max(a, b));
            ++added;
        }
    }
    return planted;
}

// The largest modularity gain any single node has by joining a neighbouring community:
// moving v from c to g changes modularity by (links(v, g) - links(v, c)) / m -
// degree(v) (total(g) - total(c) + degree(v)) / (2 m^2), totals the degrees summed.
double largestGainOfOneMove(int nodeCount, const Edges& edges,
                            const std::vector<std::int64_t>& community) {
    std::vector<std::vector<int>> neighbours(static_cast<std::size_t>(nodeCount));
    for (const auto& [a, b] : edges) {
        neighbours[static_cast<std::size_t>(a)].push_back(b);
        neighbours[static_cast<std::size_t>(b)].push_back(a);
    }
    const auto m = static_cast<double>(edges.size());
    std::map<std::int64_t, double> total;
    for (int v = 0; v < nodeCount; ++v) {
        total[community[static_cast<std::size_t>(v)]] +=
            static_cast<double>(neighbours[static_cast<std::size_t>(v)].size());
    }
    double largest = 0;
    for (int v = 0; v < nodeCount; ++v) {
        const std::vector<int>& around = neighbours[static_cast<std::size_t>(v)];
        const auto degree = static_cast<double>(around.size());
        const std::int64_t own = community[static_cast<std::size_t>(v)];
        std::map<std::int64_t, double> links;
        for (const int w : around) {
            links[community[static_cast<std::size_t>(w)]] += 1;
        }
        for (const auto& [g, count] : links) {
            if (g != own) {
                const double gain = (count - links[own]) / m -
                                    degree * (total[g] - (total[own] - degree)) / (2 * m * m);
                largest = std::max(largest, gain);
            }
        }
    }
    return largest;
}

// Whether the nodes of every community reach each other over edges inside it.
bool everyCommunityIsConnected(int nodeCount, const Edges& edges,
                               const std::vector<std::int64_t>& community) {
    std::vector<std::vector<int>> inside(static_cast<std::size_t>(nodeCount));
    for (const auto& [a, b] : edges) {
        if (community[static_cast<std::size_t>(a)] == community[static_cast<std::size_t>(b)]) {
            inside[static_cast<std::size_t>(a)].push_back(b);
            inside[static_cast<std::size_t>(b)].push_back(a);
        }
    }
    std::vector<bool> reached(static_cast<std::size_t>(nodeCount), false);
    std::set<std::int64_t> started;
    for (int first = 0; first < nodeCount; ++first) {
        if (reached[static_cast<std::size_t>(first)]) {
            continue;
        }
        if (!started.insert(community[static_cast<std::size_t>(first)]).second) {
            return false; // a second piece of a community met before
        }
        std::vector<int> stack{first};
        reached[static_cast<std::size_t>(first)] = true;
        while (!stack.empty()) {
            const int v = stack.back();
            stack.pop_back();
            for (const int w : inside[static_cast<std::size_t>(v)]) {
                if (!reached[static_cast<std::size_t>(w)]) {
                    reached[static_cast<std::size_t>(w)] = true;
                    stack.push_back(w);
                }
            }
        }
    }
    return true;
}

void expectLocallyOptimalAndConnected(const Planted& planted) {
    const l2v::Layout layout = l2v::testing::layoutWithEdges(planted.nodeCount, planted.edges);
    const std::vector<std::int64_t> community = l2v::communityClasses(layout);
    ASSERT_EQ(community.size(), static_cast<std::size_t>(planted.nodeCount));
    // Gains are multiples of 1 / (2 m^2); rounding stays far below one.
    const auto m = static_cast<double>(planted.edges.size());
    EXPECT_LT(largestGainOfOneMove(planted.nodeCount, planted.edges, community), 0.5 / (2 * m * m));
    EXPECT_TRUE(everyCommunityIsConnected(planted.nodeCount, planted.edges, community));
    EXPECT_EQ(l2v::communityClasses(layout), community);
}

TEST(Communities, NoNodeGainsByMovingOnPlantedGroups) {
    const std::vector<int> sizes{12, 14, 16, 18, 20, 22, 24, 26, 28, 30};
    for (std::uint64_t seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE(seed);
        expectLocallyOptimalAndConnected(plantedGroups(sizes, 0.3, 60, seed));
    }
}

TEST(Communities, NoNodeGainsByMovingOnLooseGroups) {
    // Sparse groups with many edges between: many nodes sit near a border.
    const std::vector<int> sizes{40, 50, 60, 70, 80, 90, 100, 110};
    for (std::uint64_t seed = 11; seed <= 14; ++seed) {
        SCOPED_TRACE(seed);
        expectLocallyOptimalAndConnected(plantedGroups(sizes, 0.08, 300, seed));
    }
}

TEST(Communities, NoNodeGainsByMovingOnAGridWithoutGroups) {
    constexpr int kSide = 40;
    Planted grid;
    grid.nodeCount = kSide * kSide;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const int node = y * kSide + x;
            if (x + 1 < kSide) {
                grid.edges.emplace_back(node, node + 1);
            }
            if (y + 1 < kSide) {
                grid.edges.emplace_back(node, node + kSide);
            }
        }
    }
    expectLocallyOptimalAndConnected(grid);
}

} // namespace
