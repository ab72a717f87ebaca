#include "scene/node_classes.hpp"

#include "common/failure.hpp"
#include "scene/scene_walk.hpp"

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

// An undirected igraph graph of the drawn edges, released with the object.
class Graph {
  public:
    explicit Graph(const Layout& layout) {
        quietenGraphLibrary();
        const auto links = static_cast<igraph_integer_t>(countDrawnEdges(layout));
        igraph_vector_int_t ends;
        check(igraph_vector_int_init(&ends, 2 * links));
        igraph_integer_t at = 0;
        forEachEdgeEnds(layout, [&](std::uint32_t i, std::uint32_t j) {
            VECTOR(ends)[at++] = i;
            VECTOR(ends)[at++] = j;
        });
        const igraph_error_t status =
            igraph_create(&graph_, &ends, layout.nodeCount, IGRAPH_UNDIRECTED);
        igraph_vector_int_destroy(&ends);
        check(status);
    }
    Graph(const Graph&) = delete;
    Graph& operator=(const Graph&) = delete;
    ~Graph() { igraph_destroy(&graph_); }

    const igraph_t* get() const { return &graph_; }

  private:
    igraph_t graph_{};
};

// An igraph vector of node classes, released with the object.
class Membership {
  public:
    explicit Membership(igraph_integer_t size) { check(igraph_vector_int_init(&vector_, size)); }
    Membership(const Membership&) = delete;
    Membership& operator=(const Membership&) = delete;
    ~Membership() { igraph_vector_int_destroy(&vector_); }

    igraph_vector_int_t* get() { return &vector_; }

    std::vector<std::int64_t> classes() const {
        const igraph_integer_t size = igraph_vector_int_size(&vector_);
        std::vector<std::int64_t> result(static_cast<std::size_t>(size));
        for (igraph_integer_t i = 0; i < size; ++i) {
            result[static_cast<std::size_t>(i)] = VECTOR(vector_)[i];
        }
        return result;
    }

  private:
    igraph_vector_int_t vector_{};
};

void runMultilevel(const Graph& graph, Membership& membership) {
    check(
        igraph_community_multilevel(graph.get(), nullptr, 1.0, membership.get(), nullptr, nullptr));
}

// Leiden optimises modularity when each node weighs its degree and the resolution is
// 1 / (2 x edges); it runs until an iteration changes nothing.
void runLeiden(const Graph& graph, Membership& membership) {
    igraph_vector_t degrees;
    check(igraph_vector_init(&degrees, 0));
    igraph_vector_int_t degreeCounts;
    igraph_error_t status = igraph_vector_int_init(&degreeCounts, 0);
    if (status == IGRAPH_SUCCESS) {
        status =
            igraph_degree(graph.get(), &degreeCounts, igraph_vss_all(), IGRAPH_ALL, IGRAPH_LOOPS);
    }
    if (status == IGRAPH_SUCCESS) {
        status = igraph_vector_resize(&degrees, igraph_vector_int_size(&degreeCounts));
    }
    if (status == IGRAPH_SUCCESS) {
        for (igraph_integer_t i = 0; i < igraph_vector_int_size(&degreeCounts); ++i) {
            VECTOR(degrees)[i] = static_cast<igraph_real_t>(VECTOR(degreeCounts)[i]);
        }
        const auto edges = static_cast<double>(igraph_ecount(graph.get()));
        igraph_integer_t clusters = 0;
        status = igraph_community_leiden(graph.get(), nullptr, &degrees,
                                         edges > 0 ? 1.0 / (2.0 * edges) : 1.0, 0.01, false, -1,
                                         membership.get(), &clusters, nullptr);
    }
    igraph_vector_int_destroy(&degreeCounts);
    igraph_vector_destroy(&degrees);
    check(status);
}

} // namespace

std::vector<std::int64_t> communityClasses(const Layout& layout, CommunityMethod method) {
    const Graph graph(layout);
    igraph_rng_seed(igraph_rng_default(), kSeed);
    Membership membership(layout.nodeCount);
    if (method == CommunityMethod::leiden) {
        runLeiden(graph, membership);
    } else {
        runMultilevel(graph, membership);
    }
    return membership.classes();
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
    Membership membership(static_cast<igraph_integer_t>(classes.size()));
    for (std::size_t i = 0; i < classes.size(); ++i) {
        VECTOR(*membership.get())[static_cast<igraph_integer_t>(i)] = classes[i];
    }
    igraph_real_t modularity = 0;
    check(igraph_modularity(graph.get(), membership.get(), nullptr, 1.0, IGRAPH_UNDIRECTED,
                            &modularity));
    return modularity;
}

} // namespace l2v
