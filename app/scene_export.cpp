#include "app/scene_export.hpp"

#include "common/text_case.hpp"
#include "gltf/glb_scene.hpp"
#include "html/html_scene.hpp"
#include "layout/fitting.hpp"
#include "output/output_file.hpp"
#include "vrml/vrml_scene.hpp"

#include <string_view>

namespace l2v {
namespace {

// The largest fitted coordinate the encoder of `format` can represent.
double largestCoordinate(SceneFormat format) {
    switch (format) {
    case SceneFormat::glb:
        return kLargestGlbCoordinate;
    case SceneFormat::html:
        return kLargestPageCoordinate;
    case SceneFormat::vrml:
        return kLargestSceneCoordinate;
    }
    return kLargestSceneCoordinate;
}

} // namespace

SceneFormat formatForPath(const std::string& outputPath) {
    if (endsWithInAnyCase(outputPath, ".glb")) {
        return SceneFormat::glb;
    }
    if (endsWithInAnyCase(outputPath, ".html")) {
        return SceneFormat::html;
    }
    return SceneFormat::vrml;
}

void exportScene(const std::string& outputPath, Layout& layout, const SceneSwitches& switches,
                 const Colouring& colouring, const NodeTable& names, const SizeRequest& size) {
    const SceneFormat format = formatForPath(outputPath);
    fitLayout(layout, kSceneExtent, largestCoordinate(format));
    SceneSwitches sized = switches;
    sized.sizeFactor = sizeFactor(layout, size);
    OutputFile file(outputPath);
    switch (format) {
    case SceneFormat::glb:
        writeGlbScene(layout, file, sized, colouring, names);
        break;
    case SceneFormat::html:
        writeHtmlScene(layout, file, sized, colouring, names);
        break;
    case SceneFormat::vrml:
        writeVrmlScene(layout, file, sized, colouring, names);
        break;
    }
    file.commit();
}

} // namespace l2v
