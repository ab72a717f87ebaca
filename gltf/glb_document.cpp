#include "gltf/glb_document.hpp"

#include "common/version.hpp"
#include "output/json_writer.hpp"
#include "output/output_buffer.hpp"
#include "scene/legend_json.hpp"
#include "scene/scene_switches.hpp"
#include "scene/scene_walk.hpp"

#include <array>
#include <cstddef>
#include <string>

namespace l2v {
namespace {

// The camera of the VRML scene: 45 degrees of vertical field of view.
constexpr float kFieldOfView = 0.785398F;
constexpr float kNearPlane = 0.1F;
constexpr const char* kInstancing = "EXT_mesh_gpu_instancing";

template <class Out> void floatArray(JsonWriter<Out>& json, const std::array<float, 3>& values) {
    json.beginArray();
    for (const float value : values) {
        json.number(value);
    }
    json.endArray();
}

template <class Out>
void material(JsonWriter<Out>& json, const char* name, const Rgb& colour, double transparency) {
    json.beginObject();
    json.key("name");
    json.string(name);
    json.key("pbrMetallicRoughness");
    json.beginObject();
    json.key("baseColorFactor");
    json.beginArray();
    for (const float channel : {colour.red, colour.green, colour.blue}) {
        json.number(channel);
    }
    json.number(static_cast<float>(1.0 - transparency));
    json.endArray();
    json.key("metallicFactor");
    json.index(0);
    json.endObject();
    json.key("alphaMode");
    json.string("BLEND");
    json.endObject();
}

template <class Out>
void mesh(JsonWriter<Out>& json, const char* name, const MeshAccessors& accessors,
          std::uint64_t materialIndex) {
    json.beginObject();
    json.key("name");
    json.string(name);
    json.key("primitives");
    json.beginArray();
    json.beginObject();
    json.key("attributes");
    json.beginObject();
    json.key("POSITION");
    json.index(accessors.position);
    json.key("NORMAL");
    json.index(accessors.normal);
    if (accessors.colour) {
        json.key("COLOR_0");
        json.index(*accessors.colour);
    }
    json.endObject();
    json.key("indices");
    json.index(accessors.indices);
    json.key("material");
    json.index(materialIndex);
    json.endObject();
    json.endArray();
    json.endObject();
}

// A glTF node drawing `meshIndex` once, or once per instance when it has instance attributes.
template <class Out>
void shapeNode(JsonWriter<Out>& json, const char* name, std::uint64_t meshIndex,
               const std::vector<InstanceAttribute>& instances) {
    json.beginObject();
    json.key("name");
    json.string(name);
    json.key("mesh");
    json.index(meshIndex);
    if (!instances.empty()) {
        json.key("extensions");
        json.beginObject();
        json.key(kInstancing);
        json.beginObject();
        json.key("attributes");
        json.beginObject();
        for (const InstanceAttribute& attribute : instances) {
            json.key(attribute.name);
            json.index(attribute.accessor);
        }
        json.endObject();
        json.endObject();
        json.endObject();
    }
    json.endObject();
}

// A node's attributes, by their columns' headers, where readers keep application data.
template <class Out>
void attributeExtras(JsonWriter<Out>& json, const NodeTable& names, std::uint32_t index) {
    json.key("extras");
    json.beginObject();
    for (std::size_t column = 0; column < names.columnCount(); ++column) {
        if (column != names.nameColumn) {
            json.textKey(names.headers[column]);
            json.string(names.cell(index, column));
        }
    }
    json.endObject();
}

template <class Out>
void labelledNode(JsonWriter<Out>& json, const NodeTable* names, std::uint32_t index,
                  const Point& at, float radius, std::uint64_t meshIndex) {
    json.beginObject();
    json.key("name");
    const std::string_view name = names != nullptr && names->present() ? names->name(index) : "";
    if (name.empty()) {
        json.indexString(index);
    } else {
        json.string(name);
    }
    if (names != nullptr && names->columnCount() > 1) {
        attributeExtras(json, *names, index);
    }
    json.key("mesh");
    json.index(meshIndex);
    json.key("translation");
    floatArray(json,
               {static_cast<float>(at.x), static_cast<float>(at.y), static_cast<float>(at.z)});
    json.key("scale");
    floatArray(json, {radius, radius, radius});
    json.endObject();
}

template <class Out> void accessors(JsonWriter<Out>& json, const std::vector<BinaryView>& views) {
    json.key("accessors");
    json.beginArray();
    for (std::size_t i = 0; i < views.size(); ++i) {
        const BinaryView& view = views[i];
        json.beginObject();
        json.key("bufferView");
        json.index(i);
        json.key("componentType");
        json.index(static_cast<std::uint64_t>(view.componentType));
        json.key("count");
        json.index(view.count);
        json.key("type");
        json.string(view.type);
        if (view.bounds) {
            json.key("min");
            floatArray(json, view.bounds->low);
            json.key("max");
            floatArray(json, view.bounds->high);
        }
        json.endObject();
    }
    json.endArray();
}

template <class Out> void bufferViews(JsonWriter<Out>& json, const std::vector<BinaryView>& views) {
    json.key("bufferViews");
    json.beginArray();
    for (const BinaryView& view : views) {
        json.beginObject();
        json.key("buffer");
        json.index(0);
        json.key("byteOffset");
        json.index(view.offset);
        json.key("byteLength");
        json.index(view.length);
        if (view.target != 0) {
            json.key("target");
            json.index(static_cast<std::uint64_t>(view.target));
        }
        json.endObject();
    }
    json.endArray();
}

template <class Out> void extensions(JsonWriter<Out>& json, const GlbDocument& document) {
    if (document.nodeInstances.empty() && document.edgeInstances.empty()) {
        return;
    }
    for (const char* use : {"extensionsUsed", "extensionsRequired"}) {
        json.key(use);
        json.beginArray();
        json.string(kInstancing);
        json.endArray();
    }
}

// What the colours stand for, where readers of the file find it: the legend in the extras.
template <class Out> void legendExtras(JsonWriter<Out>& json, const Colouring& colouring) {
    json.key("extras");
    writeLegendJson(json, colouring);
}

// The scene's nodes: spheres, cylinders, camera, then the labelled nodes (when labels are
// shown) that the first one holds as its children.
template <class Out>
void nodes(JsonWriter<Out>& json, const GlbDocument& document, const Layout& layout,
           const DrawingStyle& style) {
    const std::uint64_t camera = document.cylinder ? 2 : 1;
    json.key("scene");
    json.index(0);
    json.key("scenes");
    json.beginArray();
    json.beginObject();
    json.key("nodes");
    json.beginArray();
    for (std::uint64_t node = 0; node <= camera; ++node) {
        json.index(node);
    }
    json.endArray();
    json.endObject();
    json.endArray();

    json.key("nodes");
    json.beginArray();
    if (document.labels) {
        json.beginObject();
        json.key("name");
        json.string("nodes");
        json.key("children");
        json.beginArray();
        forEachNode(layout, [&json, camera](const Point&, std::int32_t, std::uint32_t index) {
            json.index(camera + 1 + index);
        });
        json.endArray();
        json.endObject();
    } else {
        shapeNode(json, "nodes", 0, document.nodeInstances);
    }
    if (document.cylinder) {
        shapeNode(json, "edges", 1, document.edgeInstances);
    }
    json.beginObject();
    json.key("name");
    json.string("camera");
    json.key("camera");
    json.index(0);
    json.key("translation");
    floatArray(json, {0.0F, 0.0F, static_cast<float>(kSceneExtent)});
    json.endObject();
    if (document.labels) {
        const std::uint64_t firstColourMesh = document.cylinder ? 2 : 1;
        forEachNode(layout, [&](const Point& at, std::int32_t count, std::uint32_t index) {
            labelledNode(json, document.names, index, at,
                         static_cast<float>(sphereRadius(count, style.nodeRadius)),
                         document.labelColourOf.empty()
                             ? 0
                             : firstColourMesh + document.labelColourOf[index]);
        });
    }
    json.endArray();
}

} // namespace

template <class Out>
void writeGlbJson(JsonWriter<Out>& json, const GlbDocument& document, const Layout& layout,
                  const DrawingStyle& style) {
    json.beginObject();
    json.key("asset");
    json.beginObject();
    json.key("version");
    json.string("2.0");
    json.key("generator");
    json.string(programVersion());
    json.endObject();
    extensions(json, document);
    nodes(json, document, layout, style);

    json.key("cameras");
    json.beginArray();
    json.beginObject();
    json.key("type");
    json.string("perspective");
    json.key("perspective");
    json.beginObject();
    json.key("yfov");
    json.number(kFieldOfView);
    json.key("znear");
    json.number(kNearPlane);
    json.endObject();
    json.endObject();
    json.endArray();

    // Per-instance and per-vertex colours multiply the material's: white when coloured.
    const bool coloured = document.colouring != nullptr;
    constexpr Rgb kWhite{1, 1, 1};
    json.key("materials");
    json.beginArray();
    material(json, "node", coloured ? kWhite : style.nodeColour, style.nodeTransparency);
    if (document.cylinder) {
        material(json, "edge", coloured ? kWhite : style.edgeColour, style.edgeTransparency);
    }
    for (const Rgb& colour : document.labelColours) {
        material(json, "node", colour, style.nodeTransparency);
    }
    json.endArray();

    json.key("meshes");
    json.beginArray();
    mesh(json, "sphere", document.sphere, 0);
    const std::uint64_t cylinderMaterial = document.cylinder ? 1 : 0;
    if (document.cylinder) {
        mesh(json, "cylinder", *document.cylinder, cylinderMaterial);
    }
    for (std::uint64_t k = 0; k < document.labelColours.size(); ++k) {
        mesh(json, "sphere", document.sphere, cylinderMaterial + 1 + k);
    }
    json.endArray();

    accessors(json, document.views.views());
    bufferViews(json, document.views.views());
    json.key("buffers");
    json.beginArray();
    json.beginObject();
    json.key("byteLength");
    json.index(document.views.length());
    json.endObject();
    json.endArray();
    if (coloured) {
        legendExtras(json, *document.colouring);
    }
    json.endObject();
}

template void writeGlbJson(JsonWriter<JsonMeasure>&, const GlbDocument&, const Layout&,
                           const DrawingStyle&);
template void writeGlbJson(JsonWriter<OutputBuffer>&, const GlbDocument&, const Layout&,
                           const DrawingStyle&);

} // namespace l2v
