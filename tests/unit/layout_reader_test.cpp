#include "common/failure.hpp"
#include "layout/layout_reader.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using l2v::Layout;

namespace {

Layout read(const std::string& text) {
    l2v::MemorySource source(text);
    return l2v::readLayout(source, "g.3dlayout");
}

std::vector<std::int32_t> runOf(const Layout& layout, std::int32_t node) {
    const l2v::NodeEntry& entry = layout.nodes[static_cast<std::size_t>(node)];
    return {entry.adjacency, entry.adjacency + entry.count};
}

// A source that hands out its bytes a few at a time, as a pipe might.
class TrickleSource : public l2v::ByteSource {
  public:
    explicit TrickleSource(std::string text) : text_(std::move(text)) {}
    std::size_t read(char* buffer, std::size_t capacity) override {
        const std::size_t count = std::min({capacity, std::size_t{3}, text_.size() - at_});
        text_.copy(buffer, count, at_);
        at_ += count;
        return count;
    }
    std::optional<std::uint64_t> sizeHint() const override { return std::nullopt; }

  private:
    std::string text_;
    std::size_t at_ = 0;
};

} // namespace

TEST(LayoutReader, RunsLieBackToBackInOnePool) {
    const Layout layout = read("%\n% comment\n3 2\n0 0 0 2\n1 0 0 1 3\n2 0 0 2\n");
    ASSERT_EQ(layout.nodeCount, 3);
    EXPECT_EQ(runOf(layout, 0), (std::vector<std::int32_t>{0, 1}));
    EXPECT_EQ(runOf(layout, 1), (std::vector<std::int32_t>{1, 0, 2}));
    EXPECT_EQ(runOf(layout, 2), (std::vector<std::int32_t>{2, 1}));
    EXPECT_EQ(layout.adjacencyPool.size(), 7U);
    EXPECT_EQ(layout.nodes[0].adjacency, layout.adjacencyPool.data());
    EXPECT_EQ(layout.coordinates.x, (std::vector<double>{0, 1, 2}));
}

TEST(LayoutReader, PoolGrowsPastTheHeaderEdgeCount) {
    const Layout layout = read("2 0\n0 0 0 2 2 2 2 2\n1 1 1 1 1 1\n");
    EXPECT_EQ(runOf(layout, 1), (std::vector<std::int32_t>{1, 0, 0, 0}));
    EXPECT_EQ(layout.nodes[1].adjacency, layout.adjacencyPool.data() + 6);
}

TEST(LayoutReader, ByteOrderMarkLineEndingsAndExtraLines) {
    const Layout layout = read("\xEF\xBB\xBF%c\r\n1 0\r\n4 5 6\r\nignored trailing line\n");
    EXPECT_EQ(layout.coordinates.z[0], 6.0);
    EXPECT_EQ(layout.nodes[0].count, 1);
}

TEST(LayoutReader, LastLineWithoutNewline) {
    EXPECT_EQ(read("1 0\n4 5 6").coordinates.x[0], 4.0);
}

TEST(LayoutReader, HeaderTakesLeadingIntegersOnly) {
    const Layout layout = read("  2\t1 trailing words\n0 0 0\n1 1 1\n");
    EXPECT_EQ(layout.nodeCount, 2);
}

TEST(LayoutReader, PercentLineAfterTheHeaderIsData) {
    EXPECT_THROW(read("1 0\n% not a comment\n"), l2v::Failure);
}

TEST(LayoutReader, LinesLongerThanTheReadBlock) {
    std::string line = "1 2 3";
    for (int i = 0; i < 400000; ++i) {
        line += " 2";
    }
    const Layout layout = read("2 1\n" + line + "\n0 0 0 1\n");
    EXPECT_EQ(layout.nodes[0].count, 400001);
    EXPECT_EQ(layout.coordinates.x[1], 0.0);
}

TEST(LayoutReader, NulByteEndsTheLine) {
    const Layout layout = read(std::string("2 1\n0 0 0 2\0 junk 9\n1 1 1\n", 26));
    EXPECT_EQ(runOf(layout, 0), (std::vector<std::int32_t>{0, 1}));
}

TEST(LayoutReader, SourceWithoutKnownSizeReadInSmallPieces) {
    TrickleSource source("\xEF\xBB\xBF% x\n2 1\n0 0 0 2\n1 1 1 1");
    const Layout layout = l2v::readLayout(source, "pipe");
    EXPECT_EQ(runOf(layout, 1), (std::vector<std::int32_t>{1, 0}));
}

TEST(LayoutReader, LyingHeaderDoesNotReserveForItsClaims) {
    try {
        read("2000000000 2000000000\n0 0 0\n");
        FAIL() << "accepted";
    } catch (const l2v::Failure& failure) {
        EXPECT_STREQ(failure.what(), "g.3dlayout ends after 1 of 2000000000 node lines.");
    }
}

TEST(HeaderLine, Counts) {
    EXPECT_EQ(l2v::parseHeader("3 2")->edgeCount, 2);
    EXPECT_EQ(l2v::parseHeader("+3 -2")->edgeCount, -2);
    EXPECT_FALSE(l2v::parseHeader("3"));
    EXPECT_FALSE(l2v::parseHeader("3,2"));
    EXPECT_FALSE(l2v::parseHeader("x 2"));
    EXPECT_FALSE(l2v::parseHeader("3 99999999999"));
}

TEST(LayoutReader, EmptySourceHasNoHeader) {
    l2v::MemorySource source{std::string_view{}};
    try {
        l2v::readLayout(source, "x");
        FAIL() << "accepted";
    } catch (const l2v::Failure& failure) {
        EXPECT_STREQ(failure.what(), "no header in x.");
    }
}
