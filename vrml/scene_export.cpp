#include "vrml/scene_export.hpp"

#include "layout/fitting.hpp"
#include "vrml/edge_geometry.hpp"
#include "vrml/output_file.hpp"
#include "vrml/vrml_writer.hpp"

#include <vector>

namespace l2v {
namespace {

const char* const kTitle = "Nodescape";
const char* const kInfo = "(VRML output) a graph layout drawn as spheres and cylinders";
const char* const kSkyColour = "0 0 0";

Point positionOf(const Coordinates& coordinates, std::int32_t index) {
    const auto at = static_cast<std::size_t>(index);
    return {coordinates.x[at], coordinates.y[at], coordinates.z[at]};
}

void writeNodes(const Layout& layout, VrmlWriter& writer) {
    const Coordinates& at = layout.coordinates;
    for (std::int32_t i = 0; i < layout.nodeCount; ++i) {
        const auto index = static_cast<std::size_t>(i);
        writer.writeNode(at.x[index], at.y[index], at.z[index], layout.nodes[index].count,
                         static_cast<std::uint32_t>(i));
    }
}

// Positions side by side, for the edge pass: a neighbour's point is then one or two cache
// lines instead of three, one per coordinate array. Neighbours are spread over the whole
// layout, so on large graphs nearly every edge would otherwise wait for memory.
std::vector<Point> pointsOf(const Layout& layout) {
    std::vector<Point> points(static_cast<std::size_t>(layout.nodeCount));
    for (std::int32_t i = 0; i < layout.nodeCount; ++i) {
        points[static_cast<std::size_t>(i)] = positionOf(layout.coordinates, i);
    }
    return points;
}

// The pool holds all runs back to back, so the neighbours a few slots ahead are known early
// and their points can be fetched while this edge is written.
class NeighbourPrefetch {
  public:
    NeighbourPrefetch(const Layout& layout, const std::vector<Point>& points)
        : points_(points.data()), nodeCount_(static_cast<std::uint32_t>(points.size())),
          poolEnd_(layout.adjacencyPool.data() + layout.adjacencyPool.size()) {}

    void ahead(const std::int32_t* slot) const {
        if (poolEnd_ - slot <= kDistance) {
            return;
        }
        // Unused references (negative, or 0) fetch node 0: harmless, and without a branch,
        // which the compiler would otherwise take as a reason to drop the prefetch.
        const auto j = static_cast<std::uint32_t>(slot[kDistance]);
        fetch(points_ + (j < nodeCount_ ? j : 0));
    }

  private:
    static constexpr std::ptrdiff_t kDistance = 8;

    static void fetch(const Point* address) {
#if defined(__GNUC__)
        __builtin_prefetch(address);
#else
        (void)address;
#endif
    }

    const Point* points_;
    std::uint32_t nodeCount_;
    const std::int32_t* poolEnd_;
};

// Each edge is drawn from its lower-indexed endpoint; references to the node itself, to a
// lower index, or numbers of 0 and below give nothing.
void writeEdges(const Layout& layout, VrmlWriter& writer) {
    const std::vector<Point> points = pointsOf(layout);
    const NeighbourPrefetch prefetch(layout, points);
    for (std::int32_t i = 0; i < layout.nodeCount; ++i) {
        const Point& from = points[static_cast<std::size_t>(i)];
        const std::span<const std::int32_t> run = neighbours(layout, i);
        for (std::size_t k = 0; k < run.size(); ++k) {
            prefetch.ahead(&run[k]);
            const std::int32_t j = run[k];
            if (j > i) {
                writer.writeEdge(computeEdgeGeometry(from, points[static_cast<std::size_t>(j)]));
            }
        }
    }
}

} // namespace

void writeScene(const Layout& layout, ByteSink& sink, const SceneSwitches& switches) {
    VrmlWriter writer(sink, DrawingStyle{}, switches.showLabels);
    writer.writeHeader();
    writer.writeWorldInfo(kTitle, kInfo);
    writer.writeViewpoint(kSceneExtent);
    writer.writeBackground(kSkyColour);
    writeNodes(layout, writer);
    if (switches.showEdges) {
        writeEdges(layout, writer);
    }
    writer.writeTrailer();
    writer.finish();
}

void exportScene(const std::string& outputPath, Layout& layout, const SceneSwitches& switches) {
    fitLayout(layout, kSceneExtent);
    OutputFile file(outputPath);
    writeScene(layout, file, switches);
    file.commit();
}

} // namespace l2v
