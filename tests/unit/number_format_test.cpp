#include "tests/support/reference_fixed.hpp"
#include "tests/support/splitmix64.hpp"
#include "vrml/number_format.hpp"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

std::string fast(double value) {
    char text[l2v::kMaxFixedLength];
    return {text, l2v::writeFixed(text, value)};
}

std::string exact(double value) {
    char text[l2v::kMaxFixedLength];
    return {text, l2v::writeFixedExact(text, value)};
}

using Random = l2v::testing::SplitMix64;

// How many random values the comparisons try; raise it to check far more values.
long sampleCount(long standard) {
    const char* requested = std::getenv("L2V_FORMAT_SAMPLES");
    return requested != nullptr ? std::atol(requested) : standard;
}

void expectSameAsPrintf(double value) {
    const std::string expected = l2v::testing::referenceFixed(value);
    ASSERT_EQ(fast(value), expected) << std::hexfloat << value;
}

} // namespace

TEST(FixedFormat, SpecialValues) {
    EXPECT_EQ(fast(0.0), "0.000000");
    EXPECT_EQ(fast(-0.0), "0.000000");
    EXPECT_EQ(fast(20.0), "20.000000");
    EXPECT_EQ(fast(-1.5), "-1.500000");
    EXPECT_EQ(fast(-1e-9), "-0.000000");
    EXPECT_EQ(fast(0.0000005), "0.000000"); // just below the tie as a double
    EXPECT_EQ(fast(0.0078125), "0.007812"); // an exact tie rounds to even
    EXPECT_EQ(fast(0.0234375), "0.023438");
    EXPECT_EQ(fast(1e300).size(), 301U + 7U);
    EXPECT_EQ(fast(-std::numeric_limits<double>::max()),
              l2v::testing::referenceFixed(-std::numeric_limits<double>::max()));
    EXPECT_EQ(fast(std::numeric_limits<double>::denorm_min()), "0.000000");
}

TEST(FixedFormat, ExactConversionMatchesPrintf) {
    Random random(7);
    for (long i = 0; i < sampleCount(200000); ++i) {
        const double value =
            std::ldexp(random.unit() - 0.5, static_cast<int>(random.next() % 120) - 40);
        ASSERT_EQ(exact(value), l2v::testing::referenceFixed(value)) << std::hexfloat << value;
    }
}

// Exact ties at six decimals are the odd multiples of 1/128; each and its neighbours.
TEST(FixedFormat, EveryTieClassAndItsNeighbours) {
    Random random(11);
    for (long i = 0; i < sampleCount(300000); ++i) {
        const auto odd =
            static_cast<double>((random.next() % (std::uint64_t{1} << (i % 48 + 1))) * 2 + 1);
        const double tie = odd / 128.0;
        for (const double value : {tie, std::nextafter(tie, 0.0), std::nextafter(tie, 1e300)}) {
            expectSameAsPrintf(value);
            expectSameAsPrintf(-value);
        }
    }
}

TEST(FixedFormat, ValuesNearHalfMicros) {
    Random random(13);
    for (long i = 0; i < sampleCount(300000); ++i) {
        const double micros = std::floor(random.unit() * std::ldexp(1.0, static_cast<int>(i % 50)));
        const double value = (micros + 0.5) / 1e6;
        expectSameAsPrintf(value);
        expectSameAsPrintf(std::nextafter(value, 0.0));
        expectSameAsPrintf(-std::nextafter(value, 1e300));
    }
}

// Where the integer part gains a digit and where short values end, rounding moves values
// across the boundary: 9.9999995 prints as 10.000000, 99.9999995 as 100.000000.
TEST(FixedFormat, ValuesAroundDigitBoundaries) {
    for (const double boundary : {1.0, 10.0, 99.999998, 100.0, 1000.0}) {
        for (double offset = 1e-5; offset > 1e-15; offset /= 3) {
            for (const double value :
                 {boundary - offset, boundary + offset, boundary - 5e-7,
                  std::nextafter(boundary - 5e-7, 0.0), std::nextafter(boundary - 5e-7, 1e300)}) {
                expectSameAsPrintf(value);
                expectSameAsPrintf(-value);
            }
        }
    }
}

TEST(FixedFormat, RandomValuesOfEveryScale) {
    Random random(17);
    for (long i = 0; i < sampleCount(1000000); ++i) {
        const int exponent = static_cast<int>(random.next() % 80) - 40;
        expectSameAsPrintf(std::ldexp(random.unit() * 2 - 1, exponent));
    }
}

TEST(FixedFormat, RandomBitPatterns) {
    Random random(19);
    for (long i = 0; i < sampleCount(300000); ++i) {
        double value = 0;
        const std::uint64_t bits = random.next();
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value)) {
            expectSameAsPrintf(value);
        }
    }
}

TEST(DecimalFormat, Labels) {
    char text[12];
    EXPECT_EQ(std::string(text, l2v::writeDecimal(text, 0)), "0");
    EXPECT_EQ(std::string(text, l2v::writeDecimal(text, 10)), "10");
    EXPECT_EQ(std::string(text, l2v::writeDecimal(text, 4294967295U)), "4294967295");
}

// Merged meshes write their vertices with four decimals at most: within 5e-5 of the value, in
// the shortest form that says so.
TEST(FourDecimals, RoundsToFourDecimalsWithoutTrailingZeros) {
    const auto text = [](double value) {
        char buffer[l2v::kMaxFourDecimalsLength];
        return std::string(buffer, l2v::writeFourDecimals(buffer, value));
    };
    EXPECT_EQ(text(1.5), "1.5");
    EXPECT_EQ(text(-0.0625), "-0.0625");
    EXPECT_EQ(text(3.0), "3");
    EXPECT_EQ(text(-0.00004), "0");
    EXPECT_EQ(text(12.34567), "12.3457");
    EXPECT_EQ(text(-9.99996), "-10");
    EXPECT_EQ(text(1e12), "1000000000000");
    l2v::testing::SplitMix64 random(5);
    for (int i = 0; i < 200000; ++i) {
        const double value = random.between(-1000, 1000);
        const std::string written = text(value);
        EXPECT_LE(std::fabs(std::strtod(written.c_str(), nullptr) - value), 5e-5 + 1e-12)
            << written;
        ASSERT_TRUE(written.find('.') == std::string::npos || written.back() != '0') << written;
    }
}
