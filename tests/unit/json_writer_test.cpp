#include "gltf/glb_views.hpp"
#include "output/byte_sink.hpp"
#include "output/json_writer.hpp"
#include "output/output_buffer.hpp"

#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace {

// Writes the same small document into `out`: objects and arrays nested, empty and not.
template <class Out> void writeSample(l2v::JsonWriter<Out>& json) {
    json.beginObject();
    json.key("a");
    json.beginArray();
    json.index(1);
    json.number(0.5F);
    json.beginObject();
    json.endObject();
    json.beginArray();
    json.endArray();
    json.string("x");
    json.endArray();
    json.key("b");
    json.indexString(12);
    json.key("c");
    json.beginObject();
    json.key("d");
    json.number(-0.0F);
    json.endObject();
    json.endObject();
}

std::string written(const std::function<void(l2v::JsonWriter<l2v::OutputBuffer>&)>& write) {
    l2v::StringSink sink;
    l2v::OutputBuffer out(sink, l2v::kJsonTokenRoom);
    l2v::JsonWriter<l2v::OutputBuffer> json(out);
    write(json);
    EXPECT_TRUE(json.complete());
    out.finish();
    return sink.text();
}

} // namespace

TEST(JsonWriter, PlacesCommasBetweenValuesAndNothingElse) {
    EXPECT_EQ(written([](auto& json) { writeSample(json); }),
              R"({"a":[1,0.5,{},[],"x"],"b":"12","c":{"d":-0}})");
}

// The glb header states the JSON's length before the JSON is written: measuring must count
// exactly the bytes that writing produces.
TEST(JsonWriter, MeasureCountsTheBytesWritten) {
    l2v::JsonMeasure measure;
    l2v::JsonWriter<l2v::JsonMeasure> json(measure);
    writeSample(json);
    EXPECT_EQ(measure.length(), written([](auto& writer) { writeSample(writer); }).size());
}

TEST(JsonWriter, RefusesMisnestedOrUnquotableText) {
    l2v::JsonMeasure measure;
    l2v::JsonWriter<l2v::JsonMeasure> json(measure);
    EXPECT_THROW(json.endArray(), std::logic_error);
    json.beginArray();
    EXPECT_THROW(json.key("k"), std::logic_error);
    EXPECT_THROW(json.endObject(), std::logic_error);
    EXPECT_THROW(json.key("say \"hi\""), std::logic_error);
    EXPECT_FALSE(json.complete());
    json.endArray();
    EXPECT_TRUE(json.complete());
}

// Users' texts (names, attribute values, file names) reach JSON only through string() and
// textKey(): whatever they hold, the document must stay valid and read back the same.
TEST(JsonWriter, EscapesAnyTextOfAnyLength) {
    const std::string hostile = "say \"hi\" \\ </script>\n\t\x01\x1f\x7f \xd7\xa9";
    EXPECT_EQ(written([&](auto& json) {
                  json.beginObject();
                  json.textKey(hostile);
                  json.string(hostile);
                  json.endObject();
              }),
              R"({"say \"hi\" \\ </script>\u000a\u0009\u0001\u001f)"
              "\x7f \xd7\xa9\":\"say \\\"hi\\\" \\\\ </script>\\u000a\\u0009\\u0001\\u001f\x7f "
              "\xd7\xa9\"}");
    // Longer than one token's room, and escapes falling on every offset of its pieces.
    std::string longText;
    for (int i = 0; i < 500; ++i) {
        longText += i % 7 == 0 ? '"' : static_cast<char>('a' + i % 26);
    }
    const auto writeLong = [&](auto& json) {
        json.beginArray();
        json.string(longText);
        json.string(longText);
        json.endArray();
    };
    const std::string text = written(writeLong);
    std::string expected;
    for (const char c : longText) {
        expected += c == '"' ? std::string("\\\"") : std::string(1, c);
    }
    EXPECT_EQ(text, "[\"" + expected + "\",\"" + expected + "\"]");
    l2v::JsonMeasure measure;
    l2v::JsonWriter<l2v::JsonMeasure> json(measure);
    writeLong(json);
    EXPECT_EQ(measure.length(), text.size());
}

TEST(GlbViews, WritesEachViewPaddedToItsPlannedOffset) {
    l2v::GlbViews views;
    EXPECT_EQ(views.addIndices(3, false,
                               [](l2v::ViewOut& out) {
                                   for (std::uint16_t i = 1; i <= 3; ++i) {
                                       out.index(i);
                                   }
                               }),
              0U);
    EXPECT_EQ(views.addVectors(1, 4, [](l2v::ViewOut& out) { out.floats({1, 2, 3, 4}); }), 1U);
    EXPECT_EQ(views.views()[1].offset, 8U);
    EXPECT_EQ(views.length(), 24U);
    l2v::StringSink sink;
    l2v::OutputBuffer out(sink, l2v::ViewOut::kLargestPiece);
    views.write(out);
    out.finish();
    EXPECT_EQ(sink.text().size(), views.length());
    EXPECT_EQ(sink.text().substr(6, 2), std::string(2, '\0'));
}

TEST(GlbViews, RefusesAViewThatWritesOtherThanItsLength) {
    l2v::GlbViews views;
    views.addVectors(2, 3, [](l2v::ViewOut& out) { out.floats({1, 2, 3}); });
    l2v::StringSink sink;
    l2v::OutputBuffer out(sink, l2v::ViewOut::kLargestPiece);
    EXPECT_THROW(views.write(out), std::logic_error);
}
