#include "scene/colouring.hpp"
#include "scene/palette.hpp"
#include "scene/scene_walk.hpp"
#include "tests/support/edge_layout.hpp"
#include "tests/support/splitmix64.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <utility>

namespace {

using l2v::ColourBy;
using l2v::Colouring;
using l2v::kPalette;
using l2v::kPaletteSize;

TEST(Colouring, RanksBySizeThenFirstNodeAndAnswersPerNodeAndEdge) {
    const Colouring colouring =
        l2v::colourByClasses(ColourBy::community, "t", {40, 2, 40, 2, 7, 7, 40}, false);
    EXPECT_EQ(colouring.classNumber(0), 1U);
    EXPECT_EQ(colouring.classNumber(1), 2U);
    EXPECT_EQ(colouring.classNumber(4), 3U);
    EXPECT_EQ(colouring.nodeColour(6), kPalette[0]);
    EXPECT_EQ(colouring.nodeColour(3), kPalette[1]);
    EXPECT_EQ(colouring.edgeColour(0, 6), kPalette[0]);
    EXPECT_EQ(colouring.edgeColour(0, 1), l2v::DrawingStyle{}.edgeColour);
    ASSERT_EQ(colouring.legend().size(), 3U);
    EXPECT_EQ(colouring.legend()[0].label, "community 1");
    EXPECT_EQ(colouring.legend()[0].nodeCount, 3U);
    EXPECT_EQ(colouring.legend()[2].label, "community 3");
    EXPECT_EQ(colouring.legendEntryOf(5), 2U);
}

TEST(Colouring, ClassesBeyondThePaletteShareOneLegendEntry) {
    std::vector<std::int64_t> classes;
    for (int i = 0; i < 20; ++i) {
        classes.push_back(i);
    }
    const Colouring colouring = l2v::colourByClasses(ColourBy::partitionFile, "t", classes, true);
    ASSERT_EQ(colouring.legend().size(), l2v::kPaletteSize + 1);
    EXPECT_EQ(colouring.legend().back().label, "other (8 classes)");
    EXPECT_EQ(colouring.legend().back().nodeCount, 8U);
    EXPECT_EQ(colouring.legendEntryOf(19), l2v::kPaletteSize);
    EXPECT_EQ(colouring.nodeColour(19), l2v::kOtherColour);
    // Two classes beyond the palette look alike, yet an edge between them is no class edge.
    EXPECT_EQ(colouring.edgeColour(18, 19), l2v::DrawingStyle{}.edgeColour);
}

// Thirteen cliques, every two joined by two edges but 12 and 4 by one: the twelve largest take
// the twelve colours, and the thirteenth the colour of the one it touches least.
TEST(Colouring, TouchingCommunitiesDifferUntilThePaletteRunsOut) {
    std::vector<std::pair<int, int>> edges;
    std::vector<std::int64_t> classes;
    std::vector<int> firsts;
    for (int community = 0; community < 13; ++community) {
        const int size = 20 - community;
        firsts.push_back(static_cast<int>(classes.size()));
        for (int a = 0; a < size; ++a) {
            for (int b = a + 1; b < size; ++b) {
                edges.emplace_back(firsts.back() + a, firsts.back() + b);
            }
            classes.push_back(100 - community); // numbered apart from their ranks
        }
    }
    for (int g = 0; g < 13; ++g) {
        for (int h = g + 1; h < 13; ++h) {
            edges.emplace_back(firsts[g], firsts[h]);
            if (!(g == 4 && h == 12)) {
                edges.emplace_back(firsts[g] + 1, firsts[h] + 1);
            }
        }
    }
    const l2v::Layout layout =
        l2v::testing::layoutWithEdges(static_cast<int>(classes.size()), edges);
    const Colouring colouring = l2v::colourByCommunities(layout, classes);
    for (std::uint32_t g = 0; g < 12; ++g) {
        const auto node = static_cast<std::uint32_t>(firsts[g]);
        EXPECT_EQ(colouring.nodeColour(node), kPalette[g]) << g;
        EXPECT_EQ(colouring.classNumber(node), g + 1);
    }
    const auto last = static_cast<std::uint32_t>(firsts[12]);
    EXPECT_EQ(colouring.nodeColour(last), kPalette[4]);
    EXPECT_EQ(colouring.classNumber(last), 13U);
    // One colour, two communities: an edge between them is no community edge.
    EXPECT_FALSE(colouring.sharesClass(static_cast<std::uint32_t>(firsts[4]), last));
    EXPECT_EQ(colouring.edgeColour(static_cast<std::uint32_t>(firsts[4]), last),
              l2v::DrawingStyle{}.edgeColour);
    EXPECT_TRUE(colouring.sharesClass(last, last + 1));
    EXPECT_EQ(colouring.title(), "colour by community (13 communities; touching ones differ)");
    ASSERT_EQ(colouring.legend().size(), 12U);
    EXPECT_EQ(colouring.legend()[0].label, "colour 1 (1 community)");
    EXPECT_EQ(colouring.legend()[4].label, "colour 5 (2 communities)");
    EXPECT_EQ(colouring.legend()[4].nodeCount, 16U + 8U);
    EXPECT_EQ(colouring.legendEntryOf(last), 4U);
}

// Nodes on a cubic lattice, each edge joining points at most two steps apart on each axis, as
// the benchmarks' local layouts: no node is grey, and at most 1 % of the edges between
// communities join two of one colour.
TEST(Colouring, CommunitiesOfALocalLayoutAllTakePaletteColoursTouchingOnesApart) {
    constexpr int kSide = 40;
    constexpr int kNodes = kSide * kSide * kSide;
    l2v::testing::SplitMix64 random(5);
    std::set<std::pair<int, int>> edges;
    while (edges.size() < std::size_t{4} * kNodes) {
        const int a = static_cast<int>(random.below(kNodes));
        const int x = a % kSide + static_cast<int>(random.below(5)) - 2;
        const int y = a / kSide % kSide + static_cast<int>(random.below(5)) - 2;
        const int z = a / kSide / kSide + static_cast<int>(random.below(5)) - 2;
        const int b = x + kSide * (y + kSide * z);
        if (x >= 0 && x < kSide && y >= 0 && y < kSide && z >= 0 && z < kSide && b != a) {
            edges.insert({std::min(a, b), std::max(a, b)});
        }
    }
    const l2v::Layout layout = l2v::testing::layoutWithEdges(
        kNodes, std::vector<std::pair<int, int>>(edges.begin(), edges.end()));
    const Colouring colouring = l2v::computeColouring(layout, {ColourBy::community, "", ""});

    std::set<std::uint32_t> numbers;
    std::uint64_t legendNodes = 0;
    for (const l2v::LegendEntry& entry : colouring.legend()) {
        legendNodes += entry.nodeCount;
    }
    EXPECT_EQ(legendNodes, static_cast<std::uint64_t>(kNodes));
    for (std::uint32_t node = 0; node < kNodes; ++node) {
        const l2v::Rgb& colour = colouring.nodeColour(node);
        ASSERT_NE(std::find(kPalette.begin(), kPalette.end(), colour), kPalette.end()) << node;
        EXPECT_EQ(colouring.legend()[colouring.legendEntryOf(node)].colour, colour);
        numbers.insert(colouring.classNumber(node));
    }
    EXPECT_GT(numbers.size(), kPaletteSize);
    EXPECT_EQ(*numbers.begin(), 1U);
    EXPECT_EQ(*numbers.rbegin(), numbers.size());
    EXPECT_EQ(colouring.title(), "colour by community (" + std::to_string(numbers.size()) +
                                     " communities; touching ones differ)");

    std::uint64_t between = 0;
    std::uint64_t betweenOneColour = 0;
    l2v::forEachEdgeEnds(layout, [&](std::uint32_t i, std::uint32_t j) {
        EXPECT_EQ(colouring.sharesClass(i, j),
                  colouring.classNumber(i) == colouring.classNumber(j));
        if (!colouring.sharesClass(i, j)) {
            ++between;
            betweenOneColour += colouring.nodeColour(i) == colouring.nodeColour(j) ? 1 : 0;
        }
    });
    EXPECT_GT(between, 0U);
    EXPECT_LE(static_cast<double>(betweenOneColour), 0.01 * static_cast<double>(between))
        << betweenOneColour << " of " << between;
}

TEST(Palette, ColoursAreDistinctAndStandOutOnBlack) {
    for (std::size_t i = 0; i < kPalette.size(); ++i) {
        const l2v::Rgb& a = kPalette[i];
        EXPECT_GT(std::max({a.red, a.green, a.blue}), 0.6F) << i;
        for (std::size_t j = i + 1; j < kPalette.size(); ++j) {
            const l2v::Rgb& b = kPalette[j];
            const float distance =
                std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue);
            EXPECT_GT(distance, 0.25F) << i << " and " << j;
        }
        EXPECT_NE(a, l2v::kOtherColour);
    }
}

TEST(Palette, DegreeMapRunsFromItsFirstToItsLastStop) {
    EXPECT_EQ(l2v::degreeMapColour(0), (l2v::Rgb{0.417F, 0, 0.658F}));
    EXPECT_EQ(l2v::degreeMapColour(1), (l2v::Rgb{0.94F, 0.975F, 0.131F}));
    EXPECT_EQ(l2v::degreeMapColour(-3), l2v::degreeMapColour(0));
    EXPECT_EQ(l2v::degreeMapColour(7), l2v::degreeMapColour(1));
    EXPECT_EQ(l2v::degreeMapColour(0.125), (l2v::Rgb{0.555F, 0.083F, 0.611F}));
}

} // namespace
