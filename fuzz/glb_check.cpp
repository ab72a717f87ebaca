#include "glb_check.hpp"

#include "fuzz_check.hpp"
#include "json_text.hpp"
#include "names_check.hpp"
#include "scene/scene_walk.hpp"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace fuzz {
namespace {

struct GlbParts {
    std::size_t binary; // where the binary chunk's data starts
    JsonValue json;
};

std::uint32_t wordAt(std::string_view bytes, std::size_t offset) {
    require(offset + 4 <= bytes.size(), "glb: truncated");
    std::uint32_t word = 0;
    std::memcpy(&word, bytes.data() + offset, sizeof word);
    return word;
}

float floatAt(std::string_view bytes, std::size_t offset) {
    const std::uint32_t word = wordAt(bytes, offset);
    float value = 0;
    std::memcpy(&value, &word, sizeof value);
    return value;
}

void checkNodeInstances(std::string_view bytes, std::size_t start, const l2v::Layout& layout) {
    const auto nodeCount = static_cast<std::size_t>(layout.nodeCount);
    for (std::size_t i = 0; i < nodeCount; ++i) {
        const std::size_t at = start + 12 * i;
        require(floatAt(bytes, at) == static_cast<float>(layout.coordinates.x[i]) &&
                    floatAt(bytes, at + 4) == static_cast<float>(layout.coordinates.y[i]) &&
                    floatAt(bytes, at + 8) == static_cast<float>(layout.coordinates.z[i]),
                "glb: sphere translation is not the node's position");
        const double radius = 0.2 * std::sqrt(static_cast<double>(layout.nodes[i].count));
        const std::size_t scale = start + 12 * nodeCount + 12 * i;
        require(floatAt(bytes, scale) == static_cast<float>(radius), "glb: sphere radius");
    }
}

void checkEdgeInstances(std::string_view bytes, std::size_t start, std::size_t edgeCount) {
    for (std::size_t e = 0; e < edgeCount; ++e) {
        for (std::size_t k = 0; k < 3; ++k) {
            require(std::isfinite(floatAt(bytes, start + 12 * e + 4 * k)), "glb: edge midpoint");
        }
        const std::size_t turn = start + 12 * edgeCount + 16 * e;
        double norm = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const double component = floatAt(bytes, turn + 4 * k);
            norm += component * component;
        }
        require(std::fabs(norm - 1.0) < 1e-5, "glb: edge rotation is not a unit quaternion");
        const float height = floatAt(bytes, start + 28 * edgeCount + 12 * e + 4);
        require(std::isfinite(height) && height >= 0, "glb: cylinder height");
    }
}

void checkExtras(const JsonValue& node, const l2v::NodeTable& names, std::uint32_t index) {
    const JsonValue* extras = node.member("extras");
    if (names.columnCount() <= 1) {
        require(extras == nullptr, "glb: extras without attributes");
        return;
    }
    require(extras != nullptr && extras->kind == JsonValue::Kind::object &&
                extras->names.size() + 1 == names.columnCount(),
            "glb: a labelled node's extras are not its attributes");
    std::size_t member = 0;
    for (std::size_t column = 0; column < names.columnCount(); ++column) {
        if (column != names.nameColumn) {
            require(extras->names[member] == names.headers[column] &&
                        extras->items[member].text == names.cell(index, column),
                    "glb: an attribute differs from its cell", names.headers[column]);
            ++member;
        }
    }
}

// The labelled nodes follow the camera's node, one per layout node in order.
void checkLabelledNodes(const JsonValue& json, const l2v::Layout& layout,
                        const l2v::NodeTable& names) {
    const JsonValue* nodes = json.member("nodes");
    require(nodes != nullptr && nodes->kind == JsonValue::Kind::array, "glb: no nodes");
    std::size_t camera = 0;
    while (camera < nodes->items.size() && nodes->items[camera].member("camera") == nullptr) {
        ++camera;
    }
    require(nodes->items.size() - camera == static_cast<std::size_t>(layout.nodeCount) + 1,
            "glb: labelled nodes do not number the layout's nodes");
    for (std::uint32_t index = 0; index < static_cast<std::uint32_t>(layout.nodeCount); ++index) {
        const JsonValue& node = nodes->items[camera + 1 + index];
        const JsonValue* name = node.member("name");
        require(name != nullptr && name->kind == JsonValue::Kind::string &&
                    name->text == shownName(names, index),
                "glb: a labelled node's name is neither its name nor its index",
                name == nullptr ? "" : name->text);
        checkExtras(node, names, index);
    }
}

} // namespace

void checkGlbRefusalJustified(const l2v::Layout& layout) {
    const l2v::Coordinates& at = layout.coordinates;
    bool beyond = false;
    for (const std::vector<double>* axis : {&at.x, &at.y, &at.z}) {
        for (const double value : *axis) {
            beyond = beyond || std::fabs(value) > 1e37;
        }
    }
    require(beyond, "glb refused for a layout within the float range");
}

namespace {

GlbParts checkGlbContainer(std::string_view bytes) {
    require(bytes.substr(0, 4) == "glTF" && wordAt(bytes, 4) == 2, "glb: header");
    require(wordAt(bytes, 8) == bytes.size(), "glb: total length");
    const std::uint32_t jsonLength = wordAt(bytes, 12);
    require(jsonLength % 4 == 0 && 28 + std::size_t{jsonLength} <= bytes.size(),
            "glb: JSON chunk length");
    // JSON's grammar has no "nan" or "inf": reading it strictly proves every number finite.
    std::optional<JsonValue> json = parseJson(bytes.substr(20, jsonLength));
    require(json.has_value(), "glb: the JSON chunk is not JSON");
    const std::size_t binary = 28 + std::size_t{jsonLength};
    require(wordAt(bytes, binary - 8) == bytes.size() - binary, "glb: binary chunk length");
    return {binary, std::move(*json)};
}

} // namespace

void checkMergedGlb(std::string_view bytes, const l2v::Layout& layout,
                    const l2v::SceneSwitches& switches, const l2v::NodeTable& names) {
    const GlbParts parts = checkGlbContainer(bytes);
    const std::size_t binary = parts.binary;
    const JsonValue* extensions = parts.json.member("extensionsUsed");
    require(extensions == nullptr || extensions->items.empty(), "merged glb: uses an extension");
    // Every float of the binary chunk is finite (the 32-bit indices, below 2^31 in any file
    // the format allows, read as floats are finite too).
    for (std::size_t at = binary; at + 4 <= bytes.size(); at += 4) {
        const float value = floatAt(bytes, at);
        require(std::isfinite(value), "merged glb: a value is not finite");
    }
    if (switches.showLabels) {
        checkLabelledNodes(parts.json, layout, names);
    }
}

void checkGlb(std::string_view bytes, const l2v::Layout& layout, const l2v::SceneSwitches& switches,
              const l2v::NodeTable& names) {
    const GlbParts parts = checkGlbContainer(bytes);
    const std::size_t binary = parts.binary;
    if (switches.showLabels) {
        checkLabelledNodes(parts.json, layout, names);
    }

    const std::size_t edgeCount = switches.showEdges ? l2v::countDrawnEdges(layout) : 0;
    const std::size_t nodeBytes =
        switches.showLabels ? 0 : 24 * static_cast<std::size_t>(layout.nodeCount);
    const std::size_t instances = nodeBytes + 40 * edgeCount;
    require(instances <= bytes.size() - binary, "glb: binary chunk too short");
    const std::size_t start = bytes.size() - instances;
    if (!switches.showLabels) {
        checkNodeInstances(bytes, start, layout);
    }
    checkEdgeInstances(bytes, start + nodeBytes, edgeCount);
}

} // namespace fuzz
