// The pieces of the HTML page the converter writes itself: text escaped for HTML, and the
// scene data as base64.
#include "html/base64_stream.hpp"
#include "html/html_text.hpp"
#include "output/byte_sink.hpp"

#include <gtest/gtest.h>

namespace l2v {
namespace {

TEST(HtmlText, EscapesWhatCouldEndTextOrStartMarkup) {
    EXPECT_EQ(escapeHtmlText(R"(<a href="x">Tom & 'Jerry'</a>)"),
              "&lt;a href=&quot;x&quot;&gt;Tom &amp; &#39;Jerry&#39;&lt;/a&gt;");
    EXPECT_EQ(escapeHtmlText("graph \xC3\xA9t\xC3\xA9.3dlayout"),
              "graph \xC3\xA9t\xC3\xA9.3dlayout");
}

std::string encodeWords(std::initializer_list<std::uint32_t> words) {
    StringSink sink;
    OutputBuffer out(sink, Base64Stream::kLargestBlock);
    Base64Stream data(out);
    for (const std::uint32_t word : words) {
        data.putWord(word);
    }
    data.finish();
    out.finish();
    return sink.text();
}

// Four bytes a word, little-endian: one, two and three groups of three bytes, with the two
// kinds of padding.
TEST(Base64Stream, EncodesWordsLittleEndianWithPadding) {
    EXPECT_EQ(encodeWords({}), "");
    EXPECT_EQ(encodeWords({0x626F6F66}), "Zm9vYg==");                 // "foob"
    EXPECT_EQ(encodeWords({0x626F6F66, 0x00007261}), "Zm9vYmFyAAA="); // "foobar\0\0"
    EXPECT_EQ(encodeWords({0x626F6F66, 0x2172616D, 0x3F3F3F3F}), "Zm9vYm1hciE/Pz8/");
}

// Data longer than one staged block comes out whole, in order, and as long as promised.
TEST(Base64Stream, LongDataSpansBlocks) {
    StringSink sink;
    OutputBuffer out(sink, Base64Stream::kLargestBlock);
    Base64Stream data(out);
    constexpr std::uint32_t kWords = 100000;
    for (std::uint32_t i = 0; i < kWords; ++i) {
        data.putWord(0x66666666);
    }
    data.finish();
    out.finish();
    const std::string& text = sink.text();
    ASSERT_EQ(text.size(), Base64Stream::encodedLength(4 * kWords));
    // 0x66 repeated encodes as the repeating "ZmZm"; the last group holds one byte.
    EXPECT_EQ(text.find_first_not_of("Zm"), text.size() - 3);
    EXPECT_EQ(text.substr(text.size() - 4), "Zg==");
}

} // namespace
} // namespace l2v
