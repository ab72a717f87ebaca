// Runs the whole conversion in memory: read, fit, write the scene in both formats. The first
// byte picks the edge and label switches (and with bit 2 also writes the merged scenes); the
// rest is the layout file. Every input is either
// refused with a one-line message or gives scenes whose blocks and numbers match the fitted
// layout.
#include "common/failure.hpp"
#include "fit_check.hpp"
#include "fuzz_check.hpp"
#include "glb_check.hpp"
#include "gltf/glb_scene.hpp"
#include "layout/byte_source.hpp"
#include "layout/fitting.hpp"
#include "layout/layout_reader.hpp"
#include "layout_check.hpp"
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const l2v::SceneSwitches switches{(data[0] & 1) != 0, (data[0] & 2) != 0};
    std::optional<l2v::Layout> layout =
        readOrRefuse({reinterpret_cast<const char*>(data) + 1, size - 1});
    if (!layout || !fitOrRefuse(*layout)) {
        return 0;
    }
    l2v::StringSink sink;
    l2v::writeVrmlScene(*layout, sink, switches);
    fuzz::checkScene(sink.text(), *layout, switches);
    l2v::StringSink glb;
    try {
        l2v::writeGlbScene(*layout, glb, switches);
    } catch (const l2v::Failure& failure) {
        fuzz::checkConvertRefusal(failure.what(), kSourcePath);
        fuzz::checkGlbRefusalJustified(*layout);
        return 0;
    }
    fuzz::checkGlb(glb.text(), *layout, switches);
    if ((data[0] & 4) != 0) {
        l2v::SceneSwitches merged = switches;
        merged.merge = true;
        l2v::StringSink mergedGlb;
        l2v::writeGlbScene(*layout, mergedGlb, merged);
        fuzz::checkMergedGlb(mergedGlb.text(), *layout, merged);
        l2v::StringSink mergedVrml;
        l2v::writeVrmlScene(*layout, mergedVrml, merged);
        const std::string& text = mergedVrml.text();
        // Numbers start after the frame ("info" in WorldInfo is no infinity).
        const std::size_t meshes = text.find("Background");
        fuzz::require(text.starts_with("#VRML V2.0 utf8\n") &&
                          text.ends_with("\n# End of file!\n") && meshes != std::string::npos &&
                          text.find("nan", meshes) == std::string::npos &&
                          text.find("inf", meshes) == std::string::npos,
                      "merged VRML: frame or a number that is not finite");
    }
    return 0;
}
