#include "common/failure.hpp"
#include "layout/node_line.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using l2v::Failure;
using l2v::Point;

namespace {

const std::string kSource = "g.3dlayout";

struct Parsed {
    Point position;
    std::vector<std::int32_t> references;
};

Parsed parse(std::string_view line, std::int32_t nodeCount = 10) {
    Parsed parsed;
    parsed.position = l2v::parseNodeLine(line, nodeCount, {kSource, 7}, parsed.references);
    return parsed;
}

std::string refusal(std::string_view line, std::int32_t nodeCount = 10) {
    try {
        parse(line, nodeCount);
    } catch (const Failure& failure) {
        return failure.what();
    }
    return "accepted";
}

using References = std::vector<std::int32_t>;

} // namespace

TEST(NodeLine, CoordinatesThenOneBasedReferences) {
    const Parsed parsed = parse("1 0 0 1 3");
    EXPECT_EQ(parsed.position.x, 1.0);
    EXPECT_EQ(parsed.references, (References{0, 2}));
}

TEST(NodeLine, CommasEndFieldsLikeBlanks) {
    const Parsed spaced = parse("1.0, 2.0, 3.0, 2, 3");
    EXPECT_EQ(spaced.position.z, 3.0);
    EXPECT_EQ(spaced.references, (References{1, 2}));
    const Parsed joined = parse("1.5,2.0,3.0");
    EXPECT_EQ(joined.position.y, 2.0);
    EXPECT_EQ(joined.position.z, 3.0);
    EXPECT_EQ(parse("0 0 0 2,3").references, (References{1, 2}));
}

TEST(NodeLine, SlashesCutFields) {
    const Parsed parsed = parse("1.5/0.2 -2e1 0 4/7");
    EXPECT_EQ(parsed.position.x, 1.5);
    EXPECT_EQ(parsed.position.y, -20.0);
    EXPECT_EQ(parsed.position.z, 0.0);
    EXPECT_EQ(parsed.references, (References{3}));
    EXPECT_EQ(parse("/2 \\3 1.5\\x //4").references, (References{3}));
    EXPECT_EQ(parse("/2 \\3 1.5\\x //4").position.x, 2.0);
}

TEST(NodeLine, ZeroSelfAndNegativeReferencesAreKept) {
    EXPECT_EQ(parse("0 0 0 0 -4 1").references, (References{-1, -5, 0}));
}

TEST(NodeLine, ListEndsAtControlCharactersAndHighBytes) {
    EXPECT_EQ(parse("0 0 0 2 3\r").references, (References{1, 2}));
    EXPECT_EQ(parse("0 0 0 2 \xC3\xA9 3").references, (References{1}));
    EXPECT_EQ(parse("0 0 0 2 \x01 3").references, (References{1}));
    EXPECT_EQ(parse("\t 0\t0 0\t 2 \t").references, (References{1}));
}

TEST(NodeLine, CoordinateWithoutNumberReadsAsZero) {
    const Parsed parsed = parse("inf nan 0x10");
    EXPECT_EQ(parsed.position.x, 0.0);
    EXPECT_EQ(parsed.position.y, 0.0);
    EXPECT_EQ(parsed.position.z, 0.0);
}

TEST(NodeLine, Refusals) {
    EXPECT_EQ(refusal("1 2"), "too few coordinates in g.3dlayout at line 7.");
    EXPECT_EQ(refusal("1 2 \r"), "too few coordinates in g.3dlayout at line 7.");
    EXPECT_EQ(refusal("1 // 3"), "bad number \"//\" in g.3dlayout at line 7.");
    EXPECT_EQ(refusal("1 2 3 x"), "bad number \"x\" in g.3dlayout at line 7.");
    EXPECT_EQ(refusal("1 2 3 /"), "bad number \"/\" in g.3dlayout at line 7.");
    EXPECT_EQ(refusal("1 2 3 11"), "neighbour 11 in g.3dlayout at line 7 is out of range.");
    EXPECT_EQ(refusal("1 2 3 11/2"), "neighbour 11 in g.3dlayout at line 7 is out of range.");
    EXPECT_EQ(refusal("1 2 3 -2147483648"),
              "neighbour -2147483648 in g.3dlayout at line 7 is out of range.");
    EXPECT_EQ(refusal("1 -1e400 3"), "coordinate -1e400 in g.3dlayout at line 7 is out of range.");
}

TEST(NodeLine, QuotedTextStaysShortAndPrintable) {
    EXPECT_EQ(refusal("1 2 3 x\x1b[2J"), "bad number \"x?[2J\" in g.3dlayout at line 7.");
    EXPECT_EQ(refusal("1 2 3 " + std::string(100, 'q')),
              "bad number \"" + std::string(64, 'q') + "...\" in g.3dlayout at line 7.");
    std::string accents = "x";
    for (int i = 0; i < 40; ++i) {
        accents += "\xC3\xA9";
    }
    EXPECT_EQ(refusal("1 2 3 " + accents),
              "bad number \"" + accents.substr(0, 63) + "...\" in g.3dlayout at line 7.");
    EXPECT_EQ(refusal("1 2 3 " + std::string(70, '9')),
              "neighbour " + std::string(64, '9') + "... in g.3dlayout at line 7 is out of range.");
}

TEST(NodeLine, ReferenceEqualToNodeCountIsTheLastNode) {
    EXPECT_EQ(parse("0 0 0 10", 10).references, (References{9}));
}
