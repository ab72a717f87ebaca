#pragma once

#include <cstdint>
#include <igraph.h>
#include <vector>

namespace l2v {

struct Layout;

// What the converter hands igraph, named. The random choices start from this seed, so the
// same layout gives the same communities on every run.
inline constexpr igraph_uint_t kGraphLibrarySeed = 20261209;
// Modularity as usually defined: the resolution at which it compares each class's edges with
// the count expected at random.
inline constexpr igraph_real_t kModularityResolution = 1.0;
// Leiden's randomness when it refines a community (its beta): the lower, the closer each
// choice is to the greedy one; 0.01 is igraph's and the method's authors' own value.
inline constexpr igraph_real_t kLeidenRandomness = 0.01;
// Leiden starts from every node on its own, not from the classes it is handed.
inline constexpr igraph_bool_t kLeidenFromSingletons = false;
// One iteration: asked to iterate until nothing changes, igraph 0.10.2 never stops on a graph
// where no two nodes gain by joining (two groups joined by one edge, a graph without edges),
// and where it did stop it found the classes of one iteration.
inline constexpr igraph_integer_t kLeidenIterations = 1;

// Turns an igraph status into bad_alloc or a Failure.
void checkGraphLibrary(igraph_error_t status);

// An igraph vector of integers, released with the object.
class IntegerVector {
  public:
    explicit IntegerVector(igraph_integer_t size) {
        checkGraphLibrary(igraph_vector_int_init(&vector_, size));
    }
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
    explicit RealVector(const std::vector<double>& values);
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
    explicit Graph(const Layout& layout);
    // The edges `pairs` lists end by end, over `nodeCount` nodes.
    Graph(const std::vector<std::uint32_t>& pairs, std::size_t nodeCount);
    Graph(const Graph&) = delete;
    Graph& operator=(const Graph&) = delete;
    ~Graph() { igraph_destroy(&graph_); }

    const igraph_t* get() const { return &graph_; }

  private:
    void create(IntegerVector& ends, igraph_integer_t nodeCount);

    igraph_t graph_{};
};

// Leiden's classes into `membership`. It optimises modularity when each node weighs its
// degree (`nodeWeights`) and the resolution is 1 / (2 x `drawnEdges`); without
// `edgeWeights` every edge weighs 1.
void runLeiden(const Graph& graph, const RealVector* edgeWeights, const RealVector& nodeWeights,
               std::uint64_t drawnEdges, IntegerVector& membership);

} // namespace l2v
