#include "plain_line_check.hpp"

#include "common/failure.hpp"
#include "fuzz_check.hpp"
#include "layout/node_line.hpp"
#include "layout/plain_node_line.hpp"
#include "tests/support/same_bits.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {
namespace {

using l2v::testing::sameBits;

// Small enough that generated references often fall on both sides of it.
constexpr std::int32_t kNodeCount = 100;

bool sameBits(const l2v::Point& a, const l2v::Point& b) {
    return sameBits(a.x, b.x) && sameBits(a.y, b.y) && sameBits(a.z, b.z);
}

void checkLine(std::string_view line) {
    l2v::Point quick;
    std::vector<std::int32_t> quickReferences;
    if (!l2v::parsePlainNodeLine(line, kNodeCount, quick, quickReferences)) {
        return;
    }
    static const std::string kSource = "fuzz.3dlayout";
    l2v::Point general;
    std::vector<std::int32_t> generalReferences;
    try {
        general = l2v::parseGeneralNodeLine(line, kNodeCount, {kSource, 1}, generalReferences);
    } catch (const l2v::Failure& failure) {
        fail("the quick path accepted a line the general parser refuses", failure.what());
    }
    require(sameBits(quick, general), "the two parsers read different coordinates", line);
    require(quickReferences == generalReferences, "the two parsers read different references",
            line);
}

} // namespace

void checkPlainLinesAgree(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t newline = bytes.find('\n');
        checkLine(bytes.substr(0, newline));
        bytes.remove_prefix(newline == std::string_view::npos ? bytes.size() : newline + 1);
    }
}

} // namespace fuzz
