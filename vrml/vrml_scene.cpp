#include "vrml/vrml_scene.hpp"

#include "scene/merged_shapes.hpp"
#include "scene/unit_meshes.hpp"
#include "vrml/vrml_writer.hpp"

#include <cmath>

namespace l2v {
namespace {

const char* const kTitle = "Nodescape";
const char* const kInfo = "(VRML output) a graph layout drawn as spheres and cylinders";
const char* const kSkyColour = "0 0 0";

void writeFrame(VrmlWriter& writer) {
    writer.writeHeader();
    writer.writeWorldInfo(kTitle, kInfo);
    writer.writeViewpoint(kSceneExtent);
    writer.writeBackground(kSkyColour);
}

// One mesh of every node's sphere: the points of sphere i, then its faces counted from its
// first point.
void writeMergedSpheres(const Layout& layout, const DrawingStyle& style, VrmlWriter& writer) {
    const UnitPolyhedron sphere = icospherePolyhedron();
    writer.writeFaceSetOpen(style.nodeColour, style.nodeTransparency);
    forEachNode(layout, [&](const Point& at, std::int32_t count, std::uint32_t) {
        const ShapeFrame frame = sphereFrame(at, sphereRadius(count, style.nodeRadius));
        for (const auto& unit : sphere.positions) {
            writer.writePoint(frame.place(unit));
        }
    });
    writer.writeFaceSetFaces();
    const auto pointsPerSphere = static_cast<std::uint32_t>(sphere.positions.size());
    for (std::uint32_t i = 0; i < static_cast<std::uint32_t>(layout.nodeCount); ++i) {
        for (const auto& face : sphere.faces) {
            writer.writeFace(face, i * pointsPerSphere);
        }
    }
    writer.writeFaceSetClose();
}

// One mesh of every edge's cylinder, in the edges' drawing order.
void writeMergedCylinders(const Layout& layout, const DrawingStyle& style, VrmlWriter& writer) {
    const UnitPolyhedron prism = prismPolyhedron(kMergedCylinderSides);
    writer.writeFaceSetOpen(style.edgeColour, style.edgeTransparency);
    std::uint32_t edges = 0;
    forEachEdge(layout, [&](const Point& from, const Point& to) {
        const ShapeFrame frame = cylinderFrame(from, to, style.nodeRadius, style.edgeRadius);
        for (const auto& unit : prism.positions) {
            writer.writePoint(frame.place(unit));
        }
        ++edges;
    });
    writer.writeFaceSetFaces();
    const auto pointsPerCylinder = static_cast<std::uint32_t>(prism.positions.size());
    for (std::uint32_t e = 0; e < edges; ++e) {
        for (const auto& face : prism.faces) {
            writer.writeFace(face, e * pointsPerCylinder);
        }
    }
    writer.writeFaceSetClose();
}

void writeMergedScene(const Layout& layout, const SceneSwitches& switches, VrmlWriter& writer) {
    const DrawingStyle style;
    writeMergedSpheres(layout, style, writer);
    if (switches.showLabels) {
        forEachNode(layout, [&writer](const Point& at, std::int32_t, std::uint32_t index) {
            writer.writeLabel(at.x, at.y, at.z, index);
        });
    }
    if (switches.showEdges && countDrawnEdges(layout) > 0) {
        writeMergedCylinders(layout, style, writer);
    }
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
