#include "common/failure.hpp"
#include "layout/fitting.hpp"
#include "scene/scene_switches.hpp"

#include <gtest/gtest.h>

using l2v::Coordinates;

namespace {

l2v::Layout layoutOf(Coordinates coordinates) {
    l2v::Layout layout;
    layout.nodeCount = static_cast<std::int32_t>(coordinates.x.size());
    layout.coordinates = std::move(coordinates);
    layout.sourcePath = "g.3dlayout";
    return layout;
}

} // namespace

TEST(Fitting, ScalesByTheZRangeAndCentresOnTheMean) {
    Coordinates at{{0, 5}, {0, 0}, {0, 10}};
    l2v::scaleLayout(at, 2, 20.0);
    EXPECT_EQ(at.x, (std::vector<double>{0, 10}));
    EXPECT_EQ(at.z, (std::vector<double>{0, 20}));
    l2v::centreLayout(at, 2);
    EXPECT_EQ(at.x, (std::vector<double>{-5, 5}));
    EXPECT_EQ(at.z, (std::vector<double>{-10, 10}));
}

TEST(Fitting, CentroidIsTheMeanNotTheBoxMiddle) {
    Coordinates at{{0, 0, 3}, {0, 0, 0}, {0, 0, 3}};
    l2v::scaleLayout(at, 3, 20.0);
    l2v::centreLayout(at, 3);
    EXPECT_DOUBLE_EQ(at.z[0], -20.0 / 3);
    EXPECT_DOUBLE_EQ(at.z[2], 40.0 / 3);
}

TEST(Fitting, FlatLayoutUsesTheLargerOfTheXAndYRanges) {
    Coordinates at{{1, 2}, {0, 4}, {7, 7}};
    l2v::scaleLayout(at, 2, 20.0);
    EXPECT_EQ(at.x, (std::vector<double>{0, 5}));
    EXPECT_EQ(at.y, (std::vector<double>{0, 20}));
    EXPECT_EQ(at.z, (std::vector<double>{0, 0}));
}

TEST(Fitting, LayoutWithoutAnyRangeCollapsesToTheOrigin) {
    Coordinates at{{3, 3}, {-4, -4}, {5, 5}};
    l2v::scaleLayout(at, 2, 20.0);
    EXPECT_EQ(at.x, (std::vector<double>{0, 0}));
    EXPECT_EQ(at.y, (std::vector<double>{0, 0}));
}

TEST(Fitting, NegativeCoordinatesShiftToZero) {
    Coordinates at{{-3, -1}, {-8, -6}, {-2, -1}};
    l2v::scaleLayout(at, 2, 20.0);
    EXPECT_EQ(at.x, (std::vector<double>{0, 40}));
    EXPECT_EQ(at.y, (std::vector<double>{0, 40}));
    EXPECT_EQ(at.z, (std::vector<double>{0, 20}));
}

TEST(Fitting, RefusesPositionsThatWouldNotBeFinite) {
    l2v::Layout overflow = layoutOf({{-1e308, 1e308}, {0, 0}, {0, 1}});
    EXPECT_THROW(l2v::fitLayout(overflow, 20.0, l2v::kLargestSceneCoordinate), l2v::Failure);
    l2v::Layout tinyDepth = layoutOf({{0, 1e200}, {0, 0}, {0, 1e-200}});
    EXPECT_THROW(l2v::fitLayout(tinyDepth, 20.0, l2v::kLargestSceneCoordinate), l2v::Failure);
}

TEST(Fitting, AcceptsAWideButDrawableLayout) {
    l2v::Layout wide = layoutOf({{0, 1e100}, {0, 0}, {0, 1}});
    l2v::fitLayout(wide, 20.0, l2v::kLargestSceneCoordinate);
    EXPECT_DOUBLE_EQ(wide.coordinates.x[1], 1e101);
}

TEST(Fitting, PositionsNearTheEndsOfTheDoubleRangeStillFit) {
    l2v::Layout extreme = layoutOf({{0, 5e307}, {0, 0}, {-1e308, 1e308}});
    l2v::fitLayout(extreme, 20.0, l2v::kLargestSceneCoordinate);
    EXPECT_DOUBLE_EQ(extreme.coordinates.z[0], -10.0);
    EXPECT_DOUBLE_EQ(extreme.coordinates.z[1], 10.0);
    EXPECT_DOUBLE_EQ(extreme.coordinates.x[1], 2.5);
}
