#include "scene/size_scale.hpp"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using l2v::Layout;

namespace {

struct Place {
    double x;
    double y;
    double z;
};

// A fitted layout of nodes at `places`, node i listing the 0-based `references[i]`.
Layout layoutOf(const std::vector<Place>& places,
                const std::vector<std::vector<std::int32_t>>& references) {
    Layout layout;
    layout.nodeCount = static_cast<std::int32_t>(places.size());
    for (std::size_t i = 0; i < places.size(); ++i) {
        layout.coordinates.x.push_back(places[i].x);
        layout.coordinates.y.push_back(places[i].y);
        layout.coordinates.z.push_back(places[i].z);
        layout.adjacencyPool.push_back(static_cast<std::int32_t>(i));
        layout.adjacencyPool.insert(layout.adjacencyPool.end(), references[i].begin(),
                                    references[i].end());
    }
    std::size_t at = 0;
    for (std::size_t i = 0; i < places.size(); ++i) {
        const auto count = static_cast<std::int32_t>(1 + references[i].size());
        layout.nodes.push_back({count, layout.adjacencyPool.data() + at});
        at += static_cast<std::size_t>(count);
    }
    return layout;
}

// The width of a sphere of run length `count`.
double width(double count) {
    return 2 * 0.2 * std::sqrt(count);
}

} // namespace

TEST(SizeScale, KeepsTheSizesWithoutEdgesOfAnyLength) {
    EXPECT_EQ(l2v::suggestedSizeScale(layoutOf({{0, 0, 0}, {0.01, 0, 0}}, {{}, {}})), 1.0);
    EXPECT_EQ(l2v::suggestedSizeScale(layoutOf({{1, 1, 1}, {1, 1, 1}}, {{1}, {0}})), 1.0);
}

TEST(SizeScale, KeepsSpheresThatLeaveTheEdgesMiddleThirdBare) {
    const double edge = 3 * width(2);
    EXPECT_EQ(l2v::suggestedSizeScale(layoutOf({{0, 0, 0}, {0, edge, 0}}, {{1}, {0}})), 1.0);
}

// Five nodes a unit apart on a line: edges of length 1, run lengths 2, 3, 3, 3, 2.
TEST(SizeScale, ShrinksTheMedianSphereToAThirdOfTheMedianEdge) {
    const Layout chain = layoutOf({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}},
                                  {{1}, {0, 2}, {1, 3}, {2, 4}, {3}});
    EXPECT_DOUBLE_EQ(l2v::suggestedSizeScale(chain), 1.0 / 3 / width(3));
}

// Edges 0.1 and 0.2 long, run lengths 2, 3, 2: the upper middle of two edges, the middle node.
TEST(SizeScale, TakesTheUpperMiddleOfAnEvenSample) {
    const Layout pair = layoutOf({{0, 0, 0}, {0, 0, 0.1}, {0, 0, 0.3}}, {{1}, {0, 2}, {1}});
    EXPECT_DOUBLE_EQ(l2v::suggestedSizeScale(pair), 0.2 / 3 / width(2));
}

// 150,000 separate pairs whose edges alternate between 0.1 and 0.3 long: every second edge
// is sampled, as the page samples them, so the median is 0.1 where all edges give 0.3.
TEST(SizeScale, SamplesEveryKthEdgeOfALargeLayout) {
    constexpr std::int32_t kPairs = 150000;
    std::vector<Place> places;
    std::vector<std::vector<std::int32_t>> references;
    for (std::int32_t k = 0; k < kPairs; ++k) {
        places.push_back({10.0 * k, 0, 0});
        places.push_back({10.0 * k, k % 2 == 0 ? 0.1 : 0.3, 0});
        references.push_back({2 * k + 1});
        references.push_back({2 * k});
    }
    EXPECT_DOUBLE_EQ(l2v::suggestedSizeScale(layoutOf(places, references)), 0.1 / 3 / width(2));
}

TEST(SizeScale, FactorOfEachRequest) {
    const Layout chain = layoutOf({{0, 0, 0}, {1e-9, 0, 0}}, {{1}, {0}});
    EXPECT_FALSE(l2v::sizeFactor(chain, {}).has_value());
    EXPECT_EQ(l2v::sizeFactor(chain, {l2v::SizeBy::factor, 2.5}), 2.5);
    // The rule asks for 1e-9 / 3 / width(2); auto stops at the smallest factor.
    EXPECT_EQ(l2v::sizeFactor(chain, {l2v::SizeBy::automatic, 1.0}), l2v::kSmallestSizeFactor);
}
