#pragma once

#include "output/output_buffer.hpp"
#include "scene/drawing_style.hpp"
#include "scene/edge_geometry.hpp"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace l2v {

// Writes the blocks of a VRML 2.0 scene through the output buffer. The fixed text of node and edge
// blocks, style values included, is composed once at construction, so a block costs a few copies
// and the conversion of its own numbers.
class VrmlWriter {
  public:
    VrmlWriter(ByteSink& sink, const DrawingStyle& style, bool showLabels);

    void writeHeader();
    void writeWorldInfo(std::string_view title, std::string_view info);
    // A WorldInfo whose info holds several texts: `info`, then `more` one per line.
    void writeWorldInfo(std::string_view title, std::string_view info,
                        std::span<const std::string> more);
    void writeViewpoint(double distance);
    void writeBackground(const Rgb& skyColour);
    void writeTrailer();

    // One node: a sphere of radius sqrt(count) x nodeRadius at (x, y, z), where `count` is the
    // node's run length (1 + its references), labelled with `label` when labels are shown.
    void writeNode(double x, double y, double z, std::int32_t count, std::uint32_t label);
    // The same in `colour`, a VRML colour text of at most kMaxVrmlColourLength bytes.
    void writeNode(double x, double y, double z, std::int32_t count, std::uint32_t label,
                   std::string_view colour);

    // The same labelled with `name`, any text (written escaped), when labels are shown.
    void writeNamedNode(double x, double y, double z, std::int32_t count, std::string_view name,
                        std::string_view colour);
    void writeNamedNode(double x, double y, double z, std::int32_t count, std::string_view name) {
        writeNamedNode(x, y, z, count, name, nodeColour_);
    }

    // One edge: a cylinder placed and turned by `edge`; in `colour` (as for nodes) when given.
    void writeEdge(const EdgeGeometry& edge);
    void writeEdge(const EdgeGeometry& edge, std::string_view colour);

    // A node's label alone (for merged scenes, where the spheres are one mesh); the writer
    // must have been made with labels shown (checked: std::logic_error otherwise).
    void writeLabel(double x, double y, double z, std::uint32_t label);
    void writeLabel(double x, double y, double z, std::string_view name);

    // A group whose children viewers leave out of collision detection, and its close.
    void writeNoCollisionOpen();
    void writeNoCollisionClose();

    // One Shape holding a whole mesh as an IndexedFaceSet: the open (material and the start of
    // the point list), the points one per line, the switch to the face list, the faces one
    // per line (`corners`, at most 64, counted from `firstPoint`), the close. Faces are smoothed
    // across every corner they share; where the shading must break, the mesh repeats the point.
    void writeFaceSetOpen(const Rgb& colour, double transparency);
    void writePoint(const Point& point);
    void writeFaceSetFaces();
    void writeFace(std::span<const std::uint16_t> corners, std::uint32_t firstPoint);
    // Coloured meshes: after the faces, the colours, then each face's index among them,
    // written as one line of `faces` times `colour` per shape.
    void writeFaceSetColours(std::span<const Rgb> colours);
    void writeFaceColours(std::uint32_t colour, std::size_t faces);
    void writeFaceSetClose();

    // Hands every buffered byte to the sink.
    void finish();

  private:
    // Composes the fixed text of both block kinds; returns the room one block may need.
    std::size_t composeBlockText(const DrawingStyle& style, bool showLabels);
    void composeNodeText(const DrawingStyle& style, bool showLabels);
    void composeEdgeText(const DrawingStyle& style);
    char* writeSphereRadius(char* out, std::int32_t count);
    // A node block from its sphere's colour to its end, written at `out` and committed.
    void writeSphereEnd(char* out, std::int32_t count, std::string_view colour);
    // A node block up to its first shape's varying text: the Transform at (x, y, z).
    char* writeNodeOpen(char* out, double x, double y, double z) const;

    double nodeRadius_;
    bool showLabels_;

    std::string nodeOpen_;
    std::string nodeAfterPosition_;
    std::string labelClose_;
    std::string sphereAfterColour_;
    std::string nodeColour_;
    std::string labelOnlyClose_;
    std::string nodeClose_;
    std::string edgeOpen_;
    std::string edgeTranslation_;
    std::string edgeTilt_;
    std::string edgeHeight_;
    std::string edgeAfterColour_;
    std::string edgeColour_;
    std::string edgeClose_;
    double edgeShortening_;
    std::size_t blockRoom_;                // room any single node or edge block may need
    std::vector<std::string> sphereRadii_; // by run length; empty where not yet written
    OutputBuffer out_;
};

} // namespace l2v
