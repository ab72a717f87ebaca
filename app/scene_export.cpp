#include "app/scene_export.hpp"

#include "gltf/glb_scene.hpp"
#include "layout/fitting.hpp"
#include "output/output_file.hpp"
#include "vrml/vrml_scene.hpp"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace l2v {

bool wantsGlb(const std::string& outputPath) {
    constexpr std::string_view kExtension = ".glb";
    if (outputPath.size() < kExtension.size()) {
        return false;
    }
    const std::string_view end = std::string_view(outputPath).substr(outputPath.size() - 4);
    return std::equal(end.begin(), end.end(), kExtension.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

void exportScene(const std::string& outputPath, Layout& layout, const SceneSwitches& switches,
                 const Colouring& colouring) {
    const bool glb = wantsGlb(outputPath);
    fitLayout(layout, kSceneExtent, glb ? kLargestGlbCoordinate : kLargestSceneCoordinate);
    OutputFile file(outputPath);
    if (glb) {
        writeGlbScene(layout, file, switches, colouring);
    } else {
        writeVrmlScene(layout, file, switches, colouring);
    }
    file.commit();
}

} // namespace l2v
