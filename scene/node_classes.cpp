#include "scene/node_classes.hpp"

#include "common/failure.hpp"
#include "scene/node_groups.hpp"
#include "scene/scene_walk.hpp"

#include <algorithm>
#include <igraph.h>
#include <new>
#include <numeric>

namespace l2v {
namespace {

constexpr igraph_uint_t kSeed = 20261209;

void check(igraph_error_t status) {
    if (status == IGRAPH_ENOMEM) {
        throw std::bad_alloc();
    }
    if (status != IGRAPH_SUCCESS) {
        throw Failure(std::string("cannot find communities: ") + igraph_strerror(status) + ".");
    }
}

// Errors come back as status codes instead of ending the process, and nothing is printed.
void quietenGraphLibrary() {
    igraph_set_error_handler(igraph_error_handler_ignore);
    igraph_set_warning_handler(igraph_warning_handler_ignore);
}

// An igraph vector of integers, released with the object.
class IntegerVector {
  public:
    explicit IntegerVector(igraph_integer_t size) { check(igraph_vector_int_init(&vector_, size)); }
    IntegerVector(const IntegerVector&) = delete;
    IntegerVector& operator=(const IntegerVector&) = delete;
    ~IntegerVector() { igraph_vector_int_destroy(&vector_); }

    igraph_vector_int_t* get() { return &vector_; }
    igraph_integer_t* begin() { return VECTOR(vector_); }
    igraph_integer_t* end() { return VECTOR(vector_) + igraph_vector_int_size(&vector_); }
    const igraph_integer_t* begin() const { return VECTOR(vector_); }
    const igraph_integer_t* end() const {
        return VECTOR(vector_) + igraph_vector_int_size(&vector_);
    }

  private:
    igraph_vector_int_t vector_{};
};

// An igraph vector of reals, released with the object.
class RealVector {
  public:
    explicit RealVector(const std::vector<double>& values) {
        check(igraph_vector_init(&vector_, static_cast<igraph_integer_t>(values.size())));
        std::copy(values.begin(), values.end(), VECTOR(vector_));
    }
    RealVector(const RealVector&) = delete;
    RealVector& operator=(const RealVector&) = delete;
    ~RealVector() { igraph_vector_destroy(&vector_); }

    const igraph_vector_t* get() const { return &vector_; }

  private:
    igraph_vector_t vector_{};
};

// An undirected igraph graph, released with the object.
class Graph {
  public:
    // The drawn edges of the layout.
    explicit Graph(const Layout& layout) {
        IntegerVector ends(static_cast<igraph_integer_t>(2 * countDrawnEdges(layout)));
        igraph_integer_t* at = ends.begin();
        forEachEdgeEnds(layout, [&at](std::uint32_t i, std::uint32_t j) {
            *at++ = i;
            *at++ = j;
        });
        create(ends, layout.nodeCount);
    }
    // The edges `pairs` lists end by end, over `nodeCount` nodes.
    Graph(const std::vector<std::uint32_t>& pairs, std::size_t nodeCount) {
        IntegerVector ends(static_cast<igraph_integer_t>(pairs.size()));
        std::copy(pairs.begin(), pairs.end(), ends.begin());
        create(ends, static_cast<igraph_integer_t>(nodeCount));
    }
    Graph(const Graph&) = delete;
    Graph& operator=(const Graph&) = delete;
    ~Graph() { igraph_destroy(&graph_); }

    const igraph_t* get() const { return &graph_; }

  private:
    void create(IntegerVector& ends, igraph_integer_t nodeCount) {
        quietenGraphLibrary();
        check(igraph_create(&graph_, ends.get(), nodeCount, IGRAPH_UNDIRECTED));
    }

    igraph_t graph_{};
};

std::vector<std::int64_t> valuesOf(const IntegerVector& vector) {
    return {vector.begin(), vector.end()};
}

std::vector<std::int64_t> multilevelOnNodes(const Layout& layout) {
    const Graph graph(layout);
    IntegerVector membership(layout.nodeCount);
    igraph_rng_seed(igraph_rng_default(), kSeed);
    check(
        igraph_community_multilevel(graph.get(), nullptr, 1.0, membership.get(), nullptr, nullptr));
    return valuesOf(membership);
}

// Leiden optimises modularity when each node weighs its degree and the resolution is
// 1 / (2 x edges); without edge weights every edge weighs 1. One iteration: asked to iterate
// until nothing changes, igraph 0.10.2 never stops on a graph where no two nodes gain by
// joining (two groups joined by one edge, a graph without edges), and where it did stop it
// found the classes of one iteration.
void runLeiden(const Graph& graph, const RealVector* edgeWeights, const RealVector& nodeWeights,
               std::uint64_t drawnEdges, IntegerVector& membership) {
    igraph_rng_seed(igraph_rng_default(), kSeed);
    const auto edges = static_cast<double>(drawnEdges);
    igraph_integer_t clusters = 0;
    check(igraph_community_leiden(graph.get(), edgeWeights ? edgeWeights->get() : nullptr,
                                  nodeWeights.get(), edges > 0 ? 1.0 / (2.0 * edges) : 1.0, 0.01,
                                  false, 1, membership.get(), &clusters, nullptr));
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

// Leiden on the graph contracted over the groups that local moving gathers: the same
// objective, as a group weighs its nodes' degrees and a joining edge the drawn edges it
// stands for, on a graph of a fraction of the nodes.
std::vector<std::int64_t> leidenOnGroups(const Layout& layout) {
    const ContractedGraph contracted = contractNodeGroups(layout);
    const std::size_t groups = contracted.groupDegrees.size();
    IntegerVector membership(static_cast<igraph_integer_t>(groups));
    {
        const Graph graph(contracted.ends, groups);
        const RealVector edgeWeights(contracted.weights);
        runLeiden(graph, &edgeWeights, RealVector(contracted.groupDegrees), contracted.drawnEdges,
                  membership);
    }
    std::vector<std::int64_t> classes(contracted.groupOf.size());
    for (std::size_t node = 0; node < classes.size(); ++node) {
        classes[node] = membership.begin()[contracted.groupOf[node]];
    }
    return classes;
}

} // namespace

std::vector<std::int64_t> communityClasses(const Layout& layout, CommunityMethod method) {
    switch (method) {
    case CommunityMethod::multilevel:
        return multilevelOnNodes(layout);
    case CommunityMethod::leidenOnNodes:
        return leidenOnNodes(layout);
    case CommunityMethod::leidenOnGroups:
        break;
    }
    return leidenOnGroups(layout);
}

std::vector<std::int64_t> componentClasses(const Layout& layout) {
    // Union by linking the higher root under the lower keeps every root the lowest node of
    // its component; halving the paths keeps the walks short.
    std::vector<std::int32_t> parent(static_cast<std::size_t>(layout.nodeCount));
    std::iota(parent.begin(), parent.end(), 0);
    const auto root = [&parent](std::int32_t node) {
        while (parent[static_cast<std::size_t>(node)] != node) {
            auto& up = parent[static_cast<std::size_t>(node)];
            up = parent[static_cast<std::size_t>(up)];
            node = up;
        }
        return node;
    };
    forEachEdgeEnds(layout, [&](std::uint32_t i, std::uint32_t j) {
        const std::int32_t a = root(static_cast<std::int32_t>(i));
        const std::int32_t b = root(static_cast<std::int32_t>(j));
        if (a != b) {
            parent[static_cast<std::size_t>(std::max(a, b))] = std::min(a, b);
        }
    });
    std::vector<std::int64_t> classes(parent.size());
    for (std::int32_t i = 0; i < layout.nodeCount; ++i) {
        classes[static_cast<std::size_t>(i)] = root(i);
    }
    return classes;
}

double modularityOf(const Layout& layout, const std::vector<std::int64_t>& classes) {
    const Graph graph(layout);
    IntegerVector membership(static_cast<igraph_integer_t>(classes.size()));
    std::copy(classes.begin(), classes.end(), membership.begin());
    igraph_real_t modularity = 0;
    check(igraph_modularity(graph.get(), membership.get(), nullptr, 1.0, IGRAPH_UNDIRECTED,
                            &modularity));
    return modularity;
}

} // namespace l2v
