#include "html/html_scene.hpp"

#include "common/failure.hpp"
#include "html/base64_stream.hpp"
#include "html/html_text.hpp"
#include "html/viewer_page.hpp"
#include "layout/fitting.hpp"
#include "output/output_buffer.hpp"
#include "scene/scene_walk.hpp"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace l2v {
namespace {

// The page's data: a header of six words, then the positions, the run lengths and the edge
// endpoint pairs. The viewer checks the magic and the version before it reads on.
constexpr std::uint32_t kPayloadMagic = 0x4756324C; // "L2VG"
constexpr std::uint32_t kPayloadVersion = 1;
constexpr std::uint32_t kShowLabels = 1;
constexpr std::uint32_t kShowEdges = 2;
constexpr std::uint64_t kHeaderWords = 6;

// V8 holds strings of at most 2^29 - 24 characters (other engines allow more), and the data
// is read as one string from its script element.
constexpr std::uint64_t kLargestDataText = (std::uint64_t{1} << 29) - 24;

constexpr std::string_view kTitleMark = "{{TITLE}}";
constexpr std::string_view kDataMark = "{{DATA}}";

std::uint64_t payloadBytes(const Layout& layout, std::uint64_t edgeCount) {
    const auto nodes = static_cast<std::uint64_t>(layout.nodeCount);
    return 4 * (kHeaderWords + 3 * nodes + nodes + 2 * edgeCount);
}

void refuseWhatAPageCannotHold(const Layout& layout, std::uint64_t edgeCount) {
    if (Base64Stream::encodedLength(payloadBytes(layout, edgeCount)) > kLargestDataText) {
        throw Failure("scene is too large for a web page.");
    }
    refuseCoordinatesBeyond(layout, kLargestPageCoordinate);
}

void writePayload(const Layout& layout, std::uint64_t edgeCount, const SceneSwitches& switches,
                  OutputBuffer& out) {
    Base64Stream data(out);
    const std::uint32_t flags =
        (switches.showLabels ? kShowLabels : 0) | (switches.showEdges ? kShowEdges : 0);
    for (const std::uint64_t word : {std::uint64_t{kPayloadMagic}, std::uint64_t{kPayloadVersion},
                                     static_cast<std::uint64_t>(layout.nodeCount), edgeCount,
                                     std::uint64_t{flags}, std::uint64_t{0}}) {
        data.putWord(static_cast<std::uint32_t>(word));
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
    forEachEdgeEnds(layout, [&data](std::uint32_t from, std::uint32_t to) {
        data.putWord(from);
        data.putWord(to);
    });
    data.finish();
}

} // namespace

void writeHtmlScene(const Layout& layout, ByteSink& sink, const SceneSwitches& switches) {
    const std::uint64_t edgeCount = countDrawnEdges(layout);
    refuseWhatAPageCannotHold(layout, edgeCount);
    OutputBuffer out(sink, Base64Stream::kLargestBlock);
    const std::string title = escapeHtmlText(layout.sourcePath);
    std::string_view page = viewerPage();
    while (!page.empty()) {
        const std::size_t mark = std::min(page.find(kTitleMark), page.find(kDataMark));
        out.append(page.substr(0, mark));
        if (mark == std::string_view::npos) {
            break;
        }
        page.remove_prefix(mark);
        if (page.starts_with(kTitleMark)) {
            out.append(title);
            page.remove_prefix(kTitleMark.size());
        } else {
            writePayload(layout, edgeCount, switches, out);
            page.remove_prefix(kDataMark.size());
        }
    }
    out.finish();
}

} // namespace l2v
