#include "scene_check.hpp"

#include "edge_check.hpp"
#include "fuzz_check.hpp"
#include "names_check.hpp"
#include "number_text.hpp"
#include "scene/edge_geometry.hpp"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <string>
#include <vector>

namespace fuzz {
namespace {

constexpr double kNodeRadius = 0.2;
constexpr std::string_view kHeader = "#VRML V2.0 utf8\n";
constexpr std::string_view kTrailer = "\n# End of file!\n";

// What the scene's lines hold, gathered in order of appearance.
struct SceneLines {
    std::vector<std::string_view> translations; // nodes first, then edges
    std::vector<std::string_view> sphereRadii;
    std::vector<std::string_view> cylinderRadii;
    std::vector<std::string_view> outerRotations;
    std::vector<std::string_view> tilts;
    std::vector<std::string_view> heights;
    std::vector<std::string_view> labels;
    std::size_t spheres = 0;
    std::size_t cylinders = 0;
    std::size_t texts = 0;
};

struct NumberLine {
    std::string_view key;
    std::size_t numbers;
};

constexpr std::array<NumberLine, 8> kNumberLines = {{
    {"translation ", 3},
    {"rotation 0 ", 3},
    {"rotation 1 0 0 ", 1},
    {"radius ", 1},
    {"height ", 1},
    {"size ", 1},
    {"transparency ", 1},
    {"position 0.0 0.0 ", 1},
}};

// A plain loop: memcmp, which std::string_view::starts_with calls, goes through the sanitizer's
// and libFuzzer's interceptors, which for the many short lines of a scene cost more than the
// comparisons themselves.
bool startsWith(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (text[i] != prefix[i]) {
            return false;
        }
    }
    return true;
}

void checkNumbers(std::string_view numbers, std::size_t expected, std::string_view line) {
    std::size_t found = 0;
    while (!numbers.empty()) {
        const std::size_t blank = numbers.find(' ');
        const std::string_view number = numbers.substr(0, blank);
        require(hasFixedShape(number), "number not in %f form", line);
        ++found;
        numbers.remove_prefix(blank == std::string_view::npos ? numbers.size() : blank + 1);
    }
    require(found == expected, "wrong count of numbers on a line", line);
}

void checkNumberLine(std::string_view body) {
    for (const NumberLine& form : kNumberLines) {
        if (startsWith(body, form.key)) {
            checkNumbers(body.substr(form.key.size()), form.numbers, body);
            return;
        }
    }
}

constexpr std::string_view kLabelOpen = "string [ \"";

void requireLabelLine(std::string_view body) {
    require(body == "string [ \"\" ]", "label line not closed", body);
}

void gather(SceneLines& lines, std::size_t indent, std::string_view body) {
    auto valueAfter = [body](std::string_view key) { return body.substr(key.size()); };
    if (startsWith(body, "translation ")) {
        lines.translations.push_back(valueAfter("translation "));
    } else if (startsWith(body, "radius ")) {
        (indent == 16 ? lines.sphereRadii : lines.cylinderRadii).push_back(valueAfter("radius "));
    } else if (startsWith(body, "rotation 0 ")) {
        lines.outerRotations.push_back(valueAfter("rotation 0 "));
    } else if (startsWith(body, "rotation 1 0 0 ")) {
        lines.tilts.push_back(valueAfter("rotation 1 0 0 "));
    } else if (startsWith(body, "height ")) {
        lines.heights.push_back(valueAfter("height "));
    } else if (startsWith(body, kLabelOpen)) {
        requireLabelLine(body);
        lines.labels.push_back(body);
    } else if (body == "geometry Sphere {") {
        ++lines.spheres;
    } else if (body == "geometry Cylinder {") {
        ++lines.cylinders;
    } else if (body == "geometry Text {") {
        ++lines.texts;
    }
}

SceneLines readLines(std::string_view text) {
    SceneLines lines;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        require(newline != std::string_view::npos, "last line without newline");
        const std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline + 1);
        require(line.find('\r') == std::string_view::npos, "carriage return in output", line);
        require(line.empty() || line.back() != ' ', "trailing blank", line);
        const std::size_t indent = std::min(line.find_first_not_of(' '), line.size());
        const std::string_view body = line.substr(indent);
        checkNumberLine(body);
        gather(lines, indent, body);
    }
    return lines;
}

void checkNoNonNumbers(std::string_view text) {
    require(text.find("nan") == std::string_view::npos, "nan in output");
    for (std::size_t at = text.find("inf"); at != std::string_view::npos;
         at = text.find("inf", at + 1)) {
        require(text.substr(at).starts_with("info"), "inf in output");
    }
}

std::string referenceTriple(double a, double b, double c) {
    return referenceFixed(a) + " " + referenceFixed(b) + " " + referenceFixed(c);
}

l2v::Point positionOf(const l2v::Layout& layout, std::int32_t index) {
    const auto at = static_cast<std::size_t>(index);
    const l2v::Coordinates& c = layout.coordinates;
    return {c.x[at], c.y[at], c.z[at]};
}

void checkLabels(const std::vector<std::string>& labels, const l2v::Layout& layout, bool showLabels,
                 const l2v::NodeTable& names) {
    require(labels.size() == (showLabels ? static_cast<std::size_t>(layout.nodeCount) : 0),
            "wrong count of label strings");
    for (std::size_t i = 0; i < labels.size(); ++i) {
        require(labels[i] == shownName(names, static_cast<std::uint32_t>(i)),
                "label is neither the node's name nor its index", labels[i]);
    }
}

void checkNodeBlocks(const SceneLines& lines, const l2v::Layout& layout, bool showLabels) {
    const auto count = static_cast<std::size_t>(layout.nodeCount);
    require(lines.spheres == count, "sphere count differs from node count");
    require(lines.sphereRadii.size() == count, "sphere radius count differs from node count");
    require(lines.texts == (showLabels ? count : 0), "wrong count of text shapes");
    require(lines.labels.size() == (showLabels ? count : 0), "wrong count of labels");
    require(lines.translations.size() >= count, "fewer translations than nodes");
    for (std::int32_t i = 0; i < layout.nodeCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const l2v::Point p = positionOf(layout, i);
        require(lines.translations[at] == referenceTriple(p.x, p.y, p.z),
                "node translation differs from %f of its position", lines.translations[at]);
        const double radius = std::sqrt(static_cast<double>(layout.nodes[at].count)) * kNodeRadius;
        require(lines.sphereRadii[at] == referenceFixed(radius),
                "sphere radius differs from sqrt(count) x 0.2", lines.sphereRadii[at]);
    }
}

// The numbers of a written line, read back as a viewer would.
std::vector<double> numbersOf(std::string_view text) {
    const std::string copy(text);
    std::vector<double> numbers;
    const char* at = copy.c_str();
    char* end = nullptr;
    for (double value = std::strtod(at, &end); end != at; value = std::strtod(at, &end)) {
        numbers.push_back(value);
        at = end;
    }
    return numbers;
}

fuzz::WrittenTurn writtenTurn(std::string_view outerRotation, std::string_view tilt) {
    const std::vector<double> outer = numbersOf(outerRotation);
    const std::vector<double> inner = numbersOf(tilt);
    require(outer.size() == 3 && inner.size() == 1, "rotation numbers unreadable");
    return {outer[0], outer[1], outer[2], inner[0]};
}

void checkEdgeBlock(const SceneLines& lines, std::size_t edge, std::size_t nodes,
                    const l2v::Point& from, const l2v::Point& to) {
    const l2v::EdgeGeometry g = l2v::computeEdgeGeometry(from, to);
    checkEdgeGeometry(from, to, g);
    checkWrittenTurn(from, to, writtenTurn(lines.outerRotations[edge], lines.tilts[edge]));
    require(lines.outerRotations[edge] == referenceTriple(g.axisY, g.axisZ, g.swing),
            "outer rotation differs from %f of the geometry", lines.outerRotations[edge]);
    require(lines.translations[nodes + edge] == referenceTriple(g.midX, g.midY, g.midZ),
            "edge translation differs from %f of the midpoint", lines.translations[nodes + edge]);
    require(lines.tilts[edge] == referenceFixed(g.tilt), "tilt differs from %f of the geometry",
            lines.tilts[edge]);
    require(lines.heights[edge] == referenceFixed(g.length - 2 * kNodeRadius),
            "height differs from %f of length - 0.4", lines.heights[edge]);
    require(lines.cylinderRadii[edge] == "0.100000", "cylinder radius is not 0.1");
}

std::size_t countEdges(const l2v::Layout& layout) {
    std::size_t edges = 0;
    for (std::int32_t i = 0; i < layout.nodeCount; ++i) {
        for (const std::int32_t j : l2v::neighbours(layout, i)) {
            edges += j > i ? 1 : 0;
        }
    }
    return edges;
}

void checkEdgeBlocks(const SceneLines& lines, const l2v::Layout& layout, bool showEdges) {
    const std::size_t expected = showEdges ? countEdges(layout) : 0;
    const auto nodes = static_cast<std::size_t>(layout.nodeCount);
    require(lines.cylinders == expected, "cylinder count differs from references upwards");
    require(lines.translations.size() == nodes + expected, "wrong count of translations");
    require(lines.outerRotations.size() == expected && lines.tilts.size() == expected &&
                lines.heights.size() == expected && lines.cylinderRadii.size() == expected,
            "edge block lines missing");
    std::size_t edge = 0;
    for (std::int32_t i = 0; showEdges && i < layout.nodeCount; ++i) {
        for (const std::int32_t j : l2v::neighbours(layout, i)) {
            if (j > i) {
                checkEdgeBlock(lines, edge++, nodes, positionOf(layout, i), positionOf(layout, j));
            }
        }
    }
}

} // namespace

VrmlLabels splitVrmlLabels(std::string_view text) {
    VrmlLabels split;
    std::size_t at = 0;
    for (std::size_t open = text.find(kLabelOpen); open != std::string_view::npos;
         open = text.find(kLabelOpen, at)) {
        split.rest += text.substr(at, open + kLabelOpen.size() - at);
        std::string label;
        for (at = open + kLabelOpen.size();; ++at) {
            require(at < text.size(), "label string not closed");
            if (text[at] == '"') {
                break;
            }
            if (text[at] == '\\') {
                ++at;
                require(at < text.size() && (text[at] == '"' || text[at] == '\\'),
                        "backslash before neither a quote nor a backslash");
            }
            label += text[at];
        }
        split.labels.push_back(std::move(label));
    }
    split.rest += text.substr(at);
    return split;
}

void checkScene(std::string_view text, const l2v::Layout& layout,
                const l2v::SceneSwitches& switches, const l2v::NodeTable& names) {
    require(text.starts_with(kHeader), "scene does not start with the VRML header");
    require(text.ends_with(kTrailer), "scene does not end with the trailer");
    const VrmlLabels split = splitVrmlLabels(text);
    checkNoNonNumbers(split.rest);
    const SceneLines lines = readLines(split.rest);
    checkNodeBlocks(lines, layout, switches.showLabels);
    checkLabels(split.labels, layout, switches.showLabels, names);
    checkEdgeBlocks(lines, layout, switches.showEdges);
}

void checkMergedScene(std::string_view text, const l2v::Layout& layout,
                      const l2v::SceneSwitches& switches, const l2v::NodeTable& names) {
    require(text.starts_with(kHeader) && text.ends_with(kTrailer), "merged VRML: frame");
    const VrmlLabels split = splitVrmlLabels(text);
    // Numbers start after the frame ("info" in WorldInfo is no infinity).
    const std::size_t meshes = split.rest.find("Background");
    require(meshes != std::string::npos && split.rest.find("nan", meshes) == std::string::npos &&
                split.rest.find("inf", meshes) == std::string::npos,
            "merged VRML: a number that is not finite");
    checkLabels(split.labels, layout, switches.showLabels, names);
}

} // namespace fuzz
