#include "output/json_number.hpp"
#include "tests/support/splitmix64.hpp"

#include <bit>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

// The glTF JSON holds positions and radii as text: it must read back as the very same float.
TEST(JsonNumber, EveryFiniteFloatReadsBackBitForBit) {
    l2v::testing::SplitMix64 random(3);
    for (int i = 0; i < 200000; ++i) {
        const auto value = std::bit_cast<float>(static_cast<std::uint32_t>(random.next()));
        if (!std::isfinite(value)) {
            continue;
        }
        const std::string text = l2v::jsonFloat(value);
        ASSERT_LE(text.size(), l2v::kMaxJsonFloatLength);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(std::strtof(text.c_str(), nullptr)),
                  std::bit_cast<std::uint32_t>(value))
            << text;
    }
}

TEST(JsonNumber, ShortestTextForTheSceneConstants) {
    EXPECT_EQ(l2v::jsonFloat(0.785398F), "0.785398");
    EXPECT_EQ(l2v::jsonFloat(20.0F), "20");
    EXPECT_EQ(l2v::jsonFloat(0.5F), "0.5");
    EXPECT_EQ(l2v::jsonFloat(-0.0F), "-0");
}
