#include "scene/colouring.hpp"
#include "scene/palette.hpp"

#include <gtest/gtest.h>

namespace {

using l2v::ColourBy;
using l2v::Colouring;
using l2v::kPalette;

TEST(Colouring, RanksBySizeThenFirstNodeAndAnswersPerNodeAndEdge) {
    const Colouring colouring =
        l2v::colourByClasses(ColourBy::community, "t", {40, 2, 40, 2, 7, 7, 40}, false);
    EXPECT_EQ(colouring.nodeClass(0), 0);
    EXPECT_EQ(colouring.nodeClass(1), 1);
    EXPECT_EQ(colouring.nodeClass(4), 2);
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
