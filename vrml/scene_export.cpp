#include "vrml/scene_export.hpp"

#include "layout/fitting.hpp"
#include "vrml/edge_geometry.hpp"
#include "vrml/output_file.hpp"
#include "vrml/vrml_writer.hpp"

namespace l2v {
namespace {

const char* const kTitle = "Nodescape";
const char* const kInfo = "(VRML output) a graph layout drawn as spheres and cylinders";
const char* const kSkyColour = "0 0 0";

Point positionOf(const Coordinates& coordinates, std::int32_t index) {
    const auto at = static_cast<std::size_t>(index);
    return {coordinates.x[at], coordinates.y[at], coordinates.z[at]};
}

void writeNodes(const Layout& layout, VrmlWriter& writer) {
    const Coordinates& at = layout.coordinates;
    for (std::int32_t i = 0; i < layout.nodeCount; ++i) {
        const auto index = static_cast<std::size_t>(i);
        writer.writeNode(at.x[index], at.y[index], at.z[index], layout.nodes[index].count,
                         static_cast<std::uint32_t>(i));
    }
}

// Each edge is drawn from its lower-indexed endpoint; references to the node itself, to a
// lower index, or numbers of 0 and below give nothing.
void writeEdges(const Layout& layout, VrmlWriter& writer) {
    for (std::int32_t i = 0; i < layout.nodeCount; ++i) {
        const Point from = positionOf(layout.coordinates, i);
        for (const std::int32_t j : neighbours(layout, i)) {
            if (j > i) {
                writer.writeEdge(computeEdgeGeometry(from, positionOf(layout.coordinates, j)));
            }
        }
    }
}

} // namespace

void writeScene(const Layout& layout, ByteSink& sink, const SceneSwitches& switches) {
    VrmlWriter writer(sink, DrawingStyle{}, switches.showLabels);
    writer.writeHeader();
    writer.writeWorldInfo(kTitle, kInfo);
    writer.writeViewpoint(kSceneExtent);
    writer.writeBackground(kSkyColour);
    writeNodes(layout, writer);
    if (switches.showEdges) {
        writeEdges(layout, writer);
    }
    writer.writeTrailer();
    writer.finish();
}

void exportScene(const std::string& outputPath, Layout& layout, const SceneSwitches& switches) {
    fitLayout(layout, kSceneExtent);
    OutputFile file(outputPath);
    writeScene(layout, file, switches);
    file.commit();
}

} // namespace l2v
