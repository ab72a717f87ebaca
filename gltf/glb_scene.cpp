#include "gltf/glb_scene.hpp"

#include "common/failure.hpp"
#include "gltf/glb_document.hpp"
#include "layout/fitting.hpp"
#include "output/json_writer.hpp"
#include "output/output_buffer.hpp"
#include "scene/cylinder_placement.hpp"
#include "scene/drawing_style.hpp"
#include "scene/geometry.hpp"
#include "scene/merged_shapes.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <stdexcept>
#include <string>

namespace l2v {
namespace {

static_assert(std::endian::native == std::endian::little, "GLB is little-endian");

constexpr std::uint32_t kMagic = 0x46546C67; // "glTF"
constexpr std::uint32_t kVersion = 2;
constexpr std::uint32_t kJsonChunk = 0x4E4F534A;   // "JSON"
constexpr std::uint32_t kBinaryChunk = 0x004E4942; // "BIN\0"
constexpr std::uint64_t kHeaderBytes = 12;
constexpr std::uint64_t kChunkHeaderBytes = 8;
// The largest file the format can describe: its lengths are 32-bit.
constexpr std::uint64_t kLargestGlbFile = 0xFFFFFFFFULL;
// Room for the largest piece written at once: the file header, a JSON token, a view's element.
constexpr std::size_t kLargestPiece =
    std::max({5 * sizeof(std::uint32_t), kJsonTokenRoom, ViewOut::kLargestPiece});

std::uint64_t paddedTo4(std::uint64_t length) {
    return (length + 3) / 4 * 4;
}

char* putWord(char* out, std::uint32_t word) {
    std::memcpy(out, &word, sizeof word);
    return out + sizeof word;
}

float floatRadius(std::int32_t count, double nodeRadius) {
    return static_cast<float>(sphereRadius(count, nodeRadius));
}

// Not `length`: summed from x, as merged normals have always been made, where edges sum from
// z; the files are compared byte for byte.
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

// A mesh's data as the file holds it.
struct MeshPlan {
    std::uint64_t vertices = 0;
    std::uint64_t indices = 0;
    bool wideIndices = false; // 32-bit indices instead of 16-bit
    PositionBounds bounds;

    // Grows the bounds to hold `position`.
    void widen(const std::array<float, 3>& position) {
        for (std::size_t axis = 0; axis < 3; ++axis) {
            bounds.low[axis] = std::min(bounds.low[axis], position[axis]);
            bounds.high[axis] = std::max(bounds.high[axis], position[axis]);
        }
    }
};

// A unit mesh drawn as it is (or through instances).
MeshPlan planOf(const UnitMesh& mesh) {
    MeshPlan plan;
    plan.vertices = mesh.positions.size();
    plan.indices = mesh.indices.size();
    plan.bounds.low = mesh.positions.front();
    plan.bounds.high = plan.bounds.low;
    for (const auto& position : mesh.positions) {
        plan.widen(position);
    }
    return plan;
}

// A merged mesh: `count` copies of `unit`, placed by `frames`, which calls its argument with
// each copy's frame in order; the bounds are those of the very floats written.
template <class Frames>
MeshPlan mergedPlan(const UnitMesh& unit, std::uint64_t count, const Frames& frames) {
    MeshPlan plan;
    plan.vertices = unit.positions.size() * count;
    plan.indices = unit.indices.size() * count;
    plan.wideIndices = true;
    plan.bounds.low.fill(std::numeric_limits<float>::infinity());
    plan.bounds.high.fill(-std::numeric_limits<float>::infinity());
    frames([&plan, &unit](const ShapeFrame& frame) {
        for (const auto& position : unit.positions) {
            const Point point = frame.place(position);
            plan.widen({static_cast<float>(point.x), static_cast<float>(point.y),
                        static_cast<float>(point.z)});
        }
    });
    return plan;
}

// A unit mesh as it is: positions, normals, 16-bit triangle corners.
MeshAccessors addMesh(GlbViews& views, const UnitMesh& mesh) {
    const MeshPlan plan = planOf(mesh);
    const auto vectors = [](const std::vector<std::array<float, 3>>& list) {
        return [&list](ViewOut& out) {
            for (const auto& vector : list) {
                out.floats({vector[0], vector[1], vector[2]});
            }
        };
    };
    return {views.addVertices(plan.vertices, vectors(mesh.positions), plan.bounds),
            views.addVertices(plan.vertices, vectors(mesh.normals)),
            views.addIndices(plan.indices, false,
                             [&mesh](ViewOut& out) {
                                 for (const std::uint16_t index : mesh.indices) {
                                     out.index(index);
                                 }
                             }),
            std::nullopt};
}

// `count` copies of `unit` placed by `frames`: every position, every normal (turned with its
// shape; the frames' axes are orthogonal, so a normal turns as the axes do once their scales
// are taken off), then the triangles with 32-bit indices.
template <class Frames>
MeshAccessors addMergedMesh(GlbViews& views, const UnitMesh& unit, std::uint64_t count,
                            const Frames& frames) {
    const MeshPlan plan = mergedPlan(unit, count, frames);
    const std::uint64_t positions = views.addVertices(
        plan.vertices,
        [&unit, frames](ViewOut& out) {
            frames([&out, &unit](const ShapeFrame& frame) {
                for (const auto& position : unit.positions) {
                    out.point(frame.place(position));
                }
            });
        },
        plan.bounds);
    const std::uint64_t normals = views.addVertices(plan.vertices, [&unit, frames](ViewOut& out) {
        frames([&out, &unit](const ShapeFrame& frame) {
            const ShapeFrame turn = unitAxes(frame);
            for (const auto& normal : unit.normals) {
                out.point(turn.place(normal));
            }
        });
    });
    const std::uint64_t indices =
        views.addIndices(plan.indices, true, [&unit, count](ViewOut& out) {
            for (std::uint64_t copy = 0; copy < count; ++copy) {
                const auto first = static_cast<std::uint32_t>(copy * unit.positions.size());
                for (const std::uint16_t index : unit.indices) {
                    out.index(std::uint32_t{first + index});
                }
            }
        });
    return {positions, normals, indices, std::nullopt};
}

class GlbEncoder {
  public:
    GlbEncoder(const Layout& layout, ByteSink& sink, const SceneSwitches& switches,
               const Colouring& colouring, const NodeTable& names)
        : layout_(layout), switches_(switches), colouring_(colouring), names_(names),
          style_(sizedStyle(switches.sizeFactor.value_or(1.0))),
          sphere_(switches.merge ? unitIcosphere() : unitSphere()),
          cylinder_(switches.merge ? unitCylinder(kMergedCylinderSides) : unitCylinder()),
          out_(sink, kLargestPiece) {
        plan();
    }

    void write() {
        JsonMeasure measure;
        JsonWriter<JsonMeasure> measuring(measure);
        writeGlbJson(measuring, document_, layout_, style_);
        const std::uint64_t jsonLength = measure.length();
        const std::uint64_t jsonChunk = paddedTo4(jsonLength);
        const std::uint64_t binaryLength = document_.views.length();
        const std::uint64_t fileLength =
            kHeaderBytes + kChunkHeaderBytes + jsonChunk + kChunkHeaderBytes + binaryLength;
        if (fileLength > kLargestGlbFile) {
            throw Failure("scene is too large for a glb file.");
        }
        writeWords({kMagic, kVersion, static_cast<std::uint32_t>(fileLength),
                    static_cast<std::uint32_t>(jsonChunk), kJsonChunk});
        JsonWriter<OutputBuffer> json(out_);
        writeGlbJson(json, document_, layout_, style_);
        if (!json.complete()) {
            throw std::logic_error("glb json left open");
        }
        out_.append(std::string(jsonChunk - jsonLength, ' '));
        writeWords({static_cast<std::uint32_t>(binaryLength), kBinaryChunk});
        document_.views.write(out_);
        out_.finish();
    }

  private:
    // Decides, in the order their bytes follow, every view of the binary chunk and what the
    // JSON says of them: sphere mesh, cylinder mesh, node instances, edge instances.
    void plan() {
        const std::uint64_t edgeCount = switches_.showEdges ? countDrawnEdges(layout_) : 0;
        const bool edges = edgeCount > 0;
        const bool mergedSpheres = switches_.merge && !switches_.showLabels;
        const auto nodeCount = static_cast<std::uint64_t>(layout_.nodeCount);
        GlbViews& views = document_.views;
        document_.labels = switches_.showLabels;
        document_.names = &names_;
        document_.sphere = mergedSpheres
                               ? addMergedMesh(views, sphere_, nodeCount,
                                               [this](auto&& visit) {
                                                   forEachSphereFrame(layout_, style_, visit);
                                               })
                               : addMesh(views, sphere_);
        if (edges) {
            document_.cylinder =
                switches_.merge ? addMergedMesh(views, cylinder_, edgeCount,
                                                [this](auto&& visit) {
                                                    forEachCylinderFrame(layout_, style_, visit);
                                                })
                                : addMesh(views, cylinder_);
        }
        if (colouring_.active()) {
            planColours(mergedSpheres, edges, nodeCount, edgeCount);
        }
        if (switches_.merge) {
            return;
        }
        if (!switches_.showLabels) {
            planNodeInstances(nodeCount);
        }
        if (edges) {
            planEdgeInstances(edgeCount);
        }
    }

    // Calls visit(colour) for every node, then (`edges`) for every drawn edge, in order.
    template <class Visit> void forEachNodeColour(Visit&& visit) const {
        for (std::int32_t i = 0; i < layout_.nodeCount; ++i) {
            visit(colouring_.nodeColour(static_cast<std::uint32_t>(i)));
        }
    }
    template <class Visit> void forEachEdgeColour(Visit&& visit) const {
        forEachEdgeEnds(
            layout_, [&](std::uint32_t i, std::uint32_t j) { visit(colouring_.edgeColour(i, j)); });
    }

    // Merged meshes take COLOR_0 per vertex (every vertex of a copy in its shape's colour);
    // labelled spheres one mesh per distinct colour; instances get theirs in planInstances.
    void planColours(bool mergedSpheres, bool edges, std::uint64_t nodeCount,
                     std::uint64_t edgeCount) {
        document_.colouring = &colouring_;
        GlbViews& views = document_.views;
        if (mergedSpheres) {
            const std::size_t perCopy = sphere_.positions.size();
            document_.sphere.colour = views.addVertices(nodeCount * perCopy, [this, perCopy](
                                                                                 ViewOut& out) {
                forEachNodeColour([&](const Rgb& colour) { repeatColour(out, colour, perCopy); });
            });
        }
        if (edges && switches_.merge) {
            const std::size_t perCopy = cylinder_.positions.size();
            document_.cylinder->colour = views.addVertices(edgeCount * perCopy, [this, perCopy](
                                                                                    ViewOut& out) {
                forEachEdgeColour([&](const Rgb& colour) { repeatColour(out, colour, perCopy); });
            });
        }
        if (switches_.showLabels) {
            planLabelColours();
        }
    }

    static void repeatColour(ViewOut& out, const Rgb& colour, std::size_t times) {
        for (std::size_t k = 0; k < times; ++k) {
            out.floats({colour.red, colour.green, colour.blue});
        }
    }

    void planLabelColours() {
        std::map<std::array<float, 3>, std::uint32_t> known;
        document_.labelColourOf.reserve(static_cast<std::size_t>(layout_.nodeCount));
        forEachNodeColour([this, &known](const Rgb& colour) {
            const auto [at, added] =
                known.try_emplace({colour.red, colour.green, colour.blue},
                                  static_cast<std::uint32_t>(document_.labelColours.size()));
            if (added) {
                document_.labelColours.push_back(colour);
            }
            document_.labelColourOf.push_back(at->second);
        });
    }

    // A per-instance colour (three.js and Babylon.js read "_COLOR_0").
    template <class Colours>
    InstanceAttribute instanceColours(std::uint64_t count, const Colours& colours) {
        return {"_COLOR_0", document_.views.addVectors(count, 3, [colours](ViewOut& out) {
                    colours([&out](const Rgb& colour) {
                        out.floats({colour.red, colour.green, colour.blue});
                    });
                })};
    }

    void planNodeInstances(std::uint64_t count) {
        planNodeTransforms(count);
        if (colouring_.active()) {
            document_.nodeInstances.push_back(
                instanceColours(count, [this](auto&& visit) { forEachNodeColour(visit); }));
        }
    }

    void planEdgeInstances(std::uint64_t count) {
        planEdgeTransforms(count);
        if (colouring_.active()) {
            document_.edgeInstances.push_back(
                instanceColours(count, [this](auto&& visit) { forEachEdgeColour(visit); }));
        }
    }

    void planNodeTransforms(std::uint64_t count) {
        GlbViews& views = document_.views;
        document_.nodeInstances = {
            {"TRANSLATION",
             views.addVectors(count, 3,
                              [this](ViewOut& out) {
                                  forEachNode(layout_, [&out](const Point& at, std::int32_t,
                                                              std::uint32_t) { out.point(at); });
                              })},
            {"SCALE", views.addVectors(count, 3, [this](ViewOut& out) {
                 forEachNode(layout_, [&](const Point&, std::int32_t runLength, std::uint32_t) {
                     const float radius = floatRadius(runLength, style_.nodeRadius);
                     out.floats({radius, radius, radius});
                 });
             })}};
    }

    // One view per attribute: each is a stretch of its own in the file.
    void planEdgeTransforms(std::uint64_t count) {
        GlbViews& views = document_.views;
        document_.edgeInstances = {
            {"TRANSLATION", views.addVectors(count, 3,
                                             [this](ViewOut& out) {
                                                 forEachEdge(layout_, [&out](const Point& from,
                                                                             const Point& to) {
                                                     out.point(edgeMidpoint(from, to));
                                                 });
                                             })},
            {"ROTATION",
             views.addVectors(count, 4,
                              [this](ViewOut& out) {
                                  forEachEdge(layout_, [&out](const Point& from, const Point& to) {
                                      const Quaternion turn = cylinderTurn(from, to);
                                      out.floats(
                                          {static_cast<float>(turn.x), static_cast<float>(turn.y),
                                           static_cast<float>(turn.z), static_cast<float>(turn.w)});
                                  });
                              })},
            {"SCALE", views.addVectors(count, 3, [this](ViewOut& out) {
                 const auto radius = static_cast<float>(style_.edgeRadius);
                 const double nodeRadius = style_.nodeRadius;
                 forEachEdge(layout_, [&](const Point& from, const Point& to) {
                     const auto height = static_cast<float>(cylinderHeight(from, to, nodeRadius));
                     out.floats({radius, height, radius});
                 });
             })}};
    }

    void writeWords(std::initializer_list<std::uint32_t> words) {
        char* out = out_.reserve(kLargestPiece);
        for (const std::uint32_t word : words) {
            out = putWord(out, word);
        }
        out_.commitUpTo(out);
    }

    const Layout& layout_;
    SceneSwitches switches_;
    const Colouring& colouring_;
    const NodeTable& names_;
    DrawingStyle style_;
    UnitMesh sphere_;
    UnitMesh cylinder_;
    GlbDocument document_;
    OutputBuffer out_;
};

} // namespace

void writeGlbScene(const Layout& layout, ByteSink& sink, const SceneSwitches& switches,
                   const Colouring& colouring, const NodeTable& names) {
    refuseCoordinatesBeyond(layout, kLargestGlbCoordinate);
    GlbEncoder(layout, sink, switches, colouring, names).write();
}

} // namespace l2v
