#include "vrml/vrml_scene.hpp"

#include "scene/merged_shapes.hpp"
#include "scene/unit_meshes.hpp"
#include "vrml/vrml_writer.hpp"

#include <string_view>

namespace l2v {
namespace {

const char* const kTitle = "Nodescape";
const char* const kInfo = "(VRML output) a graph layout drawn as spheres and cylinders";
constexpr Rgb kSkyColour{0, 0, 0};

void writeFrame(VrmlWriter& writer) {
    writer.writeHeader();
    writer.writeWorldInfo(kTitle, kInfo);
    writer.writeViewpoint(kSceneExtent);
    writer.writeBackground(kSkyColour);
}

// One mesh of copies of `unit`, one per frame that `frames` visits: every copy's points, then
// every copy's faces counted from its first point.
template <class Frames>
void writeMergedMesh(VrmlWriter& writer, const UnitPolyhedron& unit, const Rgb& colour,
                     double transparency, const Frames& frames) {
    writer.writeFaceSetOpen(colour, transparency);
    std::uint32_t copies = 0;
    frames([&](const ShapeFrame& frame) {
        for (const auto& position : unit.positions) {
            writer.writePoint(frame.place(position));
        }
        ++copies;
    });
    writer.writeFaceSetFaces();
    const auto pointsPerCopy = static_cast<std::uint32_t>(unit.positions.size());
    for (std::uint32_t copy = 0; copy < copies; ++copy) {
        for (const auto& face : unit.faces) {
            writer.writeFace(face, copy * pointsPerCopy);
        }
    }
    writer.writeFaceSetClose();
}

// Viewers build a collision structure over every triangle of collidable geometry, which for
// meshes this size takes far longer than reading them; a graph is looked at, not walked into.
void writeMergedScene(const Layout& layout, const SceneSwitches& switches, VrmlWriter& writer) {
    const DrawingStyle style;
    writer.writeNoCollisionOpen();
    writeMergedMesh(writer, icospherePolyhedron(), style.nodeColour, style.nodeTransparency,
                    [&](auto&& visit) { forEachSphereFrame(layout, style, visit); });
    if (switches.showLabels) {
        forEachNode(layout, [&writer](const Point& at, std::int32_t, std::uint32_t index) {
            writer.writeLabel(at.x, at.y, at.z, index);
        });
    }
    if (switches.showEdges && countDrawnEdges(layout) > 0) {
        writeMergedMesh(writer, prismPolyhedron(kMergedCylinderSides), style.edgeColour,
                        style.edgeTransparency,
                        [&](auto&& visit) { forEachCylinderFrame(layout, style, visit); });
    }
    writer.writeNoCollisionClose();
}

} // namespace

void writeVrmlScene(const Layout& layout, ByteSink& sink, const SceneSwitches& switches) {
    VrmlWriter writer(sink, DrawingStyle{}, switches.showLabels);
    writeFrame(writer);
    if (switches.merge) {
        writeMergedScene(layout, switches, writer);
        writer.writeTrailer();
        writer.finish();
        return;
    }
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
