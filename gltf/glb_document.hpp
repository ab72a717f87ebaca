#pragma once

#include "gltf/glb_views.hpp"
#include "layout/layout.hpp"
#include "layout/node_table.hpp"
#include "scene/colouring.hpp"
#include "scene/drawing_style.hpp"
#include "scene/unit_meshes.hpp"

#include <cstdint>
#include <optional>
#include <vector>

namespace l2v {

template <class Out> class JsonWriter;

// The accessors of one mesh's vertices and triangles.
struct MeshAccessors {
    std::uint64_t position = 0;
    std::uint64_t normal = 0;
    std::uint64_t indices = 0;
    std::optional<std::uint64_t> colour; // COLOR_0 of merged, coloured meshes
};

// One per-instance attribute of EXT_mesh_gpu_instancing and the accessor that holds it.
struct InstanceAttribute {
    const char* name = "";
    std::uint64_t accessor = 0;
};

// What the file holds, decided once: the JSON below is written from it, and its views write
// the binary chunk.
struct GlbDocument {
    bool labels = false; // one named glTF node per graph node (spheres drawn through mesh 0)
    // The labelled nodes' names (their indices where a name is empty) and attributes.
    const NodeTable* names = nullptr;
    MeshAccessors sphere;
    std::optional<MeshAccessors> cylinder; // when edges are drawn
    // Empty when the shapes are drawn by one plain mesh (merged) or by labelled nodes.
    std::vector<InstanceAttribute> nodeInstances;
    std::vector<InstanceAttribute> edgeInstances;
    GlbViews views;
    // Coloured scenes: the colours multiply white materials, and the legend goes to the
    // file's extras. Labelled nodes draw the sphere through one extra mesh per distinct
    // colour (`labelColours`), which differ only in their material.
    const Colouring* colouring = nullptr;
    std::vector<Rgb> labelColours;
    std::vector<std::uint32_t> labelColourOf; // per node: its index in labelColours
};

// The JSON of the file; the labelled nodes' positions and sizes come from `layout`. Written
// once into a JsonMeasure for its length, then into the output.
template <class Out>
void writeGlbJson(JsonWriter<Out>& json, const GlbDocument& document, const Layout& layout,
                  const DrawingStyle& style);

} // namespace l2v
