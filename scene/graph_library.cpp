#include "scene/graph_library.hpp"

#include "common/failure.hpp"
#include "scene/scene_walk.hpp"

#include <algorithm>
#include <new>
#include <string>

namespace l2v {
namespace {

// Errors come back as status codes instead of ending the process, and nothing is printed.
void quietenGraphLibrary() {
    igraph_set_error_handler(igraph_error_handler_ignore);
    igraph_set_warning_handler(igraph_warning_handler_ignore);
}

} // namespace

void checkGraphLibrary(igraph_error_t status) {
    if (status == IGRAPH_ENOMEM) {
        throw std::bad_alloc();
    }
    if (status != IGRAPH_SUCCESS) {
        throw Failure(std::string("cannot find communities: ") + igraph_strerror(status) + ".");
    }
}

RealVector::RealVector(const std::vector<double>& values) {
    checkGraphLibrary(igraph_vector_init(&vector_, static_cast<igraph_integer_t>(values.size())));
    std::copy(values.begin(), values.end(), VECTOR(vector_));
}

Graph::Graph(const Layout& layout) {
    IntegerVector ends(static_cast<igraph_integer_t>(2 * countDrawnEdges(layout)));
    igraph_integer_t* at = ends.begin();
    forEachEdgeEnds(layout, [&at](std::uint32_t i, std::uint32_t j) {
        *at++ = i;
        *at++ = j;
    });
    create(ends, layout.nodeCount);
}

Graph::Graph(const std::vector<std::uint32_t>& pairs, std::size_t nodeCount) {
    IntegerVector ends(static_cast<igraph_integer_t>(pairs.size()));
    std::copy(pairs.begin(), pairs.end(), ends.begin());
    create(ends, static_cast<igraph_integer_t>(nodeCount));
}

void Graph::create(IntegerVector& ends, igraph_integer_t nodeCount) {
    quietenGraphLibrary();
    checkGraphLibrary(igraph_create(&graph_, ends.get(), nodeCount, IGRAPH_UNDIRECTED));
}

void runLeiden(const Graph& graph, const RealVector* edgeWeights, const RealVector& nodeWeights,
               std::uint64_t drawnEdges, IntegerVector& membership) {
    igraph_rng_seed(igraph_rng_default(), kGraphLibrarySeed);
    const auto edges = static_cast<double>(drawnEdges);
    const igraph_real_t resolution = edges > 0 ? 1.0 / (2.0 * edges) : 1.0;
    igraph_integer_t clusters = 0;
    checkGraphLibrary(igraph_community_leiden(
        graph.get(), edgeWeights ? edgeWeights->get() : nullptr, nodeWeights.get(), resolution,
        kLeidenRandomness, kLeidenFromSingletons, kLeidenIterations, membership.get(), &clusters,
        nullptr));
}

} // namespace l2v
