#include "layout/number_parse.hpp"
#include "tests/support/splitmix64.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

using l2v::IntegerStatus;
using l2v::parseCoordinate;
using l2v::parseLeadingInteger;

TEST(CoordinateGrammar, DecimalForms) {
    EXPECT_EQ(parseCoordinate("1.5"), 1.5);
    EXPECT_EQ(parseCoordinate("-2e1"), -20.0);
    EXPECT_EQ(parseCoordinate("+5"), 5.0);
    EXPECT_EQ(parseCoordinate(".5"), 0.5);
    EXPECT_EQ(parseCoordinate("5."), 5.0);
    EXPECT_EQ(parseCoordinate("010"), 10.0);
    EXPECT_EQ(parseCoordinate("1E-2"), 0.01);
    EXPECT_EQ(parseCoordinate("0.1"), 0.1);
}

TEST(CoordinateGrammar, FortranExponents) {
    EXPECT_EQ(parseCoordinate("1.5d2"), 150.0);
    EXPECT_EQ(parseCoordinate("1.5D-1"), 0.15);
    EXPECT_EQ(parseCoordinate("+2d+3"), 2000.0);
}

TEST(CoordinateGrammar, ConversionStopsAtTheFirstForeignCharacter) {
    EXPECT_EQ(parseCoordinate("1.5abc"), 1.5);
    EXPECT_EQ(parseCoordinate("1e"), 1.0);
    EXPECT_EQ(parseCoordinate("1e+"), 1.0);
    EXPECT_EQ(parseCoordinate("2.5.3"), 2.5);
    EXPECT_EQ(parseCoordinate("0x1A"), 0.0);
    EXPECT_EQ(parseCoordinate("3-4"), 3.0);
}

TEST(CoordinateGrammar, NoLeadingNumberReadsAsZero) {
    for (const char* text : {"inf", "nan", "Infinity", "-inf", "-", "+", ".", "+-5", "e5", "abc"}) {
        EXPECT_EQ(parseCoordinate(text), 0.0) << text;
    }
}

TEST(CoordinateGrammar, OverflowIsInfiniteAndUnderflowIsZero) {
    EXPECT_TRUE(std::isinf(parseCoordinate("1e999")));
    EXPECT_TRUE(std::isinf(parseCoordinate("-1d400")));
    EXPECT_EQ(parseCoordinate("1e-999"), 0.0);
    EXPECT_GT(parseCoordinate("4e-320"), 0.0); // subnormal, still finite
}

TEST(CoordinateGrammar, LongNumbersAreReadWhole) {
    const std::string digits = "1" + std::string(300, '0') + "d-300";
    EXPECT_EQ(parseCoordinate(digits), 1.0);
    EXPECT_EQ(parseCoordinate("0." + std::string(400, '0') + "1e401"), 1.0);
}

TEST(NeighbourGrammar, LeadingInteger) {
    EXPECT_EQ(parseLeadingInteger("12abc").value, 12);
    EXPECT_EQ(parseLeadingInteger("+7").value, 7);
    EXPECT_EQ(parseLeadingInteger("-3").value, -3);
    EXPECT_EQ(parseLeadingInteger("1.9").value, 1);
    EXPECT_EQ(parseLeadingInteger("2147483647").value, 2147483647);
    EXPECT_EQ(parseLeadingInteger("-2147483648").value, -2147483648LL);
}

TEST(NeighbourGrammar, MissingAndOutOfRange) {
    for (const char* text : {"", "-", "+", "x1", " 1", ".5"}) {
        EXPECT_EQ(parseLeadingInteger(text).status, IntegerStatus::missing) << text;
    }
    for (const char* text : {"2147483648", "-2147483649", "99999999999999999999999"}) {
        EXPECT_EQ(parseLeadingInteger(text).status, IntegerStatus::outOfRange) << text;
    }
}

namespace {

// A decimal number of the kind layout tools write, with any digit count and exponent.
std::string randomDecimal(l2v::testing::SplitMix64& random) {
    std::string text = (random.next() % 3 == 0) ? "-" : "";
    const auto integerDigits = static_cast<int>(random.next() % 12);
    const auto fractionDigits = static_cast<int>(random.next() % 14);
    for (int i = 0; i < integerDigits; ++i) {
        text += static_cast<char>('0' + random.next() % 10);
    }
    if (integerDigits == 0 || fractionDigits > 0) {
        text += '.';
        for (int i = 0; i < std::max(fractionDigits, 1); ++i) {
            text += static_cast<char>('0' + random.next() % 10);
        }
    }
    if (random.next() % 4 == 0) {
        text += "eEdD"[random.next() % 4];
        text += std::to_string(static_cast<int>(random.next() % 61) - 30);
    }
    return text;
}

} // namespace

TEST(CoordinateGrammar, ConversionIsCorrectlyRounded) {
    l2v::testing::SplitMix64 random(23);
    for (int i = 0; i < 300000; ++i) {
        const std::string text = randomDecimal(random);
        std::string standard = text;
        for (char& c : standard) {
            c = (c == 'd' || c == 'D') ? 'e' : c;
        }
        ASSERT_EQ(parseCoordinate(text), std::strtod(standard.c_str(), nullptr)) << text;
    }
}
