#include "vrml/vrml_scene.hpp"

#include "vrml/vrml_writer.hpp"

namespace l2v {
namespace {

const char* const kTitle = "Nodescape";
const char* const kInfo = "(VRML output) a graph layout drawn as spheres and cylinders";
const char* const kSkyColour = "0 0 0";

} // namespace

void writeVrmlScene(const Layout& layout, ByteSink& sink, const SceneSwitches& switches) {
    VrmlWriter writer(sink, DrawingStyle{}, switches.showLabels);
    writer.writeHeader();
    writer.writeWorldInfo(kTitle, kInfo);
    writer.writeViewpoint(kSceneExtent);
    writer.writeBackground(kSkyColour);
    forEachNode(layout, [&writer](const Point& at, std::int32_t count, std::uint32_t index) {
        writer.writeNode(at.x, at.y, at.z, count, index);
    });
    if (switches.showEdges) {
        forEachEdge(layout, [&writer](const Point& from, const Point& to) {
            writer.writeEdge(computeEdgeGeometry(from, to));
        });
    }
    writer.writeTrailer();
    writer.finish();
}

} // namespace l2v
