#pragma once

#include "scene/unit_meshes.hpp"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace l2v {

// What the scene holds, which decides every size of the file.
struct GlbContents {
    std::uint64_t nodeCount = 0;
    std::uint64_t edgeCount = 0; // drawn edges: 0 when edges are not shown
    bool labels = false;         // one named glTF node per graph node instead of instances
    bool merged = false;         // every shape's triangles in one plain mesh per kind
};

// The data of one mesh as the file holds it.
struct MeshPlan {
    std::uint64_t vertices = 0;
    std::uint64_t indices = 0;
    bool wideIndices = false; // 32-bit indices instead of 16-bit
    std::array<float, 3> low{};
    std::array<float, 3> high{};

    // Grows the bounds to hold `position`.
    void widen(const std::array<float, 3>& position);
};

// A unit mesh drawn as it is (or through instances).
MeshPlan planOf(const UnitMesh& mesh);

// One stretch of the binary chunk, read through one accessor of the same index.
struct BinaryView {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    std::uint64_t count = 0;
    int componentType = 0;
    const char* type = "";
    int target = 0;     // 0: no GPU buffer target (instance data)
    std::string bounds; // ,"min":[..],"max":[..] for vertex positions
};

// The JSON of the file, cut where the per-node parts of a labelled scene are streamed in:
// head, the labelled nodes' indices, middle, the labelled nodes, tail. Without labels the
// two streamed parts are empty.
struct GlbDocument {
    std::string head;
    std::string middle;
    std::string tail;
    std::uint64_t firstLabelledNode = 0; // glTF node index of graph node 0
    std::vector<BinaryView> views;       // in the order their bytes are written
    std::uint64_t binaryLength = 0;      // a multiple of 4
};

// Plans the file for `contents` around its sphere and cylinder meshes.
GlbDocument planGlbDocument(const GlbContents& contents, const MeshPlan& sphere,
                            const MeshPlan& cylinder);

} // namespace l2v
