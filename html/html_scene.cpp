#include "html/html_scene.hpp"

#include "common/failure.hpp"
#include "common/file_name.hpp"
#include "html/base64_stream.hpp"
#include "html/html_text.hpp"
#include "html/page_data_format.hpp"
#include "html/page_names.hpp"
#include "html/viewer_page.hpp"
#include "layout/fitting.hpp"
#include "output/json_writer.hpp"
#include "output/output_buffer.hpp"
#include "scene/legend_json.hpp"
#include "scene/scene_walk.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace l2v {
namespace {

using page::kClassNumbersFlag;
using page::kColouredFlag;
using page::kDataMagic;
using page::kDataVersion;
using page::kHeaderWords;
using page::kNamedFlag;
using page::kSharedClassBit;
using page::kShowEdgesFlag;
using page::kShowLabelsFlag;
using page::kSizedFlag;

// V8 holds strings of at most 2^29 - 24 characters (other engines allow more), and the data
// is read as one string from its script element.
constexpr std::uint64_t kLargestDataText = (std::uint64_t{1} << 29) - 24;

constexpr std::string_view kTitleMark = "{{TITLE}}";
constexpr std::string_view kDataMark = "{{DATA}}";
constexpr std::string_view kNamesMark = "{{NAMES}}";

std::uint64_t legendLength(const Colouring& colouring) {
    JsonMeasure measure;
    JsonWriter<JsonMeasure> json(measure);
    writeLegendJson(json, colouring);
    return measure.length();
}

// Whether the page tells each node's class number: communities and components, whose numbers
// the legend does not show once classes share a colour or the grey of "other".
bool numbersClasses(const Colouring& colouring) {
    return colouring.by() == ColourBy::community || colouring.by() == ColourBy::component;
}

constexpr std::uint64_t paddingTo4(std::uint64_t length) {
    return (4 - length % 4) % 4;
}

std::uint64_t payloadBytes(const Layout& layout, std::uint64_t edgeCount,
                           const Colouring& colouring) {
    const auto nodes = static_cast<std::uint64_t>(layout.nodeCount);
    const std::uint64_t scene =
        4 * (std::uint64_t{kHeaderWords} + 3 * nodes + nodes + 2 * edgeCount);
    const std::uint64_t coloured =
        colouring.active() ? scene + 4 * nodes + 4 + legendLength(colouring) : scene;
    return numbersClasses(colouring) ? coloured + paddingTo4(coloured) + 4 * nodes : coloured;
}

// Each data element is read as one string.
void refuseWhatAPageCannotHold(const Layout& layout, std::uint64_t edgeCount,
                               const Colouring& colouring, const NodeTable& names) {
    const std::uint64_t scene = payloadBytes(layout, edgeCount, colouring);
    const std::uint64_t table =
        names.present() ? pageNamesBytes(names, static_cast<std::uint32_t>(layout.nodeCount)) : 0;
    if (Base64Stream::encodedLength(std::max(scene, table)) > kLargestDataText) {
        throw Failure("scene is too large for a web page.");
    }
    refuseCoordinatesBeyond(layout, kLargestPageCoordinate);
}

std::uint8_t colourByte(float channel) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(channel, 0.0F, 1.0F) * 255.0F));
}

void writeColours(const Layout& layout, const Colouring& colouring, Base64Stream& data) {
    for (std::uint32_t node = 0; node < static_cast<std::uint32_t>(layout.nodeCount); ++node) {
        const Rgb& colour = colouring.nodeColour(node);
        const std::size_t entry = colouring.legendEntryOf(node);
        if (entry > 0xFF) {
            throw std::logic_error("a legend of more than 256 entries");
        }
        const std::array<char, 4> bytes{
            static_cast<char>(colourByte(colour.red)), static_cast<char>(colourByte(colour.green)),
            static_cast<char>(colourByte(colour.blue)), static_cast<char>(entry)};
        data.putBytes(bytes.data(), bytes.size());
    }
    data.putWord(static_cast<std::uint32_t>(legendLength(colouring)));
    Base64Text text(data);
    JsonWriter<Base64Text> json(text);
    writeLegendJson(json, colouring);
}

void writePayload(const Layout& layout, std::uint64_t edgeCount, const SceneSwitches& switches,
                  const Colouring& colouring, const NodeTable& names, OutputBuffer& out) {
    Base64Stream data(out);
    const std::uint32_t flags =
        (switches.showLabels ? kShowLabelsFlag : 0) | (switches.showEdges ? kShowEdgesFlag : 0) |
        (colouring.active() ? kColouredFlag : 0) | (names.present() ? kNamedFlag : 0) |
        (numbersClasses(colouring) ? kClassNumbersFlag : 0) |
        (switches.sizeFactor ? kSizedFlag : 0);
    for (const std::uint64_t word :
         {std::uint64_t{kDataMagic}, std::uint64_t{kDataVersion},
          static_cast<std::uint64_t>(layout.nodeCount), edgeCount, std::uint64_t{flags}}) {
        data.putWord(static_cast<std::uint32_t>(word));
    }
    if (switches.sizeFactor) {
        data.putFloat(static_cast<float>(*switches.sizeFactor));
    } else {
        data.putWord(0);
    }
    const Coordinates& at = layout.coordinates;
    for (std::size_t i = 0; i < at.x.size(); ++i) {
        data.putFloat(static_cast<float>(at.x[i]));
        data.putFloat(static_cast<float>(at.y[i]));
        data.putFloat(static_cast<float>(at.z[i]));
    }
    for (const NodeEntry& node : layout.nodes) {
        data.putWord(static_cast<std::uint32_t>(node.count));
    }
    forEachEdgeEnds(layout, [&data, &colouring](std::uint32_t from, std::uint32_t to) {
        data.putWord(from);
        data.putWord(colouring.sharesClass(from, to) ? to | kSharedClassBit : to);
    });
    if (colouring.active()) {
        writeColours(layout, colouring, data);
    }
    if (numbersClasses(colouring)) {
        constexpr std::array<char, 3> kZeros{};
        data.putBytes(kZeros.data(), paddingTo4(data.bytesPut()));
        for (std::uint32_t node = 0; node < static_cast<std::uint32_t>(layout.nodeCount); ++node) {
            data.putWord(colouring.classNumber(node));
        }
    }
    data.finish();
}

} // namespace

void writeHtmlScene(const Layout& layout, ByteSink& sink, const SceneSwitches& switches,
                    const Colouring& colouring, const NodeTable& names) {
    const std::uint64_t edgeCount = countDrawnEdges(layout);
    refuseWhatAPageCannotHold(layout, edgeCount, colouring, names);
    OutputBuffer out(sink, Base64Stream::kLargestBlock);
    const std::string title = escapeHtmlText(fileNameOf(layout.sourcePath));
    std::string_view page = viewerPage();
    while (!page.empty()) {
        const std::size_t mark =
            std::min({page.find(kTitleMark), page.find(kDataMark), page.find(kNamesMark)});
        out.append(page.substr(0, mark));
        if (mark == std::string_view::npos) {
            break;
        }
        page.remove_prefix(mark);
        if (page.starts_with(kTitleMark)) {
            out.append(title);
            page.remove_prefix(kTitleMark.size());
        } else if (page.starts_with(kDataMark)) {
            writePayload(layout, edgeCount, switches, colouring, names, out);
            page.remove_prefix(kDataMark.size());
        } else {
            if (names.present()) {
                Base64Stream data(out);
                writePageNames(names, static_cast<std::uint32_t>(layout.nodeCount), data);
                data.finish();
            }
            page.remove_prefix(kNamesMark.size());
        }
    }
    out.finish();
}

} // namespace l2v
