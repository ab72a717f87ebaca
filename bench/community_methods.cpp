#include "bench/community_methods.hpp"

#include "scene/graph_library.hpp"
#include "scene/scene_walk.hpp"

#include <algorithm>

namespace l2v::bench {
namespace {

std::vector<std::int64_t> valuesOf(const IntegerVector& vector) {
    return {vector.begin(), vector.end()};
}

} // namespace

std::vector<std::int64_t> multilevelOnNodes(const Layout& layout) {
    const Graph graph(layout);
    IntegerVector membership(layout.nodeCount);
    igraph_rng_seed(igraph_rng_default(), kGraphLibrarySeed);
    checkGraphLibrary(igraph_community_multilevel(graph.get(), nullptr, kModularityResolution,
                                                  membership.get(), nullptr, nullptr));
    return valuesOf(membership);
}

std::vector<std::int64_t> leidenOnNodes(const Layout& layout) {
    std::vector<double> degrees(static_cast<std::size_t>(layout.nodeCount), 0);
    forEachEdgeEnds(layout, [&degrees](std::uint32_t i, std::uint32_t j) {
        ++degrees[i];
        ++degrees[j];
    });
    const Graph graph(layout);
    IntegerVector membership(layout.nodeCount);
    runLeiden(graph, nullptr, RealVector(degrees), countDrawnEdges(layout), membership);
    return valuesOf(membership);
}

double modularityOf(const Layout& layout, const std::vector<std::int64_t>& classes) {
    const Graph graph(layout);
    IntegerVector membership(static_cast<igraph_integer_t>(classes.size()));
    std::copy(classes.begin(), classes.end(), membership.begin());
    igraph_real_t modularity = 0;
    checkGraphLibrary(igraph_modularity(graph.get(), membership.get(), nullptr,
                                        kModularityResolution, IGRAPH_UNDIRECTED, &modularity));
    return modularity;
}

} // namespace l2v::bench
