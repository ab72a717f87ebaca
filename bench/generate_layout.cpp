// Writes a large valid .3dlayout file for the benchmarks, every edge listed at both of its
// ends, neighbour lists in random order. Three kinds of graph:
// - random (the default): random positions and random edges, a hairball;
// - local: nodes on a jittered cubic lattice in index order, every edge joining lattice points
//   at most two steps apart on each axis;
// - clustered: nodes in clusters of different sizes, each joined to its nearest nodes (about
//   AVERAGE_DEGREE in all), as a layout program places the nodes of a real graph.
// The same arguments give the same bytes on every machine: the generator uses its own PRNG
// and exact number formatting.
//
// Usage: generate_layout NODES AVERAGE_DEGREE SEED OUT.3dlayout [random|local|clustered]

#include "tests/support/splitmix64.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using Random = l2v::testing::SplitMix64;

// Adjacency in compressed rows: node i's neighbours are targets[offsets[i] .. offsets[i+1]).
struct Graph {
    std::vector<std::uint64_t> offsets;
    std::vector<std::uint32_t> targets;
};

std::uint64_t packEdge(std::uint32_t a, std::uint32_t b) {
    return a < b ? (std::uint64_t{a} << 32 | b) : (std::uint64_t{b} << 32 | a);
}

// Distinct undirected edges without self-loops, drawn until there are `edgeCount` of them.
std::vector<std::uint64_t> randomEdges(std::uint32_t nodeCount, std::uint64_t edgeCount,
                                       Random& random) {
    std::vector<std::uint64_t> edges;
    edges.reserve(edgeCount);
    while (edges.size() < edgeCount) {
        while (edges.size() < edgeCount) {
            const auto a = static_cast<std::uint32_t>(random.below(nodeCount));
            const auto b = static_cast<std::uint32_t>(random.below(nodeCount));
            if (a != b) {
                edges.push_back(packEdge(a, b));
            }
        }
        std::sort(edges.begin(), edges.end());
        edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    }
    return edges;
}

// The lattice of a local layout: `side` points per axis, node i at (i % side, i / side % side,
// i / side^2).
std::uint32_t latticeSide(std::uint32_t nodeCount) {
    auto side = static_cast<std::uint32_t>(std::cbrt(static_cast<double>(nodeCount)));
    while (std::uint64_t{side} * side * side < nodeCount) {
        ++side;
    }
    return side;
}

// Distinct edges between lattice points at most two steps apart on each axis.
std::vector<std::uint64_t> latticeEdges(std::uint32_t nodeCount, std::uint64_t edgeCount,
                                        Random& random) {
    const std::int64_t side = latticeSide(nodeCount);
    std::vector<std::uint64_t> edges;
    edges.reserve(edgeCount);
    while (edges.size() < edgeCount) {
        while (edges.size() < edgeCount) {
            const auto a = static_cast<std::int64_t>(random.below(nodeCount));
            const std::int64_t step[3] = {static_cast<std::int64_t>(random.below(5)) - 2,
                                          static_cast<std::int64_t>(random.below(5)) - 2,
                                          static_cast<std::int64_t>(random.below(5)) - 2};
            const std::int64_t at[3] = {a % side + step[0], a / side % side + step[1],
                                        a / side / side + step[2]};
            const std::int64_t b = at[0] + side * (at[1] + side * at[2]);
            if (at[0] >= 0 && at[0] < side && at[1] >= 0 && at[1] < side && at[2] >= 0 &&
                b < static_cast<std::int64_t>(nodeCount) && b != a) {
                edges.push_back(
                    packEdge(static_cast<std::uint32_t>(a), static_cast<std::uint32_t>(b)));
            }
        }
        std::sort(edges.begin(), edges.end());
        edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    }
    return edges;
}

struct Positions {
    std::vector<double> x;
    std::vector<double> y;
    std::vector<double> z;
};

// About normally distributed (the sum of four uniforms), with plain arithmetic only.
double roughlyNormal(Random& random) {
    return random.unit() + random.unit() + random.unit() + random.unit() - 2.0;
}

// Clusters of uneven size and width scattered through a cube.
Positions clusteredPositions(std::uint32_t nodeCount, Random& random) {
    const std::uint32_t clusterCount = std::max<std::uint32_t>(1, nodeCount / 4000);
    std::vector<double> centres(3 * std::size_t{clusterCount});
    std::vector<double> widths(clusterCount);
    std::vector<double> shares(clusterCount);
    double totalShare = 0;
    for (std::uint32_t c = 0; c < clusterCount; ++c) {
        for (int axis = 0; axis < 3; ++axis) {
            centres[3 * c + axis] = random.between(-500.0, 500.0);
        }
        shares[c] = 0.2 + random.unit() * random.unit() * 4.0;
        totalShare += shares[c];
    }
    for (std::uint32_t c = 0; c < clusterCount; ++c) {
        widths[c] = 15.0 + 10.0 * shares[c];
    }
    Positions at;
    for (std::vector<double>* axis : {&at.x, &at.y, &at.z}) {
        axis->resize(nodeCount);
    }
    for (std::uint32_t node = 0; node < nodeCount; ++node) {
        double pick = random.unit() * totalShare;
        std::uint32_t c = 0;
        while (c + 1 < clusterCount && pick >= shares[c]) {
            pick -= shares[c++];
        }
        at.x[node] = centres[3 * c] + widths[c] * roughlyNormal(random);
        at.y[node] = centres[3 * c + 1] + widths[c] * roughlyNormal(random);
        at.z[node] = centres[3 * c + 2] + widths[c] * roughlyNormal(random);
    }
    return at;
}

// Interleaves the bits of three 21-bit numbers, so sorting by the result keeps near points near.
std::uint64_t mortonCode(std::uint64_t x, std::uint64_t y, std::uint64_t z) {
    std::uint64_t code = 0;
    for (int bit = 0; bit < 21; ++bit) {
        code |= (x >> bit & 1) << (3 * bit) | (y >> bit & 1) << (3 * bit + 1) |
                (z >> bit & 1) << (3 * bit + 2);
    }
    return code;
}

std::vector<std::uint32_t> spaceFillingOrder(const Positions& at) {
    const std::size_t count = at.x.size();
    const auto [low, high] = std::minmax_element(at.x.begin(), at.x.end());
    double lowest = *low;
    double highest = *high;
    for (const std::vector<double>* axis : {&at.y, &at.z}) {
        lowest = std::min(lowest, *std::min_element(axis->begin(), axis->end()));
        highest = std::max(highest, *std::max_element(axis->begin(), axis->end()));
    }
    const double scale = double((1u << 21) - 1) / std::max(highest - lowest, 1e-9);
    std::vector<std::pair<std::uint64_t, std::uint32_t>> keyed(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto cell = [&](double v) {
            return static_cast<std::uint64_t>((v - lowest) * scale);
        };
        keyed[i] = {mortonCode(cell(at.x[i]), cell(at.y[i]), cell(at.z[i])),
                    static_cast<std::uint32_t>(i)};
    }
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::uint32_t> order(count);
    for (std::size_t i = 0; i < count; ++i) {
        order[i] = keyed[i].second;
    }
    return order;
}

// Each node joined to its `perNode` nearest among the nodes close to it in space-filling order.
std::vector<std::uint64_t> nearestEdges(const Positions& at, std::uint32_t perNode) {
    constexpr std::ptrdiff_t kWindow = 24;
    const std::vector<std::uint32_t> order = spaceFillingOrder(at);
    const auto count = static_cast<std::ptrdiff_t>(order.size());
    std::vector<std::uint64_t> edges;
    std::vector<std::pair<double, std::uint32_t>> candidates;
    for (std::ptrdiff_t k = 0; k < count; ++k) {
        const std::uint32_t node = order[static_cast<std::size_t>(k)];
        candidates.clear();
        for (std::ptrdiff_t o = std::max<std::ptrdiff_t>(0, k - kWindow);
             o < std::min(count, k + kWindow + 1); ++o) {
            const std::uint32_t other = order[static_cast<std::size_t>(o)];
            if (other != node) {
                const double dx = at.x[other] - at.x[node];
                const double dy = at.y[other] - at.y[node];
                const double dz = at.z[other] - at.z[node];
                candidates.emplace_back(dx * dx + dy * dy + dz * dz, other);
            }
        }
        const std::size_t take = std::min<std::size_t>(perNode, candidates.size());
        std::partial_sort(candidates.begin(),
                          candidates.begin() + static_cast<std::ptrdiff_t>(take), candidates.end());
        for (std::size_t c = 0; c < take; ++c) {
            edges.push_back(packEdge(node, candidates[c].second));
        }
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    return edges;
}

// Joining every node to its k nearest gives about 0.6 k edges per node, not k, since
// neighbours often choose each other: this many nearest give about the average degree asked.
std::uint32_t nearestForDegree(double degree) {
    return static_cast<std::uint32_t>(std::lround(degree / 2 / 0.6));
}

Graph listBothEnds(std::uint32_t nodeCount, const std::vector<std::uint64_t>& edges) {
    Graph graph;
    graph.offsets.assign(std::size_t{nodeCount} + 1, 0);
    for (const std::uint64_t edge : edges) {
        ++graph.offsets[(edge >> 32) + 1];
        ++graph.offsets[(edge & 0xFFFFFFFFu) + 1];
    }
    for (std::size_t i = 1; i < graph.offsets.size(); ++i) {
        graph.offsets[i] += graph.offsets[i - 1];
    }
    graph.targets.resize(2 * edges.size());
    std::vector<std::uint64_t> cursor(graph.offsets.begin(), graph.offsets.end() - 1);
    for (const std::uint64_t edge : edges) {
        const auto low = static_cast<std::uint32_t>(edge >> 32);
        const auto high = static_cast<std::uint32_t>(edge & 0xFFFFFFFFu);
        graph.targets[cursor[low]++] = high;
        graph.targets[cursor[high]++] = low;
    }
    return graph;
}

void shuffleNeighbourLists(Graph& graph, Random& random) {
    for (std::size_t node = 0; node + 1 < graph.offsets.size(); ++node) {
        std::uint32_t* list = graph.targets.data() + graph.offsets[node];
        const std::uint64_t length = graph.offsets[node + 1] - graph.offsets[node];
        for (std::uint64_t i = length; i > 1; --i) {
            std::swap(list[i - 1], list[random.below(i)]);
        }
    }
}

// Output through one large buffer; every token checks for room first.
class TextOut {
  public:
    explicit TextOut(const char* path) : file_(std::fopen(path, "wb")) {
        if (file_ == nullptr) {
            std::perror(path);
            std::exit(1);
        }
    }
    TextOut(const TextOut&) = delete;
    TextOut& operator=(const TextOut&) = delete;
    ~TextOut() { close(); }

    // Returns where up to kTokenRoom bytes may be written.
    char* room() {
        if (kBufferSize - used_ < kTokenRoom) {
            flush();
        }
        return buffer_.get() + used_;
    }
    void advanceTo(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.get()); }
    void put(char c) {
        char* at = room();
        *at = c;
        advanceTo(at + 1);
    }
    void put(const std::string& text) {
        for (const char c : text) {
            put(c);
        }
    }

    void close() {
        if (file_ == nullptr) {
            return;
        }
        flush();
        if (std::fclose(file_) != 0) {
            std::perror("close");
            std::exit(1);
        }
        file_ = nullptr;
    }

    static constexpr std::size_t kTokenRoom = 64;

  private:
    void flush() {
        if (std::fwrite(buffer_.get(), 1, used_, file_) != used_) {
            std::perror("write");
            std::exit(1);
        }
        used_ = 0;
    }

    static constexpr std::size_t kBufferSize = std::size_t{1} << 20;
    std::FILE* file_;
    std::unique_ptr<char[]> buffer_ = std::make_unique<char[]>(kBufferSize);
    std::size_t used_ = 0;
};

char randomDigit(Random& random) {
    return static_cast<char>('0' + random.below(10));
}

// A coordinate in (-1000, 1000) with 3 to 7 decimals, as a layout program prints positions:
// 6 to 10 significant digits for all but the smallest values, both signs, no leading zeros.
void writeCoordinate(TextOut& out, Random& random) {
    char* at = out.room();
    if (random.below(2) == 0) {
        *at++ = '-';
    }
    char integer[3];
    for (char& digit : integer) {
        digit = randomDigit(random);
    }
    int first = 0;
    while (first < 2 && integer[first] == '0') {
        ++first;
    }
    at = std::copy(integer + first, integer + 3, at);
    *at++ = '.';
    for (auto decimals = 3 + random.below(5); decimals > 0; --decimals) {
        *at++ = randomDigit(random);
    }
    out.advanceTo(at);
}

void writeNodeNumber(TextOut& out, std::uint32_t number) {
    char* at = out.room();
    *at++ = ' ';
    out.advanceTo(std::to_chars(at, at + TextOut::kTokenRoom - 1, number).ptr);
}

// A lattice coordinate, spread over (-1000, 1000) and jittered by up to a fifth of a step.
void writeLatticeCoordinate(TextOut& out, std::uint32_t index, std::uint32_t side, Random& random) {
    const double step = 2000.0 / side;
    const double jitter = (static_cast<double>(random.below(1000)) / 1000.0 - 0.5) * 0.4;
    const double value = -1000.0 + step * (index + 0.5 + jitter);
    char* at = out.room();
    out.advanceTo(
        std::to_chars(at, at + TextOut::kTokenRoom, value, std::chars_format::fixed, 4).ptr);
}

void writePosition(TextOut& out, double value) {
    char* at = out.room();
    out.advanceTo(
        std::to_chars(at, at + TextOut::kTokenRoom, value, std::chars_format::fixed, 4).ptr);
}

enum class Kind { random, lattice, clustered };

void writeLayout(TextOut& out, const Graph& graph, Kind kind, const Positions& positions,
                 std::uint64_t seed, Random& random) {
    const std::size_t nodeCount = graph.offsets.size() - 1;
    const std::size_t edgeCount = graph.targets.size() / 2;
    out.put("% benchmark layout, seed " + std::to_string(seed) + "\n");
    out.put(std::to_string(nodeCount) + " " + std::to_string(edgeCount) + "\n");
    const std::uint32_t side = latticeSide(static_cast<std::uint32_t>(nodeCount));
    for (std::size_t node = 0; node < nodeCount; ++node) {
        if (kind == Kind::clustered) {
            writePosition(out, positions.x[node]);
            out.put(' ');
            writePosition(out, positions.y[node]);
            out.put(' ');
            writePosition(out, positions.z[node]);
        } else if (kind == Kind::lattice) {
            const auto index = static_cast<std::uint32_t>(node);
            writeLatticeCoordinate(out, index % side, side, random);
            out.put(' ');
            writeLatticeCoordinate(out, index / side % side, side, random);
            out.put(' ');
            writeLatticeCoordinate(out, index / side / side, side, random);
        } else {
            writeCoordinate(out, random);
            out.put(' ');
            writeCoordinate(out, random);
            out.put(' ');
            writeCoordinate(out, random);
        }
        for (std::uint64_t k = graph.offsets[node]; k < graph.offsets[node + 1]; ++k) {
            writeNodeNumber(out, graph.targets[k] + 1);
        }
        out.put('\n');
    }
}

[[noreturn]] void usage() {
    std::fputs("usage: generate_layout NODES AVERAGE_DEGREE SEED OUT.3dlayout "
               "[random|local|clustered]\n",
               stderr);
    std::exit(2);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5 && argc != 6) {
        usage();
    }
    const std::string kindName = argc == 6 ? argv[5] : "random";
    if (kindName != "random" && kindName != "local" && kindName != "clustered") {
        usage();
    }
    const Kind kind = kindName == "local"       ? Kind::lattice
                      : kindName == "clustered" ? Kind::clustered
                                                : Kind::random;
    const unsigned long long nodes = std::strtoull(argv[1], nullptr, 10);
    const double degree = std::strtod(argv[2], nullptr);
    const std::uint64_t seed = std::strtoull(argv[3], nullptr, 10);
    const auto edgeCount = static_cast<std::uint64_t>(static_cast<double>(nodes) * degree / 2.0);
    if (nodes < 2 || nodes > INT32_MAX || degree < 0.0 || edgeCount > nodes * (nodes - 1) / 2 ||
        2 * edgeCount > INT32_MAX) {
        std::fputs("generate_layout: node count or degree out of range\n", stderr);
        return 2;
    }
    Random random(seed);
    const auto nodeCount = static_cast<std::uint32_t>(nodes);
    Positions positions;
    std::vector<std::uint64_t> edges;
    if (kind == Kind::clustered) {
        positions = clusteredPositions(nodeCount, random);
        edges = nearestEdges(positions, nearestForDegree(degree));
    } else if (kind == Kind::lattice) {
        edges = latticeEdges(nodeCount, edgeCount, random);
    } else {
        edges = randomEdges(nodeCount, edgeCount, random);
    }
    Graph graph = listBothEnds(nodeCount, edges);
    shuffleNeighbourLists(graph, random);
    TextOut out(argv[4]);
    writeLayout(out, graph, kind, positions, seed, random);
    out.close();
    return 0;
}
