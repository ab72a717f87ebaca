#include "vrml/vrml_writer.hpp"

#include "vrml/number_format.hpp"
#include "vrml/vrml_string.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <stdexcept>

namespace l2v {
namespace {

// Numbers in the largest block (an edge), each with its leading blank.
constexpr std::size_t kNumbersPerBlock = 8;
// A merged mesh's point: three numbers and their separators.
constexpr std::size_t kPointRoom = 3 * (kMaxFourDecimalsLength + 1);
// A merged mesh's face: up to this many corners (a prism cap has one per side), each up to
// 10 digits and a blank, then "-1\n".
constexpr std::size_t kMaxFaceCorners = 64;
constexpr std::size_t kFaceRoom = kMaxFaceCorners * 11 + 3;
// A label is a 32-bit index: at most 10 digits.
constexpr std::size_t kLabelRoom = 16;
// Sphere radius texts are cached, when first written, for run lengths below this (nodes with
// fewer than 4095 references: nearly every node of a real graph); longer runs are formatted
// per node.
constexpr std::int32_t kCachedRadii = 4096;

const char* const kViewerAddress = "https://castle-engine.io/view3dscene.php";

std::string fixedText(double value) {
    char digits[kMaxFixedLength];
    return {digits, writeFixedExact(digits, value)};
}

char* put(char* out, std::string_view text) {
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

char* putSeparated(char* out, double value) {
    *out++ = ' ';
    return writeFixed(out, value);
}

// Appends the start of a line whose end (a number or a label) is written per block.
void addLineStart(std::string& out, int indent, std::string_view text,
                  std::string_view value = {}) {
    out.append(static_cast<std::size_t>(indent), ' ');
    out += text;
    out += value;
}

// Appends a whole line: the indent in blanks, the text and value, a newline.
void addLine(std::string& out, int indent, std::string_view text, std::string_view value = {}) {
    addLineStart(out, indent, text, value);
    out += '\n';
}

// Appends the start of a Shape at `indent` up to its material's colour value.
void addShapeUpToColour(std::string& out, int indent) {
    addLine(out, indent, "Shape {");
    addLine(out, indent + 4, "appearance Appearance {");
    addLine(out, indent + 8, "material Material {");
    addLineStart(out, indent + 12, "diffuseColor ");
}

// Appends the rest of a Shape's appearance after its colour value: the transparency, when
// given, and the closes up to its geometry.
void addShapeAfterColour(std::string& out, int indent, std::optional<double> transparency) {
    out += '\n';
    if (transparency) {
        addLine(out, indent + 12, "transparency ", fixedText(*transparency));
    }
    addLine(out, indent + 8, "}");
    addLine(out, indent + 4, "}");
}

// Appends the start of a Shape at `indent`, up to its geometry: the appearance with the
// material's colour and, when given, its transparency.
void addShapeAppearance(std::string& out, int indent, const Rgb& colour,
                        std::optional<double> transparency) {
    addShapeUpToColour(out, indent);
    out += vrmlColour(colour);
    addShapeAfterColour(out, indent, transparency);
}

} // namespace

VrmlWriter::VrmlWriter(ByteSink& sink, const DrawingStyle& style, bool showLabels)
    : nodeRadius_(style.nodeRadius), showLabels_(showLabels), edgeShortening_(2 * style.nodeRadius),
      blockRoom_(composeBlockText(style, showLabels)),
      out_(sink, std::max({blockRoom_, kPointRoom, kFaceRoom})) {}

std::size_t VrmlWriter::composeBlockText(const DrawingStyle& style, bool showLabels) {
    composeNodeText(style, showLabels);
    composeEdgeText(style);
    const std::size_t textSize = nodeOpen_.size() + nodeAfterPosition_.size() +
                                 std::max(labelClose_.size(), labelOnlyClose_.size()) +
                                 sphereAfterColour_.size() + nodeClose_.size() + edgeOpen_.size() +
                                 edgeTranslation_.size() + edgeTilt_.size() + edgeHeight_.size() +
                                 edgeAfterColour_.size() + edgeClose_.size();
    return textSize + kLabelRoom + kMaxVrmlColourLength + kNumbersPerBlock * (kMaxFixedLength + 1);
}

void VrmlWriter::composeNodeText(const DrawingStyle& style, bool showLabels) {
    // The sphere's colour is written per node.
    std::string sphere;
    addShapeUpToColour(sphere, 8);
    addShapeAfterColour(sphereAfterColour_, 8, style.nodeTransparency);
    addLine(sphereAfterColour_, 12, "geometry Sphere {");
    addLineStart(sphereAfterColour_, 16, "radius ");
    nodeColour_ = vrmlColour(style.nodeColour);

    std::string labelOpen;
    addShapeAppearance(labelOpen, 8, style.labelColour, std::nullopt);
    addLine(labelOpen, 12, "geometry Text {");
    addLineStart(labelOpen, 16, "string [ \"");

    addLine(nodeOpen_, 0, "Transform {");
    addLineStart(nodeOpen_, 4, "translation ");

    nodeAfterPosition_ += '\n';
    addLine(nodeAfterPosition_, 4, "children [");
    nodeAfterPosition_ += showLabels ? labelOpen : sphere;

    addLine(labelClose_, 0, "\" ]");
    addLine(labelClose_, 16, "fontStyle FontStyle {");
    addLine(labelClose_, 20, "size ", fixedText(style.labelSize));
    addLine(labelClose_, 16, "}");
    addLine(labelClose_, 12, "}");
    addLine(labelClose_, 8, "}");
    labelOnlyClose_ = labelClose_;
    addLine(labelOnlyClose_, 4, "]");
    addLine(labelOnlyClose_, 0, "}");
    labelClose_ += sphere;

    nodeClose_ += '\n';
    addLine(nodeClose_, 12, "}");
    addLine(nodeClose_, 8, "}");
    addLine(nodeClose_, 4, "]");
    addLine(nodeClose_, 0, "}");
}

void VrmlWriter::composeEdgeText(const DrawingStyle& style) {
    addLine(edgeOpen_, 0, "Transform {");
    addLineStart(edgeOpen_, 4, "rotation 0");

    edgeTranslation_ += '\n';
    addLineStart(edgeTranslation_, 4, "translation");

    edgeTilt_ += '\n';
    addLine(edgeTilt_, 4, "children [");
    addLine(edgeTilt_, 8, "Transform {");
    addLineStart(edgeTilt_, 12, "rotation 1 0 0 ");

    edgeHeight_ += '\n';
    addLine(edgeHeight_, 12, "children [");
    addShapeUpToColour(edgeHeight_, 16);
    addShapeAfterColour(edgeAfterColour_, 16, style.edgeTransparency);
    addLine(edgeAfterColour_, 20, "geometry Cylinder {");
    addLineStart(edgeAfterColour_, 24, "height ");
    edgeColour_ = vrmlColour(style.edgeColour);

    edgeClose_ += '\n';
    addLine(edgeClose_, 24, "radius ", fixedText(style.edgeRadius));
    addLine(edgeClose_, 20, "}");
    addLine(edgeClose_, 16, "}");
    addLine(edgeClose_, 12, "]");
    addLine(edgeClose_, 8, "}");
    addLine(edgeClose_, 4, "]");
    addLine(edgeClose_, 0, "}");
}

// Only the run lengths a scene has cost their formatting, once each.
char* VrmlWriter::writeSphereRadius(char* out, std::int32_t count) {
    if (count < 0 || count >= kCachedRadii) {
        return writeFixed(out, sphereRadius(count, nodeRadius_));
    }
    const auto at = static_cast<std::size_t>(count);
    if (at >= sphereRadii_.size()) {
        sphereRadii_.resize(at + 1);
    }
    std::string& text = sphereRadii_[at];
    if (text.empty()) {
        char digits[kMaxFixedLength];
        text.assign(digits, writeFixed(digits, sphereRadius(count, nodeRadius_)));
    }
    return put(out, text);
}

void VrmlWriter::finish() {
    out_.finish();
}

void VrmlWriter::writeHeader() {
    out_.append("#VRML V2.0 utf8\n#Please view this file in a VRML viewer.\n"
                "#You can obtain a free one from ");
    out_.append(kViewerAddress);
    out_.append("\n");
}

void VrmlWriter::writeWorldInfo(std::string_view title, std::string_view info) {
    out_.append("WorldInfo {\n    title \" ");
    out_.append(vrmlStringText(title));
    out_.append(" \"\n    info \" ");
    out_.append(vrmlStringText(info));
    out_.append(" \"\n}\n");
}

void VrmlWriter::writeWorldInfo(std::string_view title, std::string_view info,
                                std::span<const std::string> more) {
    out_.append("WorldInfo {\n    title \" ");
    out_.append(vrmlStringText(title));
    out_.append(" \"\n    info [\n        \"");
    out_.append(vrmlStringText(info));
    for (const std::string& text : more) {
        out_.append("\"\n        \"");
        out_.append(vrmlStringText(text));
    }
    out_.append("\"\n    ]\n}\n");
}

void VrmlWriter::writeViewpoint(double distance) {
    out_.append("Viewpoint {\n    description \"home\"\n    position 0.0 0.0 ");
    out_.append(fixedText(distance));
    out_.append("\n}\n");
}

void VrmlWriter::writeBackground(const Rgb& skyColour) {
    out_.append("Background {\n    skyColor ");
    out_.append(vrmlColour(skyColour));
    out_.append("\n}\n");
}

void VrmlWriter::writeTrailer() {
    out_.append("\n# End of file!\n");
}

char* VrmlWriter::writeNodeOpen(char* out, double x, double y, double z) const {
    out = put(out, nodeOpen_);
    out = writeFixed(out, x);
    out = putSeparated(out, y);
    out = putSeparated(out, z);
    return put(out, nodeAfterPosition_);
}

void VrmlWriter::writeNode(double x, double y, double z, std::int32_t count, std::uint32_t label) {
    writeNode(x, y, z, count, label, nodeColour_);
}

void VrmlWriter::writeNode(double x, double y, double z, std::int32_t count, std::uint32_t label,
                           std::string_view colour) {
    char* out = writeNodeOpen(out_.reserve(blockRoom_), x, y, z);
    if (showLabels_) {
        out = writeDecimal(out, label);
        out = put(out, labelClose_);
    }
    writeSphereEnd(out, count, colour);
}

void VrmlWriter::writeNamedNode(double x, double y, double z, std::int32_t count,
                                std::string_view name, std::string_view colour) {
    if (!showLabels_) {
        writeNode(x, y, z, count, 0, colour);
        return;
    }
    out_.commitUpTo(writeNodeOpen(out_.reserve(blockRoom_), x, y, z));
    out_.append(vrmlStringText(name));
    writeSphereEnd(put(out_.reserve(blockRoom_), labelClose_), count, colour);
}

void VrmlWriter::writeSphereEnd(char* out, std::int32_t count, std::string_view colour) {
    out = put(out, colour);
    out = put(out, sphereAfterColour_);
    out = writeSphereRadius(out, count);
    out = put(out, nodeClose_);
    out_.commitUpTo(out);
}

void VrmlWriter::writeEdge(const EdgeGeometry& edge) {
    writeEdge(edge, edgeColour_);
}

void VrmlWriter::writeEdge(const EdgeGeometry& edge, std::string_view colour) {
    char* out = out_.reserve(blockRoom_);
    out = put(out, edgeOpen_);
    out = putSeparated(out, edge.axisY);
    out = putSeparated(out, edge.axisZ);
    out = putSeparated(out, edge.swing);
    out = put(out, edgeTranslation_);
    out = putSeparated(out, edge.midX);
    out = putSeparated(out, edge.midY);
    out = putSeparated(out, edge.midZ);
    out = put(out, edgeTilt_);
    out = writeFixed(out, edge.tilt);
    out = put(out, edgeHeight_);
    out = put(out, colour);
    out = put(out, edgeAfterColour_);
    out = writeFixed(out, edge.length - edgeShortening_);
    out = put(out, edgeClose_);
    out_.commitUpTo(out);
}

void VrmlWriter::writeLabel(double x, double y, double z, std::uint32_t label) {
    char digits[kLabelRoom];
    writeLabel(
        x, y, z,
        std::string_view(digits, static_cast<std::size_t>(writeDecimal(digits, label) - digits)));
}

void VrmlWriter::writeLabel(double x, double y, double z, std::string_view name) {
    if (!showLabels_) {
        throw std::logic_error("label written by a VRML writer made without labels");
    }
    out_.commitUpTo(writeNodeOpen(out_.reserve(blockRoom_), x, y, z));
    out_.append(vrmlStringText(name));
    out_.commitUpTo(put(out_.reserve(blockRoom_), labelOnlyClose_));
}

void VrmlWriter::writeNoCollisionOpen() {
    out_.append("Collision {\n    collide FALSE\n    children [\n");
}

void VrmlWriter::writeNoCollisionClose() {
    out_.append("    ]\n}\n");
}

void VrmlWriter::writeFaceSetOpen(const Rgb& colour, double transparency) {
    std::string text;
    addShapeAppearance(text, 0, colour, transparency);
    addLine(text, 4, "geometry IndexedFaceSet {");
    // Above pi no edge is a crease; viewers then skip comparing the angles of neighbouring
    // faces, which on a merged mesh of 10^5 shapes takes them far longer than reading it.
    addLine(text, 8, "creaseAngle 3.1416");
    addLine(text, 8, "coord Coordinate {");
    addLine(text, 12, "point [");
    out_.append(text);
}

void VrmlWriter::writePoint(const Point& point) {
    char* out = out_.reserve(kPointRoom);
    out = writeFourDecimals(out, point.x);
    *out++ = ' ';
    out = writeFourDecimals(out, point.y);
    *out++ = ' ';
    out = writeFourDecimals(out, point.z);
    *out++ = '\n';
    out_.commitUpTo(out);
}

void VrmlWriter::writeFaceSetFaces() {
    out_.append("            ]\n        }\n        coordIndex [\n");
}

void VrmlWriter::writeFace(std::span<const std::uint16_t> corners, std::uint32_t firstPoint) {
    if (corners.size() > kMaxFaceCorners) {
        throw std::logic_error("VRML face with more corners than the writer makes room for");
    }
    char* out = out_.reserve(kFaceRoom);
    for (const std::uint16_t corner : corners) {
        out = writeDecimal(out, firstPoint + corner);
        *out++ = ' ';
    }
    std::memcpy(out, "-1\n", 3);
    out_.commitUpTo(out + 3);
}

void VrmlWriter::writeFaceSetColours(std::span<const Rgb> colours) {
    out_.append("        ]\n        colorPerVertex FALSE\n        color Color {\n"
                "            color [\n");
    for (const Rgb& colour : colours) {
        char* out = out_.reserve(kMaxVrmlColourLength + 1);
        out = writeVrmlColour(out, colour);
        *out++ = '\n';
        out_.commitUpTo(out);
    }
    out_.append("            ]\n        }\n        colorIndex [\n");
}

void VrmlWriter::writeFaceColours(std::uint32_t colour, std::size_t faces) {
    char digits[kLabelRoom];
    const std::string_view text(digits,
                                static_cast<std::size_t>(writeDecimal(digits, colour) - digits));
    for (std::size_t face = 0; face < faces; ++face) {
        char* out = out_.reserve(kLabelRoom + 1);
        out = put(out, text);
        *out++ = face + 1 < faces ? ' ' : '\n';
        out_.commitUpTo(out);
    }
}

void VrmlWriter::writeFaceSetClose() {
    out_.append("        ]\n    }\n}\n");
}

} // namespace l2v
