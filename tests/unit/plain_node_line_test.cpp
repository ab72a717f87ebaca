#include "common/failure.hpp"
#include "layout/node_line.hpp"
#include "layout/plain_node_line.hpp"
#include "tests/support/same_bits.hpp"
#include "tests/support/splitmix64.hpp"

#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

using l2v::testing::sameBits;

using Random = l2v::testing::SplitMix64;
using References = std::vector<std::int32_t>;

constexpr std::int32_t kNodeCount = 5000;
const std::string kSource = "g.3dlayout";

struct Reading {
    l2v::Point position;
    References references;
};

std::optional<Reading> readPlain(std::string_view line) {
    Reading reading;
    if (!l2v::parsePlainNodeLine(line, kNodeCount, reading.position, reading.references)) {
        return std::nullopt;
    }
    return reading;
}

std::optional<Reading> readGeneral(std::string_view line) {
    Reading reading;
    try {
        reading.position =
            l2v::parseGeneralNodeLine(line, kNodeCount, {kSource, 1}, reading.references);
    } catch (const l2v::Failure&) {
        return std::nullopt;
    }
    return reading;
}

std::string digits(Random& random, std::uint64_t count) {
    std::string text;
    for (std::uint64_t i = 0; i < count; ++i) {
        text += static_cast<char>('0' + random.below(10));
    }
    return text;
}

// Fields of the shapes files hold, plain and otherwise, biased towards the plain ones.
std::string field(Random& random) {
    static const std::array<const char*, 14> kOdd = {"+1.5", ".5",  "1e3", "2.5d-1", "-",
                                                     "1/2",  "\\3", "x",   "\x01",   "\x80",
                                                     "\v",   "-0",  "5.",  "\r"};
    switch (random.below(8)) {
    case 0:
        return kOdd[random.below(kOdd.size())];
    case 1:
        return digits(random, 1 + random.below(24)); // up to past the mantissa's reach
    case 2:
        return std::to_string(random.below(2) == 0 ? kNodeCount : kNodeCount + 1);
    case 3:
        return "0";
    default: {
        std::string number = random.below(3) == 0 ? "-" : "";
        number += digits(random, 1 + random.below(5));
        if (random.below(4) != 0) {
            number += '.';
            number += digits(random, random.below(12));
        }
        return number;
    }
    }
}

std::string separator(Random& random) {
    static const std::array<const char*, 5> kSeparators = {" ", ",", "\t", "  ", ", "};
    return kSeparators[random.below(kSeparators.size())];
}

std::string randomLine(Random& random) {
    std::string line = random.below(4) == 0 ? separator(random) : "";
    const std::uint64_t fields = random.below(9);
    for (std::uint64_t i = 0; i < fields; ++i) {
        line += field(random);
        if (i + 1 < fields || random.below(4) == 0) {
            line += separator(random);
        }
    }
    if (random.below(6) == 0) {
        line += "\r";
    }
    return line;
}

} // namespace

TEST(PlainNodeLine, ReadsTheUsualLine) {
    const std::optional<Reading> reading = readPlain("-970.4327897 156.659,-0.5\t12 1 5000\r");
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->position.x, -970.4327897);
    EXPECT_EQ(reading->position.y, 156.659);
    EXPECT_EQ(reading->position.z, -0.5);
    EXPECT_EQ(reading->references, (References{11, 0, 4999}));
}

TEST(PlainNodeLine, LeavesEverythingUnusualToTheGeneralParser) {
    for (const char* line :
         {"1e3 0 0", "+1 0 0", ".5 0 0", "1 2", "1 2 3 5001", "1 2 3 4/5", "1 2 3 -4",
          "1 2 3 4\x01", "1 2 3\r\r", "12345678901234567890 0 0", "1 2 3 00000000001"}) {
        EXPECT_FALSE(readPlain(line)) << line;
    }
}

// Whatever the quick path accepts, the general parser accepts too, with the same bits.
TEST(PlainNodeLine, AgreesWithTheGeneralParserOnRandomLines) {
    Random random(23);
    int accepted = 0;
    for (int i = 0; i < 200000; ++i) {
        const std::string line = randomLine(random);
        const std::optional<Reading> plain = readPlain(line);
        if (!plain) {
            continue;
        }
        ++accepted;
        const std::optional<Reading> general = readGeneral(line);
        ASSERT_TRUE(general) << '"' << line << '"';
        ASSERT_TRUE(sameBits(plain->position.x, general->position.x)) << line;
        ASSERT_TRUE(sameBits(plain->position.y, general->position.y)) << line;
        ASSERT_TRUE(sameBits(plain->position.z, general->position.z)) << line;
        ASSERT_EQ(plain->references, general->references) << line;
    }
    EXPECT_GT(accepted, 10000); // the comparison must not be vacuous
}
