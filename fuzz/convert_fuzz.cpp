// Runs the whole conversion in memory: read, fit, write the scene. The first byte picks the
// edge and label switches (bits 0 and 1), the merged scene (bit 2, instead of the plain one;
// the page has one form only), the format (bits 3 and 4: VRML, .glb, web page, or all three) and
// the form of a node table (bits 5 and 6: CSV, TSV, a list, CSV). The rest is the layout file, and
// after a line "=names=" the node table, whose names every scene must carry. Every input is either
// refused with a one-line message or gives scenes whose blocks and numbers match the fitted layout
// and whose names read back as the table gave them.
#include "common/failure.hpp"
#include "fit_check.hpp"
#include "fuzz_check.hpp"
#include "glb_check.hpp"
#include "gltf/glb_scene.hpp"
#include "html/html_scene.hpp"
#include "html_check.hpp"
#include "layout/byte_source.hpp"
#include "layout/fitting.hpp"
#include "layout/layout_reader.hpp"
#include "layout/node_table_reader.hpp"
#include "layout_check.hpp"
#include "names_check.hpp"
#include "output/byte_sink.hpp"
#include "refusal_check.hpp"
#include "scene/scene_switches.hpp"
#include "scene_check.hpp"
#include "vrml/vrml_scene.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace {

const std::string kSourcePath = "fuzz.3dlayout";
constexpr std::string_view kNamesMarker = "\n=names=\n";

enum class Formats { vrml, glb, html, all };

// What the first byte asks for.
struct Request {
    l2v::SceneSwitches switches;
    bool merged;
    Formats formats;
    l2v::TableForm tableForm;

    explicit Request(std::uint8_t byte)
        : switches{(byte & 1) != 0, (byte & 2) != 0, (byte & 4) != 0}, merged((byte & 4) != 0),
          formats(static_cast<Formats>(byte >> 3 & 3)),
          tableForm((byte >> 5 & 3) == 1   ? l2v::TableForm::tsv
                    : (byte >> 5 & 3) == 2 ? l2v::TableForm::nameList
                                           : l2v::TableForm::csv) {}

    bool writes(Formats format) const { return formats == format || formats == Formats::all; }
};

// One sink for every run and format: its text keeps its capacity, so a large scene costs no
// fresh pages (and no page faults) run after run.
class KeptSink final : public l2v::ByteSink {
  public:
    void write(const char* data, std::size_t size) override { text_.append(data, size); }
    std::string_view text() const { return text_; }
    void clear() { text_.clear(); }

  private:
    std::string text_;
};

KeptSink& emptySink() {
    static KeptSink sink;
    sink.clear();
    return sink;
}

const std::string& tablePath(l2v::TableForm form) {
    static const std::string kPaths[] = {"fuzz.csv", "fuzz.tsv", "fuzz.txt"};
    return kPaths[static_cast<int>(form)];
}

std::optional<l2v::Layout> readOrRefuse(std::string_view bytes) {
    l2v::MemorySource source(bytes);
    try {
        l2v::Layout layout = l2v::readLayout(source, kSourcePath);
        fuzz::checkReadLayout(layout);
        return layout;
    } catch (const l2v::Failure& failure) {
        fuzz::checkConvertRefusal(failure.what(), kSourcePath);
        return std::nullopt;
    }
}

bool fitOrRefuse(l2v::Layout& layout) {
    const l2v::Coordinates original = layout.coordinates;
    try {
        l2v::fitLayout(layout, l2v::kSceneExtent, l2v::kLargestSceneCoordinate);
    } catch (const l2v::Failure& failure) {
        fuzz::checkConvertRefusal(failure.what(), kSourcePath);
        fuzz::checkFitRefusalJustified(original, layout.nodeCount, l2v::kSceneExtent);
        return false;
    }
    fuzz::checkFitted(original, layout, l2v::kSceneExtent);
    return true;
}

// The node table after the marker, or none; false when it is refused.
bool readNames(std::string_view tableBytes, l2v::TableForm form, std::int32_t nodeCount,
               l2v::NodeTable& names) {
    const std::string& path = tablePath(form);
    try {
        names = l2v::parseNodeTable(std::string(tableBytes), form, path,
                                    static_cast<std::uint32_t>(nodeCount));
    } catch (const l2v::Failure& failure) {
        fuzz::checkNamesRefusal(failure.what(), tableBytes, form, path);
        return false;
    }
    fuzz::checkNodeTable(names, form, static_cast<std::uint32_t>(nodeCount));
    return true;
}

void writeVrml(const l2v::Layout& layout, const Request& request, const l2v::NodeTable& names) {
    KeptSink& sink = emptySink();
    l2v::writeVrmlScene(layout, sink, request.switches, l2v::Colouring{}, names);
    if (request.merged) {
        fuzz::checkMergedScene(sink.text(), layout, request.switches, names);
    } else {
        fuzz::checkScene(sink.text(), layout, request.switches, names);
    }
}

// False when the layout is refused for lying beyond the range of 32-bit floats.
bool writeGlb(const l2v::Layout& layout, const Request& request, const l2v::NodeTable& names) {
    KeptSink& glb = emptySink();
    try {
        l2v::writeGlbScene(layout, glb, request.switches, l2v::Colouring{}, names);
    } catch (const l2v::Failure& failure) {
        fuzz::checkConvertRefusal(failure.what(), kSourcePath);
        fuzz::checkGlbRefusalJustified(layout);
        return false;
    }
    if (request.merged) {
        fuzz::checkMergedGlb(glb.text(), layout, request.switches, names);
    } else {
        fuzz::checkGlb(glb.text(), layout, request.switches, names);
    }
    return true;
}

void writeHtml(const l2v::Layout& layout, const Request& request, const l2v::NodeTable& names) {
    KeptSink& page = emptySink();
    try {
        l2v::writeHtmlScene(layout, page, request.switches, l2v::Colouring{}, names);
    } catch (const l2v::Failure& failure) {
        // The page holds the same 32-bit floats as the .glb, so it takes what the .glb takes.
        fuzz::checkConvertRefusal(failure.what(), kSourcePath);
        fuzz::checkGlbRefusalJustified(layout);
        return;
    }
    fuzz::checkHtml(page.text(), layout, names);
}

} // namespace

// libFuzzer calls the target by this name.
// NOLINTNEXTLINE(readability-identifier-naming)
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const Request request(data[0]);
    std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t marker = bytes.find(kNamesMarker);
    const bool named = marker != std::string_view::npos;
    const std::string_view tableBytes =
        named ? bytes.substr(marker + kNamesMarker.size()) : std::string_view{};
    // The layout keeps the marker's first newline, which ends its last line.
    bytes = bytes.substr(0, named ? marker + 1 : bytes.size());
    std::optional<l2v::Layout> layout = readOrRefuse(bytes);
    if (!layout) {
        return 0;
    }
    l2v::NodeTable names;
    if (named && !readNames(tableBytes, request.tableForm, layout->nodeCount, names)) {
        return 0;
    }
    if (!fitOrRefuse(*layout)) {
        return 0;
    }
    if (request.writes(Formats::vrml)) {
        writeVrml(*layout, request, names);
    }
    const bool glbTaken = !request.writes(Formats::glb) || writeGlb(*layout, request, names);
    if (glbTaken && request.writes(Formats::html)) {
        writeHtml(*layout, request, names);
    }
    return 0;
}
