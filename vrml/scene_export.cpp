#include "vrml/scene_export.hpp"

#include "layout/fitting.hpp"
#include "scene/edge_geometry.hpp"
#include "output/output_file.hpp"
#include "vrml/vrml_writer.hpp"

#include <vector>

namespace l2v {
namespace {

const char* const kTitle = "Nodescape";
const char* const kInfo = "(VRML output) a graph layout drawn as spheres and cylinders";
const char* const kSkyColour = "0 0 0";

void writeNodes(const Layout& layout, VrmlWriter& writer) {
    const Coordinates& at = layout.coordinates;
    for (std::int32_t i = 0; i < layout.nodeCount; ++i) {
        const auto index = static_cast<std::size_t>(i);
        writer.writeNode(at.x[index], at.y[index], at.z[index], layout.nodes[index].count,
                         static_cast<std::uint32_t>(i));
    }
}

void fetch(const void* address) {
#if defined(__GNUC__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

// Where the edge pass reads positions: the coordinate arrays themselves (stride 1), or an
// interleaved copy (x, y, z of node 0, then of node 1, ...; stride 3). Neighbours are spread
// over the whole layout, so on large graphs nearly every edge would wait for memory; in the
// copy a neighbour's position is one or two cache lines instead of three.
struct PositionView {
    const double* x;
    const double* y;
    const double* z;
    std::size_t stride;

    Point at(std::size_t index) const {
        const std::size_t offset = index * stride;
        return {x[offset], y[offset], z[offset]};
    }

    void prefetch(std::size_t index) const {
        const std::size_t offset = index * stride;
        fetch(x + offset);
        fetch(y + offset);
        fetch(z + offset);
    }
};

std::vector<double> interleavedPositions(const Coordinates& coordinates) {
    std::vector<double> positions(3 * coordinates.x.size());
    for (std::size_t i = 0; i < coordinates.x.size(); ++i) {
        positions[3 * i] = coordinates.x[i];
        positions[3 * i + 1] = coordinates.y[i];
        positions[3 * i + 2] = coordinates.z[i];
    }
    return positions;
}

// The pool holds all runs back to back, so the neighbour this many slots ahead is known early
// and its position can be fetched while this edge is written.
constexpr std::ptrdiff_t kPrefetchDistance = 8;

// Each edge is drawn from its lower-indexed endpoint; references to the node itself, to a
// lower index, or numbers of 0 and below give nothing.
void writeEdgesFrom(const Layout& layout, const PositionView& positions, VrmlWriter& writer) {
    const std::int32_t* const poolEnd = layout.adjacencyPool.data() + layout.adjacencyPool.size();
    const auto nodeCount = static_cast<std::uint32_t>(layout.nodeCount);
    for (std::int32_t i = 0; i < layout.nodeCount; ++i) {
        const Point from = positions.at(static_cast<std::size_t>(i));
        const std::span<const std::int32_t> run = neighbours(layout, i);
        for (const std::int32_t& j : run) {
            if (poolEnd - &j > kPrefetchDistance) {
                // Unused references (negative, or 0) fetch node 0: harmless, and without a
                // branch, which the compiler would otherwise take as a reason to drop the fetch.
                const auto ahead = static_cast<std::uint32_t>((&j)[kPrefetchDistance]);
                positions.prefetch(ahead < nodeCount ? ahead : 0);
            }
            if (j > i) {
                writer.writeEdge(
                    computeEdgeGeometry(from, positions.at(static_cast<std::size_t>(j))));
            }
        }
    }
}

void writeEdges(const Layout& layout, VrmlWriter& writer, std::size_t positionCopyBudget) {
    const Coordinates& coordinates = layout.coordinates;
    if (3 * sizeof(double) * coordinates.x.size() > positionCopyBudget) {
        writeEdgesFrom(
            layout, {coordinates.x.data(), coordinates.y.data(), coordinates.z.data(), 1}, writer);
        return;
    }
    const std::vector<double> copy = interleavedPositions(coordinates);
    writeEdgesFrom(layout, {copy.data(), copy.data() + 1, copy.data() + 2, 3}, writer);
}

} // namespace

void writeScene(const Layout& layout, ByteSink& sink, const SceneSwitches& switches,
                std::size_t positionCopyBudget) {
    VrmlWriter writer(sink, DrawingStyle{}, switches.showLabels);
    writer.writeHeader();
    writer.writeWorldInfo(kTitle, kInfo);
    writer.writeViewpoint(kSceneExtent);
    writer.writeBackground(kSkyColour);
    writeNodes(layout, writer);
    if (switches.showEdges) {
        writeEdges(layout, writer, positionCopyBudget);
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
