#include "gltf/glb_scene.hpp"

#include "common/failure.hpp"
#include "gltf/glb_document.hpp"
#include "gltf/json_number.hpp"
#include "output/output_buffer.hpp"
#include "scene/cylinder_placement.hpp"
#include "scene/drawing_style.hpp"
#include "scene/merged_shapes.hpp"

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace l2v {
namespace {

static_assert(std::endian::native == std::endian::little, "GLB is little-endian");

constexpr std::uint32_t kMagic = 0x46546C67; // "glTF"
constexpr std::uint32_t kVersion = 2;
constexpr std::uint32_t kJsonChunk = 0x4E4F534A;   // "JSON"
constexpr std::uint32_t kBinaryChunk = 0x004E4942; // "BIN\0"
constexpr std::uint64_t kHeaderBytes = 12;
constexpr std::uint64_t kChunkHeaderBytes = 8;
// Room for the largest piece written at once: one labelled node's JSON.
constexpr std::size_t kLargestPiece = 256;

std::uint64_t paddedTo4(std::uint64_t length) {
    return (length + 3) / 4 * 4;
}

char* putWord(char* out, std::uint32_t word) {
    std::memcpy(out, &word, sizeof word);
    return out + sizeof word;
}

char* putFloats(char* out, std::initializer_list<float> values) {
    for (const float value : values) {
        std::memcpy(out, &value, sizeof value);
        out += sizeof value;
    }
    return out;
}

float floatRadius(std::int32_t count, double nodeRadius) {
    return static_cast<float>(sphereRadius(count, nodeRadius));
}

Point unitLength(const Point& axis) {
    const double length = std::sqrt(axis.x * axis.x + axis.y * axis.y + axis.z * axis.z);
    return {axis.x / length, axis.y / length, axis.z / length};
}

// The frame's axes made unit length, about the origin: what turns its normals. The x and z
// axes (radii) are never zero; a y axis of zero length (a cylinder of no height) is the one
// perpendicular to both.
ShapeFrame unitAxes(const ShapeFrame& frame) {
    const Point x = unitLength(frame.axes[0]);
    const Point z = unitLength(frame.axes[2]);
    const Point& y = frame.axes[1];
    const bool flat = y.x == 0 && y.y == 0 && y.z == 0;
    const Point across{z.y * x.z - z.z * x.y, z.z * x.x - z.x * x.z, z.x * x.y - z.y * x.x};
    return {{0, 0, 0}, {x, flat ? across : unitLength(y), z}};
}

// The JSON of node `index` when every graph node is a glTF node of its own.
char* writeLabelledNode(char* out, std::uint32_t index, const Point& at, float radius) {
    const auto put = [&out](std::string_view text) {
        std::memcpy(out, text.data(), text.size());
        out += text.size();
    };
    put(R"({"name":")");
    out = writeJsonIndex(out, index);
    put(R"(","mesh":0,"translation":[)");
    out = writeJsonFloat(out, static_cast<float>(at.x));
    put(",");
    out = writeJsonFloat(out, static_cast<float>(at.y));
    put(",");
    out = writeJsonFloat(out, static_cast<float>(at.z));
    put(R"(],"scale":[)");
    for (int axis = 0; axis < 3; ++axis) {
        out = writeJsonFloat(out, radius);
        put(axis < 2 ? "," : "]}");
    }
    return out;
}

char* writeChildIndex(char* out, std::uint64_t firstChild, std::uint32_t index) {
    if (index > 0) {
        *out++ = ',';
    }
    return writeJsonIndex(out, firstChild + index);
}

// The two streamed parts of a labelled scene's JSON, measured by writing them once aside.
std::uint64_t labelledTextLength(const Layout& layout, const GlbDocument& document,
                                 double nodeRadius) {
    std::uint64_t length = 0;
    char scratch[kLargestPiece];
    forEachNode(layout, [&](const Point& at, std::int32_t count, std::uint32_t index) {
        length += static_cast<std::uint64_t>(
            writeChildIndex(scratch, document.firstLabelledNode, index) - scratch);
        length += static_cast<std::uint64_t>(
            writeLabelledNode(scratch, index, at, floatRadius(count, nodeRadius)) - scratch);
    });
    return length + (static_cast<std::uint64_t>(layout.nodeCount) - 1); // commas between nodes
}

GlbContents contentsOf(const Layout& layout, const SceneSwitches& switches) {
    GlbContents contents;
    contents.nodeCount = static_cast<std::uint64_t>(layout.nodeCount);
    contents.edgeCount = switches.showEdges ? countDrawnEdges(layout) : 0;
    contents.labels = switches.showLabels;
    contents.merged = switches.merge;
    return contents;
}

// A merged mesh: `count` copies of `unit`, placed by `frames`, which calls its argument with
// each copy's frame in order; the bounds are those of the very floats written.
template <class Frames>
MeshPlan mergedPlan(const UnitMesh& unit, std::uint64_t count, const Frames& frames) {
    MeshPlan plan;
    plan.vertices = unit.positions.size() * count;
    plan.indices = unit.indices.size() * count;
    plan.wideIndices = true;
    plan.low.fill(std::numeric_limits<float>::infinity());
    plan.high.fill(-std::numeric_limits<float>::infinity());
    frames([&plan, &unit](const ShapeFrame& frame) {
        for (const auto& position : unit.positions) {
            const Point point = frame.place(position);
            plan.widen({static_cast<float>(point.x), static_cast<float>(point.y),
                        static_cast<float>(point.z)});
        }
    });
    return plan;
}

class GlbEncoder {
  public:
    GlbEncoder(const Layout& layout, ByteSink& sink, const SceneSwitches& switches)
        : layout_(layout), switches_(switches), contents_(contentsOf(layout, switches)),
          sphere_(switches.merge ? unitIcosphere() : unitSphere()),
          cylinder_(switches.merge ? unitCylinder(kMergedCylinderSides) : unitCylinder()),
          document_(planGlbDocument(contents_, spherePlan(), cylinderPlan())),
          out_(sink, kLargestPiece) {}

    void write() {
        const std::uint64_t jsonLength =
            document_.head.size() + document_.middle.size() + document_.tail.size() +
            (switches_.showLabels ? labelledTextLength(layout_, document_, style_.nodeRadius) : 0);
        const std::uint64_t jsonChunk = paddedTo4(jsonLength);
        const std::uint64_t fileLength = kHeaderBytes + kChunkHeaderBytes + jsonChunk +
                                         kChunkHeaderBytes + document_.binaryLength;
        if (fileLength > kLargestGlbFile) {
            throw Failure("scene is too large for a glb file.");
        }
        writeWords({kMagic, kVersion, static_cast<std::uint32_t>(fileLength),
                    static_cast<std::uint32_t>(jsonChunk), kJsonChunk});
        writeJson();
        out_.append(std::string(jsonChunk - jsonLength, ' '));
        writeWords({static_cast<std::uint32_t>(document_.binaryLength), kBinaryChunk});
        writeBinary();
        out_.finish();
    }

  private:
    bool mergedSpheres() const { return contents_.merged && !contents_.labels; }
    bool mergedCylinders() const { return contents_.merged && contents_.edgeCount > 0; }

    MeshPlan spherePlan() const {
        if (!mergedSpheres()) {
            return planOf(sphere_);
        }
        return mergedPlan(sphere_, contents_.nodeCount,
                          [this](auto&& visit) { forEachSphereFrame(layout_, style_, visit); });
    }

    MeshPlan cylinderPlan() const {
        if (!mergedCylinders()) {
            return planOf(cylinder_);
        }
        return mergedPlan(cylinder_, contents_.edgeCount,
                          [this](auto&& visit) { forEachCylinderFrame(layout_, style_, visit); });
    }

    void writeWords(std::initializer_list<std::uint32_t> words) {
        char* out = out_.reserve(kLargestPiece);
        for (const std::uint32_t word : words) {
            out = putWord(out, word);
        }
        out_.commitUpTo(out);
    }

    void writeJson() {
        out_.append(document_.head);
        if (switches_.showLabels) {
            forEachNode(layout_, [this](const Point&, std::int32_t, std::uint32_t index) {
                out_.commitUpTo(writeChildIndex(out_.reserve(kLargestPiece),
                                                document_.firstLabelledNode, index));
            });
        }
        out_.append(document_.middle);
        if (switches_.showLabels) {
            forEachNode(layout_, [this](const Point& at, std::int32_t count, std::uint32_t index) {
                char* out = out_.reserve(kLargestPiece);
                if (index > 0) {
                    *out++ = ',';
                }
                out_.commitUpTo(
                    writeLabelledNode(out, index, at, floatRadius(count, style_.nodeRadius)));
            });
        }
        out_.append(document_.tail);
    }

    // In the order the document planned: meshes, node instances, edge instances.
    void writeBinary() {
        if (mergedSpheres()) {
            writeMergedMesh(sphere_, contents_.nodeCount,
                            [this](auto&& visit) { forEachSphereFrame(layout_, style_, visit); });
        } else {
            writeMesh(sphere_);
        }
        if (mergedCylinders()) {
            writeMergedMesh(cylinder_, contents_.edgeCount,
                            [this](auto&& visit) { forEachCylinderFrame(layout_, style_, visit); });
        } else if (contents_.edgeCount > 0) {
            writeMesh(cylinder_);
        }
        if (contents_.merged) {
            return;
        }
        if (!switches_.showLabels) {
            writeNodeInstances();
        }
        if (contents_.edgeCount > 0) {
            writeEdgeInstances();
        }
    }

    // A position or direction as three floats.
    void writePoint(const Point& point) {
        out_.commitUpTo(putFloats(out_.reserve(kLargestPiece),
                                  {static_cast<float>(point.x), static_cast<float>(point.y),
                                   static_cast<float>(point.z)}));
    }

    template <class Index> void writeIndex(Index index) {
        char* out = out_.reserve(kLargestPiece);
        std::memcpy(out, &index, sizeof index);
        out_.commitUpTo(out + sizeof index);
    }

    // `count` copies of `unit` placed by `frames`: every position, every normal (turned with
    // its shape; the frames' axes are orthogonal, so a normal turns as the axes do once their
    // scales are taken off), then the triangles with 32-bit indices.
    template <class Frames>
    void writeMergedMesh(const UnitMesh& unit, std::uint64_t count, const Frames& frames) {
        frames([this, &unit](const ShapeFrame& frame) {
            for (const auto& position : unit.positions) {
                writePoint(frame.place(position));
            }
        });
        frames([this, &unit](const ShapeFrame& frame) {
            const ShapeFrame turn = unitAxes(frame);
            for (const auto& normal : unit.normals) {
                writePoint(turn.place(normal));
            }
        });
        for (std::uint64_t copy = 0; copy < count; ++copy) {
            const auto first = static_cast<std::uint32_t>(copy * unit.positions.size());
            for (const std::uint16_t index : unit.indices) {
                writeIndex(std::uint32_t{first + index});
            }
        }
    }

    void writeMesh(const UnitMesh& mesh) {
        for (const auto* vectors : {&mesh.positions, &mesh.normals}) {
            for (const auto& vector : *vectors) {
                out_.commitUpTo(
                    putFloats(out_.reserve(kLargestPiece), {vector[0], vector[1], vector[2]}));
            }
        }
        for (const std::uint16_t index : mesh.indices) {
            writeIndex(index);
        }
        if (mesh.indices.size() % 2 != 0) {
            out_.append(std::string_view("\0\0", 2));
        }
    }

    void writeNodeInstances() {
        forEachNode(layout_,
                    [this](const Point& at, std::int32_t, std::uint32_t) { writePoint(at); });
        forEachNode(layout_, [this](const Point&, std::int32_t count, std::uint32_t) {
            const float radius = floatRadius(count, style_.nodeRadius);
            out_.commitUpTo(putFloats(out_.reserve(kLargestPiece), {radius, radius, radius}));
        });
    }

    // One pass per attribute: each is a stretch of its own in the file.
    void writeEdgeInstances() {
        forEachEdge(layout_, [this](const Point& from, const Point& to) {
            writePoint(edgeMidpoint(from, to));
        });
        forEachEdge(layout_, [this](const Point& from, const Point& to) {
            const Quaternion turn = cylinderTurn(from, to);
            out_.commitUpTo(putFloats(out_.reserve(kLargestPiece),
                                      {static_cast<float>(turn.x), static_cast<float>(turn.y),
                                       static_cast<float>(turn.z), static_cast<float>(turn.w)}));
        });
        const auto radius = static_cast<float>(style_.edgeRadius);
        const double nodeRadius = style_.nodeRadius;
        forEachEdge(layout_, [this, radius, nodeRadius](const Point& from, const Point& to) {
            const auto height = static_cast<float>(cylinderHeight(from, to, nodeRadius));
            out_.commitUpTo(putFloats(out_.reserve(kLargestPiece), {radius, height, radius}));
        });
    }

    const Layout& layout_;
    SceneSwitches switches_;
    DrawingStyle style_;
    GlbContents contents_;
    UnitMesh sphere_;
    UnitMesh cylinder_;
    GlbDocument document_;
    OutputBuffer out_;
};

// glTF holds positions as 32-bit floats. Fitted positions up to 1e37 keep every derived value
// (midpoints, lengths up to 2 x sqrt(3) x 1e37, vertices) finite in float; a layout whose
// positions fit a VRML scene but not this is refused as too wide, before anything is written.
constexpr double kLargestGlbCoordinate = 1e37;

void refuseBeyondFloatRange(const Layout& layout) {
    const Coordinates& at = layout.coordinates;
    double largest = 0;
    for (const std::vector<double>* axis : {&at.x, &at.y, &at.z}) {
        for (const double value : *axis) {
            largest = std::max(largest, std::fabs(value));
        }
    }
    if (largest > kLargestGlbCoordinate) {
        throw Failure("coordinates in " + layout.sourcePath + " are too far apart to fit.");
    }
}

} // namespace

void writeGlbScene(const Layout& layout, ByteSink& sink, const SceneSwitches& switches,
                   const Colouring& /*colouring*/) {
    refuseBeyondFloatRange(layout);
    GlbEncoder(layout, sink, switches).write();
}

} // namespace l2v
