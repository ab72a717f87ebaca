#include "app/run.hpp"

#include "app/command_line.hpp"
#include "layout/layout_reader.hpp"
#include "app/scene_export.hpp"

namespace l2v {

void runConverter(std::span<const std::string_view> words) {
    const RunOptions options = parseCommandLine(words);
    Layout layout = loadLayout(options.inputPath);
    exportScene(options.outputPath, layout, SceneSwitches{options.showEdges, options.showLabels});
    releaseLayout(layout);
}

} // namespace l2v
