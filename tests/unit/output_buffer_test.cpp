#include "output/output_buffer.hpp"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using l2v::OutputBuffer;

class RecordingSink : public l2v::ByteSink {
  public:
    void write(const char* data, std::size_t size) override {
        bytes.append(data, size);
        writes.push_back(size);
    }
    std::string bytes;
    std::vector<std::size_t> writes;
};

// Reserved blocks and appended texts of many sizes reach the sink whole, in order, in whole
// chunks but for the last write, while the buffer grows from small to a chunk.
TEST(OutputBuffer, GrowsFromSmallAndStillWritesWholeChunks) {
    constexpr std::size_t kLargestBlock = 3000;
    RecordingSink sink;
    std::string expected;
    {
        OutputBuffer out(sink, kLargestBlock);
        std::uint32_t state = 1;
        while (expected.size() < 3 * OutputBuffer::kChunkSize + 12345) {
            state = state * 1103515245U + 12345U;
            const std::size_t size = state % (kLargestBlock + 1);
            const std::string text(size, static_cast<char>('a' + state % 26));
            if (state % 7 == 0) {
                // Now and then a text larger than the first capacity, or than a chunk.
                const std::string longText(state % 3 == 0 ? OutputBuffer::kChunkSize + 17 : 40000,
                                           'z');
                out.append(longText);
                expected += longText;
            } else {
                char* at = out.reserve(size);
                std::memcpy(at, text.data(), size);
                out.commitUpTo(at + size);
                expected += text;
            }
        }
        out.finish();
    }
    ASSERT_EQ(sink.bytes, expected);
    ASSERT_FALSE(sink.writes.empty());
    for (std::size_t i = 0; i + 1 < sink.writes.size(); ++i) {
        EXPECT_EQ(sink.writes[i] % OutputBuffer::kChunkSize, 0U) << "write " << i;
    }
}

TEST(OutputBuffer, SmallOutputIsOneWrite) {
    RecordingSink sink;
    OutputBuffer out(sink, 16);
    out.append("head ");
    char* at = out.reserve(16);
    std::memcpy(at, "block", 5);
    out.commitUpTo(at + 5);
    out.finish();
    EXPECT_EQ(sink.bytes, "head block");
    EXPECT_EQ(sink.writes, std::vector<std::size_t>{10});
}

} // namespace
