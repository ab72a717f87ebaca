#include "vrml/vrml_scene.hpp"

#include "scene/merged_shapes.hpp"
#include "scene/unit_meshes.hpp"
#include "vrml/number_format.hpp"
#include "vrml/vrml_writer.hpp"

#include <array>
#include <map>
#include <string>
#include <vector>

namespace l2v {
namespace {

const char* const kTitle = "Nodescape";
const char* const kInfo = "(VRML output) a graph layout drawn as spheres and cylinders";
constexpr Rgb kSkyColour{0, 0, 0};

// The legend as WorldInfo texts: what the colours stand for, then one text per entry.
std::vector<std::string> legendTexts(const Colouring& colouring) {
    std::vector<std::string> texts{colouring.title()};
    for (const LegendEntry& entry : colouring.legend()) {
        texts.push_back(entry.label + ": " + vrmlColour(entry.colour) + ", " +
                        std::to_string(entry.nodeCount) + " nodes");
    }
    return texts;
}

// A node's label: its name, or its index where it has none.
std::string_view labelOf(const NodeTable& names, std::uint32_t node, char (&digits)[16]) {
    const std::string_view name = names.present() ? names.name(node) : std::string_view{};
    if (!name.empty()) {
        return name;
    }
    return {digits, static_cast<std::size_t>(writeDecimal(digits, node) - digits)};
}

void writeFrame(VrmlWriter& writer, const Colouring& colouring) {
    writer.writeHeader();
    if (colouring.active()) {
        writer.writeWorldInfo(kTitle, kInfo, legendTexts(colouring));
    } else {
        writer.writeWorldInfo(kTitle, kInfo);
    }
    writer.writeViewpoint(kSceneExtent);
    writer.writeBackground(kSkyColour);
}

// The distinct colours of a merged mesh's copies, in order of first use, and each copy's
// index among them.
struct CopyColours {
    std::vector<Rgb> colours;
    std::vector<std::uint32_t> indices;

    void add(const Rgb& colour) {
        const auto [at, added] = known_.try_emplace({colour.red, colour.green, colour.blue},
                                                    static_cast<std::uint32_t>(colours.size()));
        if (added) {
            colours.push_back(colour);
        }
        indices.push_back(at->second);
    }

  private:
    std::map<std::array<float, 3>, std::uint32_t> known_;
};

// One mesh of copies of `unit`, one per frame that `frames` visits: every copy's points, then
// every copy's faces counted from its first point, then, when `copyColours` is given, every
// face's colour.
template <class Frames>
void writeMergedMesh(VrmlWriter& writer, const UnitPolyhedron& unit, const Rgb& colour,
                     double transparency, const Frames& frames,
                     const CopyColours* copyColours = nullptr) {
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
    if (copyColours != nullptr) {
        writer.writeFaceSetColours(copyColours->colours);
        for (const std::uint32_t index : copyColours->indices) {
            writer.writeFaceColours(index, unit.faces.size());
        }
    }
    writer.writeFaceSetClose();
}

CopyColours nodeCopyColours(const Layout& layout, const Colouring& colouring) {
    CopyColours copies;
    for (std::int32_t i = 0; i < layout.nodeCount; ++i) {
        copies.add(colouring.nodeColour(static_cast<std::uint32_t>(i)));
    }
    return copies;
}

CopyColours edgeCopyColours(const Layout& layout, const Colouring& colouring) {
    CopyColours copies;
    forEachEdgeEnds(
        layout, [&](std::uint32_t i, std::uint32_t j) { copies.add(colouring.edgeColour(i, j)); });
    return copies;
}

// A colour's VRML text, written into `text`.
std::string_view colourText(char (&text)[kMaxVrmlColourLength], const Rgb& colour) {
    return {text, static_cast<std::size_t>(writeVrmlColour(text, colour) - text)};
}

// Viewers build a collision structure over every triangle of collidable geometry, which for
// meshes this size takes far longer than reading them; a graph is looked at, not walked into.
void writeMergedScene(const Layout& layout, const SceneSwitches& switches,
                      const Colouring& colouring, const NodeTable& names, VrmlWriter& writer) {
    const DrawingStyle style = sizedStyle(switches.sizeFactor.value_or(1.0));
    writer.writeNoCollisionOpen();
    {
        const CopyColours colours =
            colouring.active() ? nodeCopyColours(layout, colouring) : CopyColours{};
        writeMergedMesh(
            writer, icospherePolyhedron(), style.nodeColour, style.nodeTransparency,
            [&](auto&& visit) { forEachSphereFrame(layout, style, visit); },
            colouring.active() ? &colours : nullptr);
    }
    if (switches.showLabels) {
        char digits[16];
        forEachNode(layout, [&](const Point& at, std::int32_t, std::uint32_t index) {
            writer.writeLabel(at.x, at.y, at.z, labelOf(names, index, digits));
        });
    }
    if (switches.showEdges && countDrawnEdges(layout) > 0) {
        const CopyColours colours =
            colouring.active() ? edgeCopyColours(layout, colouring) : CopyColours{};
        writeMergedMesh(
            writer, prismPolyhedron(kMergedCylinderSides), style.edgeColour, style.edgeTransparency,
            [&](auto&& visit) { forEachCylinderFrame(layout, style, visit); },
            colouring.active() ? &colours : nullptr);
    }
    writer.writeNoCollisionClose();
}

// One block per node and edge, as uncoloured, each in its colour.
void writeColouredBlocks(const Layout& layout, const SceneSwitches& switches,
                         const Colouring& colouring, const NodeTable& names, VrmlWriter& writer) {
    char text[kMaxVrmlColourLength];
    char digits[16];
    forEachNode(layout, [&](const Point& at, std::int32_t count, std::uint32_t index) {
        const std::string_view colour = colourText(text, colouring.nodeColour(index));
        if (names.present()) {
            writer.writeNamedNode(at.x, at.y, at.z, count, labelOf(names, index, digits), colour);
        } else {
            writer.writeNode(at.x, at.y, at.z, count, index, colour);
        }
    });
    if (switches.showEdges) {
        forEachEdgeBetween(
            layout, [&](const Point& from, const Point& to, std::uint32_t i, std::uint32_t j) {
                writer.writeEdge(computeEdgeGeometry(from, to),
                                 colourText(text, colouring.edgeColour(i, j)));
            });
    }
}

} // namespace

void writeVrmlScene(const Layout& layout, ByteSink& sink, const SceneSwitches& switches,
                    const Colouring& colouring, const NodeTable& names) {
    VrmlWriter writer(sink, sizedStyle(switches.sizeFactor.value_or(1.0)), switches.showLabels);
    writeFrame(writer, colouring);
    if (switches.merge) {
        writeMergedScene(layout, switches, colouring, names, writer);
        writer.writeTrailer();
        writer.finish();
        return;
    }
    if (colouring.active()) {
        writeColouredBlocks(layout, switches, colouring, names, writer);
    } else {
        char digits[16];
        forEachNode(layout, [&](const Point& at, std::int32_t count, std::uint32_t index) {
            if (names.present()) {
                writer.writeNamedNode(at.x, at.y, at.z, count, labelOf(names, index, digits));
            } else {
                writer.writeNode(at.x, at.y, at.z, count, index);
            }
        });
        if (switches.showEdges) {
            forEachEdge(layout, [&writer](const Point& from, const Point& to) {
                writer.writeEdge(computeEdgeGeometry(from, to));
            });
        }
    }
    writer.writeTrailer();
    writer.finish();
}

} // namespace l2v
