#include "scene/edge_angles.hpp"
#include "tests/support/reference_fixed.hpp"
#include "tests/support/same_bits.hpp"
#include "tests/support/splitmix64.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

using l2v::testing::sameBits;

using Random = l2v::testing::SplitMix64;

// How many random values each comparison tries; raise it to check far more.
long sampleCount(long standard) {
    const char* requested = std::getenv("L2V_ANGLE_SAMPLES");
    return requested != nullptr ? std::atol(requested) : standard;
}

double libraryTilt(double dy, double dz) {
    return -std::atan2(-(dz / dy), 1.0);
}

// Far below the margin the fast angles keep from printing boundaries: if they ever strayed
// this far from the library's values, the margin argument would be in doubt.
constexpr double kCloseEnough = 1e-14;

void expectSwingLikeTheLibrary(double sine) {
    const double fast = l2v::swingAngle(sine);
    const double library = std::asin(sine);
    ASSERT_NEAR(fast, library, kCloseEnough) << std::hexfloat << sine;
    ASSERT_EQ(l2v::testing::referenceFixed(fast), l2v::testing::referenceFixed(library))
        << std::hexfloat << sine;
    ASSERT_EQ(std::signbit(fast), std::signbit(library)) << std::hexfloat << sine;
}

void expectTiltLikeTheLibrary(double dy, double dz) {
    const double fast = l2v::tiltAngle(dy, dz);
    const double library = libraryTilt(dy, dz);
    ASSERT_NEAR(fast, library, kCloseEnough) << std::hexfloat << dy << " " << dz;
    ASSERT_EQ(l2v::testing::referenceFixed(fast), l2v::testing::referenceFixed(library))
        << std::hexfloat << dy << " " << dz;
    ASSERT_EQ(std::signbit(fast), std::signbit(library)) << std::hexfloat << dy << " " << dz;
}

// A random double of random sign and magnitude between 2^low and 2^high.
double randomScale(Random& random, int low, int high) {
    const int exponent =
        low + static_cast<int>(random.below(static_cast<std::uint64_t>(high - low)));
    const double value = std::ldexp(0.5 + 0.5 * random.unit(), exponent);
    return random.below(2) == 0 ? value : -value;
}

} // namespace

TEST(EdgeAngles, SpecialSines) {
    const double tiny = std::numeric_limits<double>::denorm_min();
    for (const double sine : {0.0, -0.0, 1.0, -1.0, 0.5, -0.5, tiny, -tiny, 1e-300,
                              std::nextafter(1.0, 0.0), std::sin(0.3926990816987241)}) {
        expectSwingLikeTheLibrary(sine);
    }
    EXPECT_TRUE(sameBits(l2v::swingAngle(0.0), 0.0));
    EXPECT_TRUE(sameBits(l2v::swingAngle(-0.0), -0.0));
}

TEST(EdgeAngles, SpecialTilts) {
    const double tiny = std::numeric_limits<double>::denorm_min();
    for (const double dy : {1.0, -1.0, 0.0, -0.0, tiny, 1e150, -3.0}) {
        for (const double dz :
             {1.0, -1.0, 0.0, -0.0, tiny, -1e150, 0.41421356237309503, 2.414213562373095, 1e-300}) {
            if (dy != 0.0 || dz != 0.0) {
                expectTiltLikeTheLibrary(dy, dz);
            }
        }
    }
}

// Differences of a few units of the smallest subnormal: their ratios are exact, but products
// with constants that small lose their digits.
TEST(EdgeAngles, SubnormalDifferences) {
    const double tiny = std::numeric_limits<double>::denorm_min();
    for (int a = 0; a <= 80; ++a) {
        for (int b = 0; b <= 80; ++b) {
            if (a != 0 || b != 0) {
                expectTiltLikeTheLibrary(a * tiny, b * tiny);
                expectTiltLikeTheLibrary(-a * tiny, b * tiny);
            }
        }
    }
}

TEST(EdgeAngles, RandomSines) {
    Random random(29);
    for (long i = 0; i < sampleCount(1000000); ++i) {
        expectSwingLikeTheLibrary(random.between(-1.0, 1.0));
        // Close to a quarter turn, where the cosine is computed from a cancellation.
        expectSwingLikeTheLibrary(1.0 - std::ldexp(random.unit(), -static_cast<int>(i % 53)));
        expectSwingLikeTheLibrary(randomScale(random, -1074, 0));
    }
}

TEST(EdgeAngles, RandomTilts) {
    Random random(31);
    for (long i = 0; i < sampleCount(1000000); ++i) {
        expectTiltLikeTheLibrary(random.between(-20.0, 20.0), random.between(-20.0, 20.0));
        expectTiltLikeTheLibrary(randomScale(random, -600, 500), randomScale(random, -600, 500));
        expectTiltLikeTheLibrary(randomScale(random, -1074, -1000),
                                 randomScale(random, -1074, 500));
    }
}

// Within the margin of a value where the printed digits change, the library decides.
bool nearPrintBoundary(double angle) {
    const double micros = std::fabs(angle) * 1e6;
    return std::fabs(micros - std::floor(micros) - 0.5) < 1e-7;
}

// Inputs whose angles lie a hair from where the printed digits change (where the rounding of
// the sine lets them, which it does not close to a quarter turn): the library's own value
// must be used.
TEST(EdgeAngles, NearPrintBoundariesTheLibraryDecides) {
    Random random(37);
    long near = 0;
    const long samples = sampleCount(200000);
    for (long i = 0; i < samples; ++i) {
        const double boundary = (static_cast<double>(random.below(1570796)) + 0.5) * 1e-6;
        const double sine = std::sin(random.below(2) == 0 ? boundary : -boundary);
        const double dz = std::tan(boundary) * (random.below(2) == 0 ? 1.0 : -1.0);
        const double swing = std::asin(sine);
        const double tilt = libraryTilt(1.0, dz);
        if (nearPrintBoundary(swing)) {
            ++near;
            ASSERT_TRUE(sameBits(l2v::swingAngle(sine), swing)) << std::hexfloat << sine;
        }
        if (nearPrintBoundary(tilt)) {
            ++near;
            ASSERT_TRUE(sameBits(l2v::tiltAngle(1.0, dz), tilt)) << std::hexfloat << dz;
        }
        expectSwingLikeTheLibrary(sine);
        expectTiltLikeTheLibrary(1.0, dz);
    }
    EXPECT_GT(near, samples); // most of both kinds land near their boundary
}
