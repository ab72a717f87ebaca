#include "gltf/glb_document.hpp"

#include "gltf/json_number.hpp"
#include "scene/drawing_style.hpp"
#include "scene/scene_walk.hpp"

#include <algorithm>
#include <cstddef>

#ifndef LAYOUT2VRML_VERSION
#define LAYOUT2VRML_VERSION "unknown"
#endif

namespace l2v {
namespace {

constexpr int kFloat = 5126;
constexpr int kUnsignedShort = 5123;
constexpr int kUnsignedInt = 5125;
constexpr int kArrayBuffer = 34962;
constexpr int kElementArrayBuffer = 34963;
constexpr std::uint64_t kVec3Bytes = 3 * sizeof(float);
constexpr std::uint64_t kVec4Bytes = 4 * sizeof(float);
// The camera of the VRML scene: 45 degrees of vertical field of view.
constexpr float kFieldOfView = 0.785398F;
constexpr float kNearPlane = 0.1F;

std::string text(std::uint64_t value) {
    return std::to_string(value);
}

std::string floatList(std::initializer_list<float> values) {
    std::string out;
    for (const float value : values) {
        out += out.empty() ? '[' : ',';
        out += jsonFloat(value);
    }
    out += ']';
    return out;
}

// A colour and an opacity as a JSON RGBA list.
std::string colourFactor(const Rgb& colour, double transparency) {
    return floatList(
        {colour.red, colour.green, colour.blue, static_cast<float>(1.0 - transparency)});
}

std::string material(const char* name, const Rgb& colour, double transparency) {
    return std::string(R"({"name":")") + name + R"(","pbrMetallicRoughness":{"baseColorFactor":)" +
           colourFactor(colour, transparency) + R"(,"metallicFactor":0},"alphaMode":"BLEND"})";
}

std::string positionBounds(const MeshPlan& mesh) {
    return R"(,"min":)" + floatList({mesh.low[0], mesh.low[1], mesh.low[2]}) + R"(,"max":)" +
           floatList({mesh.high[0], mesh.high[1], mesh.high[2]});
}

class ViewPlanner {
  public:
    explicit ViewPlanner(std::vector<BinaryView>& views) : views_(views) {}

    // Adds a view and returns its accessor's index.
    std::uint64_t add(std::uint64_t count, std::uint64_t elementBytes, int componentType,
                      const char* type, int target, std::string bounds = {}) {
        BinaryView view;
        view.offset = end_;
        view.length = count * elementBytes;
        view.count = count;
        view.componentType = componentType;
        view.type = type;
        view.target = target;
        view.bounds = std::move(bounds);
        end_ += (view.length + 3) / 4 * 4; // every view starts on a 4-byte boundary
        views_.push_back(std::move(view));
        return views_.size() - 1;
    }

    std::uint64_t end() const { return end_; }

  private:
    std::vector<BinaryView>& views_;
    std::uint64_t end_ = 0;
};

// Accessors of one mesh's vertices and triangles; returns its JSON mesh.
std::string planMesh(ViewPlanner& views, const MeshPlan& mesh, const char* name, int material) {
    const std::uint64_t position =
        views.add(mesh.vertices, kVec3Bytes, kFloat, "VEC3", kArrayBuffer, positionBounds(mesh));
    const std::uint64_t normal = views.add(mesh.vertices, kVec3Bytes, kFloat, "VEC3", kArrayBuffer);
    const std::uint64_t indices = mesh.wideIndices
                                      ? views.add(mesh.indices, sizeof(std::uint32_t), kUnsignedInt,
                                                  "SCALAR", kElementArrayBuffer)
                                      : views.add(mesh.indices, sizeof(std::uint16_t),
                                                  kUnsignedShort, "SCALAR", kElementArrayBuffer);
    return std::string(R"({"name":")") + name + R"(","primitives":[{"attributes":{"POSITION":)" +
           text(position) + R"(,"NORMAL":)" + text(normal) + R"(},"indices":)" + text(indices) +
           R"(,"material":)" + std::to_string(material) + "}]}";
}

std::string plainNode(const char* name, int mesh) {
    return std::string(R"({"name":")") + name + R"(","mesh":)" + std::to_string(mesh) + "}";
}

std::string instancedNode(const char* name, int mesh, const std::string& attributes) {
    return std::string(R"({"name":")") + name + R"(","mesh":)" + std::to_string(mesh) +
           R"(,"extensions":{"EXT_mesh_gpu_instancing":{"attributes":{)" + attributes + "}}}}";
}

std::string accessorsAndViews(const std::vector<BinaryView>& views) {
    std::string accessors = R"("accessors":[)";
    std::string bufferViews = R"("bufferViews":[)";
    for (std::size_t i = 0; i < views.size(); ++i) {
        const BinaryView& view = views[i];
        const char* comma = i == 0 ? "" : ",";
        accessors += std::string(comma) + R"({"bufferView":)" + text(i) + R"(,"componentType":)" +
                     std::to_string(view.componentType) + R"(,"count":)" + text(view.count) +
                     R"(,"type":")" + view.type + "\"" + view.bounds + "}";
        bufferViews += std::string(comma) + R"({"buffer":0,"byteOffset":)" + text(view.offset) +
                       R"(,"byteLength":)" + text(view.length) +
                       (view.target != 0 ? R"(,"target":)" + std::to_string(view.target) : "") +
                       "}";
    }
    return accessors + "]," + bufferViews + "]";
}

} // namespace

void MeshPlan::widen(const std::array<float, 3>& position) {
    for (std::size_t axis = 0; axis < 3; ++axis) {
        low[axis] = std::min(low[axis], position[axis]);
        high[axis] = std::max(high[axis], position[axis]);
    }
}

MeshPlan planOf(const UnitMesh& mesh) {
    MeshPlan plan;
    plan.vertices = mesh.positions.size();
    plan.indices = mesh.indices.size();
    plan.low = mesh.positions.front();
    plan.high = plan.low;
    for (const auto& position : mesh.positions) {
        plan.widen(position);
    }
    return plan;
}

GlbDocument planGlbDocument(const GlbContents& contents, const MeshPlan& sphere,
                            const MeshPlan& cylinder) {
    const DrawingStyle style;
    const bool edges = contents.edgeCount > 0;
    GlbDocument document;
    ViewPlanner views(document.views);

    // Bytes follow in this order: sphere mesh, cylinder mesh, node instances, edge instances
    // (merged scenes have none).
    std::string meshes = R"("meshes":[)" + planMesh(views, sphere, "sphere", 0);
    if (edges) {
        meshes += "," + planMesh(views, cylinder, "cylinder", 1);
    }
    meshes += "]";
    std::string nodeInstances;
    if (!contents.labels && contents.merged) {
        nodeInstances = plainNode("nodes", 0);
    } else if (!contents.labels) {
        const std::uint64_t translation =
            views.add(contents.nodeCount, kVec3Bytes, kFloat, "VEC3", 0);
        const std::uint64_t scale = views.add(contents.nodeCount, kVec3Bytes, kFloat, "VEC3", 0);
        nodeInstances = instancedNode(
            "nodes", 0, R"("TRANSLATION":)" + text(translation) + R"(,"SCALE":)" + text(scale));
    }
    std::string edgeInstances;
    if (edges && contents.merged) {
        edgeInstances = plainNode("edges", 1) + ",";
    } else if (edges) {
        const std::uint64_t translation =
            views.add(contents.edgeCount, kVec3Bytes, kFloat, "VEC3", 0);
        const std::uint64_t rotation = views.add(contents.edgeCount, kVec4Bytes, kFloat, "VEC4", 0);
        const std::uint64_t scale = views.add(contents.edgeCount, kVec3Bytes, kFloat, "VEC3", 0);
        edgeInstances = instancedNode("edges", 1,
                                      R"("TRANSLATION":)" + text(translation) + R"(,"ROTATION":)" +
                                          text(rotation) + R"(,"SCALE":)" + text(scale)) +
                        ",";
    }
    document.binaryLength = views.end();

    const std::uint64_t cameraNode = edges ? 2 : 1;
    document.firstLabelledNode = cameraNode + 1;
    const bool instancing = !contents.merged && (edges || !contents.labels);

    std::string& head = document.head;
    head = R"({"asset":{"version":"2.0","generator":"layout2vrml )" LAYOUT2VRML_VERSION R"("},)";
    if (instancing) {
        head += R"("extensionsUsed":["EXT_mesh_gpu_instancing"],)"
                R"("extensionsRequired":["EXT_mesh_gpu_instancing"],)";
    }
    head += R"("scene":0,"scenes":[{"nodes":[0,)" + (edges ? std::string("1,") : "") +
            text(cameraNode) + R"(]}],"nodes":[)";
    const std::string camera = R"({"name":"camera","camera":0,"translation":)" +
                               floatList({0.0F, 0.0F, static_cast<float>(kSceneExtent)}) + "}";
    if (contents.labels) {
        head += R"({"name":"nodes","children":[)";
        document.middle = "]}," + edgeInstances + camera + ",";
    } else {
        head += nodeInstances + "," + edgeInstances + camera;
    }

    std::string& tail = document.tail;
    tail = R"(],"cameras":[{"type":"perspective","perspective":{"yfov":)" +
           jsonFloat(kFieldOfView) + R"(,"znear":)" + jsonFloat(kNearPlane) + "}}],";
    tail += R"("materials":[)" + material("node", style.nodeColour, style.nodeTransparency);
    if (edges) {
        tail += "," + material("edge", style.edgeColour, style.edgeTransparency);
    }
    tail += "]," + meshes + "," + accessorsAndViews(document.views) +
            R"(,"buffers":[{"byteLength":)" + text(document.binaryLength) + "}]}";
    return document;
}

} // namespace l2v
