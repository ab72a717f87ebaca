// Where the time of -color community goes, and what a different starting point would save:
// igraph's graph of the drawn edges is built, then Leiden runs three times on it:
// - from singletons, as the converter runs it;
// - from that run's own result, the least one more pass can cost (the floor of any start);
// - from cells of a 4 x 4 x 4 grid over the positions, a start taken from the drawing.
// Each line gives seconds, classes and modularity.
//
// Usage: measure_leiden_starts LAYOUT.3dlayout

#include "layout/layout_reader.hpp"
#include "scene/graph_library.hpp"
#include "scene/scene_walk.hpp"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <igraph.h>
#include <vector>

namespace {

constexpr int kGridCells = 4;
// Leiden here runs until nothing changes, as the converter did when this was measured.
constexpr igraph_integer_t kUntilStable = -1;

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

igraph_t buildGraph(const l2v::Layout& layout) {
    igraph_vector_int_t ends;
    igraph_vector_int_init(&ends, static_cast<igraph_integer_t>(2 * countDrawnEdges(layout)));
    igraph_integer_t at = 0;
    l2v::forEachEdgeEnds(layout, [&](std::uint32_t i, std::uint32_t j) {
        VECTOR(ends)[at++] = i;
        VECTOR(ends)[at++] = j;
    });
    igraph_t graph;
    igraph_create(&graph, &ends, layout.nodeCount, IGRAPH_UNDIRECTED);
    igraph_vector_int_destroy(&ends);
    return graph;
}

// The cell of each node in a kGridCells^3 grid over the layout's bounding box.
void gridCells(const l2v::Layout& layout, igraph_vector_int_t& membership) {
    const std::array<const std::vector<double>*, 3> axes{
        &layout.coordinates.x, &layout.coordinates.y, &layout.coordinates.z};
    std::array<double, 3> low{};
    std::array<double, 3> high{};
    for (std::size_t k = 0; k < 3; ++k) {
        const auto [least, most] = std::minmax_element(axes[k]->begin(), axes[k]->end());
        low[k] = *least;
        high[k] = *most;
    }
    for (std::size_t i = 0; i < axes[0]->size(); ++i) {
        igraph_integer_t cell = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            const double share =
                high[k] > low[k] ? ((*axes[k])[i] - low[k]) / (high[k] - low[k]) : 0;
            cell =
                cell * kGridCells + std::min(kGridCells - 1, static_cast<int>(share * kGridCells));
        }
        VECTOR(membership)[static_cast<igraph_integer_t>(i)] = cell;
    }
}

void runLeiden(const char* name, const igraph_t& graph, const igraph_vector_t& degrees, bool start,
               igraph_vector_int_t& membership) {
    igraph_rng_seed(igraph_rng_default(), l2v::kGraphLibrarySeed);
    const auto begin = std::chrono::steady_clock::now();
    igraph_integer_t classes = 0;
    const auto edges = static_cast<double>(igraph_ecount(&graph));
    igraph_community_leiden(&graph, nullptr, &degrees, 1.0 / (2.0 * edges), l2v::kLeidenRandomness,
                            start, kUntilStable, &membership, &classes, nullptr);
    const double seconds = secondsSince(begin);
    igraph_real_t modularity = 0;
    igraph_modularity(&graph, &membership, nullptr, l2v::kModularityResolution, IGRAPH_UNDIRECTED,
                      &modularity);
    std::printf("%-28s %7.3f s  %8lld classes  modularity %.4f\n", name, seconds,
                static_cast<long long>(classes), modularity);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: measure_leiden_starts LAYOUT.3dlayout\n", stderr);
        return 2;
    }
    const l2v::Layout layout = l2v::loadLayout(argv[1]);
    const auto begin = std::chrono::steady_clock::now();
    igraph_t graph = buildGraph(layout);
    std::printf("%-28s %7.3f s  %8lld edges\n", "graph", secondsSince(begin),
                static_cast<long long>(igraph_ecount(&graph)));

    igraph_vector_int_t degreeCounts;
    igraph_vector_int_init(&degreeCounts, 0);
    igraph_degree(&graph, &degreeCounts, igraph_vss_all(), IGRAPH_ALL, IGRAPH_LOOPS);
    igraph_vector_t degrees;
    igraph_vector_init(&degrees, igraph_vector_int_size(&degreeCounts));
    for (igraph_integer_t i = 0; i < igraph_vector_int_size(&degreeCounts); ++i) {
        VECTOR(degrees)[i] = static_cast<igraph_real_t>(VECTOR(degreeCounts)[i]);
    }

    igraph_vector_int_t membership;
    igraph_vector_int_init(&membership, layout.nodeCount);
    runLeiden("from singletons", graph, degrees, false, membership);
    runLeiden("from its own result", graph, degrees, true, membership);
    gridCells(layout, membership);
    runLeiden("from a 4x4x4 grid of space", graph, degrees, true, membership);

    igraph_vector_int_destroy(&membership);
    igraph_vector_destroy(&degrees);
    igraph_vector_int_destroy(&degreeCounts);
    igraph_destroy(&graph);
    return 0;
}
