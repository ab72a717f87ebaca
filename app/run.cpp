#include "app/run.hpp"

#include "app/command_line.hpp"
#include "app/scene_export.hpp"
#include "common/failure.hpp"
#include "common/version.hpp"
#include "layout/layout_reader.hpp"
#include "layout/node_table_reader.hpp"

#include <sys/stat.h>

namespace l2v {
namespace {

// Writing the scene over the layout would destroy the user's data, whichever name (a link, a
// second hard link, the same path) leads to it.
void refuseToOverwriteInput(const RunOptions& options) {
    struct stat input {};
    struct stat output {};
    if (::stat(options.inputPath.c_str(), &input) == 0 &&
        ::stat(options.outputPath.c_str(), &output) == 0 && input.st_dev == output.st_dev &&
        input.st_ino == output.st_ino) {
        throw Failure("output " + options.outputPath + " is the input file.");
    }
}

// The usage: synopsis and options, a few lines ending in a newline.
std::string usageText() {
    return "usage: layout2vrml -in graph.3dlayout [-out scene.wrl|scene.glb|scene.html]\n"
           "                   [-showlabel true] [-showedge false] [-merge true] [-color HOW]\n"
           "                   [-names FILE] [-size auto|FACTOR]\n"
           "  -in PATH           the layout to read (required, name ending in .3dlayout)\n"
           "  -out PATH          the scene to write: binary glTF when the name ends in .glb,\n"
           "                     a web page to explore it in when it ends in .html, VRML\n"
           "                     otherwise (default: the input name with .wrl)\n"
           "  -showlabel true    label every node with its name, or its 0-based index\n"
           "  -showedge VALUE    true draws the edges (default), anything else leaves them out\n"
           "  -merge true        all spheres in one mesh, all cylinders in another (opens in\n"
           "                     every viewer, also without GPU instancing)\n"
           "  -color HOW         colour the nodes, and the edges within a class, by community,\n"
           "                     component, degree, column:NAME of the node table, or the\n"
           "                     classes in the partition file HOW\n"
           "  -names FILE        node names: a table with a header row (.csv, .tsv; a column\n"
           "                     name or label, optional node, attributes) or one per line\n"
           "  -size auto|FACTOR  spheres and cylinders times FACTOR (1e-5 to 1e6), or\n"
           "                     auto: small enough that edges show between them in dense\n"
           "                     layouts (the median sphere a third of the median edge wide)\n"
           "  -h, --help         show this text;  --version  show the version\n"
           "Options match by prefix and take the next word as their value. Nothing is printed\n"
           "on success; a failure prints one line and ends with status 1.\n";
}

} // namespace

std::string runConverter(std::span<const std::string_view> words) {
    const RunOptions options = parseCommandLine(words);
    if (options.request == Request::showUsage) {
        return usageText();
    }
    if (options.request == Request::showVersion) {
        return std::string(programVersion()) + "\n";
    }
    refuseToOverwriteInput(options);
    Layout layout = loadLayout(options.inputPath);
    const NodeTable names =
        options.namesPath.empty()
            ? NodeTable{}
            : readNodeTable(options.namesPath, static_cast<std::uint32_t>(layout.nodeCount));
    const Colouring colouring = computeColouring(layout, options.colour, names);
    exportScene(options.outputPath, layout,
                SceneSwitches{options.showEdges, options.showLabels, options.merge}, colouring,
                names, options.size);
    releaseLayout(layout);
    return {};
}

} // namespace l2v
