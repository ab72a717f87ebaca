#pragma once

#include "common/point.hpp"
#include "layout/layout.hpp"

#include <cstddef>
#include <cstdint>
#include <span>

namespace l2v {

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

// Calls visit(from, to) with the two endpoint indices of every drawn edge, in the order of
// forEachEdge below.
template <class Visit> void forEachEdgeEnds(const Layout& layout, Visit&& visit) {
    for (std::int32_t i = 0; i < layout.nodeCount; ++i) {
        for (const std::int32_t j : neighbours(layout, i)) {
            if (j > i) {
                visit(static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(j));
            }
        }
    }
}

// How many edges the walks below visit.
std::size_t countDrawnEdges(const Layout& layout);

namespace detail {

inline void prefetchLine(const void* address) {
    __builtin_prefetch(address); // GCC and Clang, the compilers this builds with
}

inline void prefetchPosition(const Coordinates& coordinates, std::size_t index) {
    prefetchLine(coordinates.x.data() + index);
    prefetchLine(coordinates.y.data() + index);
    prefetchLine(coordinates.z.data() + index);
}

// The pool holds all runs back to back, so the neighbour this many slots ahead is known early
// and its position can be fetched while this edge is written.
inline constexpr std::ptrdiff_t kPrefetchDistance = 8;

} // namespace detail

// Calls visit(from, to, i, j) for every drawn edge, in drawing order: each edge from its
// lower-indexed endpoint i, by that endpoint's index, then in the order its run lists them.
// References to the node itself, to a lower index, or numbers of 0 and below give nothing.
template <class Visit> void forEachEdgeBetween(const Layout& layout, Visit&& visit) {
    const Coordinates& at = layout.coordinates;
    const std::int32_t* const poolEnd = layout.adjacencyPool.data() + layout.adjacencyPool.size();
    const auto nodeCount = static_cast<std::uint32_t>(layout.nodeCount);
    for (std::int32_t i = 0; i < layout.nodeCount; ++i) {
        const auto index = static_cast<std::size_t>(i);
        const Point from{at.x[index], at.y[index], at.z[index]};
        const std::span<const std::int32_t> run = neighbours(layout, i);
        for (const std::int32_t& j : run) {
            if (poolEnd - &j > detail::kPrefetchDistance) {
                // Unused references (negative, or 0) fetch node 0: harmless, and without a
                // branch, which the compiler would otherwise take as a reason to drop the fetch.
                const auto ahead = static_cast<std::uint32_t>((&j)[detail::kPrefetchDistance]);
                detail::prefetchPosition(at, ahead < nodeCount ? ahead : 0);
            }
            if (j > i) {
                const auto other = static_cast<std::size_t>(j);
                visit(from, Point{at.x[other], at.y[other], at.z[other]},
                      static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(j));
            }
        }
    }
}

// Calls visit(from, to) for every drawn edge, in the order above.
template <class Visit> void forEachEdge(const Layout& layout, Visit&& visit) {
    forEachEdgeBetween(layout, [&visit](const Point& from, const Point& to, std::uint32_t,
                                        std::uint32_t) { visit(from, to); });
}

} // namespace l2v
