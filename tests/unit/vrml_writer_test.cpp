#include "vrml/vrml_writer.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::size_t countOf(const std::string& text, const std::string& piece) {
    std::size_t count = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos;
         at = text.find(piece, at + 1)) {
        ++count;
    }
    return count;
}

std::string oneNode(bool showLabels, std::int32_t count, std::uint32_t label) {
    l2v::StringSink sink;
    l2v::VrmlWriter writer(sink, l2v::DrawingStyle{}, showLabels);
    writer.writeNode(-1.5, 0.0, 2.25, count, label);
    writer.finish();
    return sink.text();
}

} // namespace

TEST(NodeBlock, TwentyNineLinesWithLabel) {
    const std::string block = oneNode(true, 1, 11);
    EXPECT_EQ(countOf(block, "\n"), 29U);
    EXPECT_NE(block.find("\n                string [ \"11\" ]\n"), std::string::npos);
    EXPECT_NE(block.find("\n                    size 0.600000\n"), std::string::npos);
    EXPECT_EQ(countOf(block, "transparency"), 1U); // the label has none
    EXPECT_NE(block.find("radius 0.200000"), std::string::npos);
}

TEST(NodeBlock, RadiusBeyondTheCachedCounts) {
    EXPECT_NE(oneNode(false, 1000000, 0).find("radius 200.000000\n"), std::string::npos);
}

TEST(Writer, StyleTextsAreWrittenAsStored) {
    l2v::DrawingStyle style;
    style.edgeColour = {0.1F, 0.2F, 0.3F};
    style.edgeRadius = 0.25;
    style.nodeRadius = 0.5;
    l2v::StringSink sink;
    l2v::VrmlWriter writer(sink, style, false);
    writer.writeEdge(l2v::EdgeGeometry{0, 0, 0, 3, 1, 0, 0, 0});
    writer.finish();
    EXPECT_NE(sink.text().find("diffuseColor 0.1 0.2 0.3\n"), std::string::npos);
    EXPECT_NE(sink.text().find("height 2.000000\n"), std::string::npos);
    EXPECT_NE(sink.text().find("radius 0.250000\n"), std::string::npos);
}

TEST(Writer, ManyBlocksCrossBufferBoundariesIntact) {
    l2v::StringSink single;
    {
        l2v::VrmlWriter writer(single, l2v::DrawingStyle{}, false);
        writer.writeEdge(l2v::EdgeGeometry{1.25, -2.5, 3, 7, 1, -1, 0.5, -0.25});
        writer.finish();
    }
    l2v::StringSink many;
    l2v::VrmlWriter writer(many, l2v::DrawingStyle{}, false);
    constexpr int kBlocks = 5000;
    for (int i = 0; i < kBlocks; ++i) {
        writer.writeEdge(l2v::EdgeGeometry{1.25, -2.5, 3, 7, 1, -1, 0.5, -0.25});
    }
    writer.finish();
    std::string expected;
    for (int i = 0; i < kBlocks; ++i) {
        expected += single.text();
    }
    EXPECT_EQ(many.text(), expected);
}

TEST(Writer, FrameBlocks) {
    l2v::StringSink sink;
    l2v::VrmlWriter writer(sink, l2v::DrawingStyle{}, false);
    writer.writeWorldInfo("T", "I");
    writer.writeViewpoint(20.0);
    writer.writeBackground(l2v::Rgb{0, 0, 0});
    writer.writeTrailer();
    writer.finish();
    EXPECT_EQ(sink.text(),
              "WorldInfo {\n    title \" T \"\n    info \" I \"\n}\n"
              "Viewpoint {\n    description \"home\"\n    position 0.0 0.0 20.000000\n}\n"
              "Background {\n    skyColor 0 0 0\n}\n"
              "\n# End of file!\n");
}

// A label alone in a writer made without labels would open a sphere it never closes; a face
// with more corners than the writer's room would write past it.
TEST(Writer, RefusesCallsOutsideItsPreconditions) {
    l2v::StringSink sink;
    l2v::VrmlWriter writer(sink, l2v::DrawingStyle{}, false);
    EXPECT_THROW(writer.writeLabel(0, 0, 0, 1), std::logic_error);
    const std::vector<std::uint16_t> corners(65, 0);
    EXPECT_THROW(writer.writeFace(corners, 0), std::logic_error);
    writer.writeFace(std::span(corners).first(64), 4000000000U);
    writer.finish();
    EXPECT_EQ(countOf(sink.text(), "4000000000 "), 64U);
}
