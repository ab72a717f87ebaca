#pragma once

#include "layout/layout.hpp"
#include "scene/edge_geometry.hpp"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace l2v {

// Fitting extent and viewpoint distance: the camera stands this far out on the z axis.
inline constexpr double kSceneExtent = 20.0;

struct SceneSwitches {
    bool showEdges = true;
    bool showLabels = false;
};

// The edge walk reads positions faster from a side-by-side copy, which costs 24 bytes per node;
// the copy is made only while it fits in this many bytes, so that memory stays within the
// layout's own size and a fixed allowance.
inline constexpr std::size_t kPositionCopyBudget = std::size_t{24} << 20;

// Calls visit(position, count, index) for every node in index order, where `count` is the
// node's run length (1 + its references).
template <class Visit> void forEachNode(const Layout& layout, Visit&& visit) {
    const Coordinates& at = layout.coordinates;
    for (std::int32_t i = 0; i < layout.nodeCount; ++i) {
        const auto index = static_cast<std::size_t>(i);
        visit(Point{at.x[index], at.y[index], at.z[index]}, layout.nodes[index].count,
              static_cast<std::uint32_t>(i));
    }
}

// How many edges the walk below visits.
std::size_t countDrawnEdges(const Layout& layout);

namespace detail {

inline void prefetchLine(const void* address) {
#if defined(__GNUC__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

// Where the edge walk reads positions: the coordinate arrays themselves (stride 1), or an
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
        prefetchLine(x + offset);
        prefetchLine(y + offset);
        prefetchLine(z + offset);
    }
};

std::vector<double> interleavedPositions(const Coordinates& coordinates);

// The pool holds all runs back to back, so the neighbour this many slots ahead is known early
// and its position can be fetched while this edge is written.
inline constexpr std::ptrdiff_t kPrefetchDistance = 8;

template <class Visit>
void forEachEdgeFrom(const Layout& layout, const PositionView& positions, Visit& visit) {
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
                visit(from, positions.at(static_cast<std::size_t>(j)));
            }
        }
    }
}

} // namespace detail

// Calls visit(from, to) for every drawn edge, in drawing order: each edge from its
// lower-indexed endpoint, by that endpoint's index, then in the order its run lists them.
// References to the node itself, to a lower index, or numbers of 0 and below give nothing.
template <class Visit>
void forEachEdge(const Layout& layout, Visit&& visit,
                 std::size_t positionCopyBudget = kPositionCopyBudget) {
    const Coordinates& coordinates = layout.coordinates;
    if (3 * sizeof(double) * coordinates.x.size() > positionCopyBudget) {
        detail::forEachEdgeFrom(
            layout, {coordinates.x.data(), coordinates.y.data(), coordinates.z.data(), 1}, visit);
        return;
    }
    const std::vector<double> copy = detail::interleavedPositions(coordinates);
    detail::forEachEdgeFrom(layout, {copy.data(), copy.data() + 1, copy.data() + 2, 3}, visit);
}

} // namespace l2v
