#include "scene/community_refinement.hpp"

#include "scene/adjacency.hpp"
#include "scene/connected_pieces.hpp"

#include <algorithm>

namespace l2v {
namespace {

// Moving node v from community c to g changes modularity by
// (2m x (links(v, g) - links(v, c)) - degree(v) x (total(g) - total(c))) / (2 m^2), the
// totals (the degrees of a community's nodes summed) taken without v. Every term is an
// integer: compared in 64 bits, the choice is exact and the same on every machine (for any
// layout with fewer than 2^31 edge ends, 2m x degree stays below 2^62).
class Mover {
  public:
    Mover(const Adjacency& adjacency, std::vector<std::uint32_t>& community)
        : adjacency_(adjacency), community_(community),
          twiceEdges_(static_cast<std::int64_t>(adjacency.targets.size())),
          total_(adjacency.nodeCount(), 0), links_(adjacency.nodeCount(), 0),
          pending_(adjacency.nodeCount(), 0) {
        for (std::uint32_t v = 0; v < adjacency.nodeCount(); ++v) {
            total_[community_[v]] += degreeOf(v);
        }
    }

    // Sweeps until a whole sweep moves nothing. Between whole sweeps only the nodes next to a
    // move are visited again (most of a graph settles in the first sweeps); a node whose
    // neighbours all stayed can still gain when a community's total changed, which the next
    // whole sweep finds.
    void settle() {
        for (;;) {
            std::fill(pending_.begin(), pending_.end(), 1);
            if (!sweep()) {
                return;
            }
            while (sweep()) {
            }
        }
    }

  private:
    // The pending nodes in index order; whether any moved.
    bool sweep() {
        bool moved = false;
        for (std::uint32_t v = 0; v < adjacency_.nodeCount(); ++v) {
            if (pending_[v] == 0) {
                continue;
            }
            pending_[v] = 0;
            if (moveNode(v)) {
                moved = true;
                for (std::uint64_t k = adjacency_.offsets[v]; k < adjacency_.offsets[v + 1]; ++k) {
                    pending_[adjacency_.targets[k]] = 1;
                }
            }
        }
        return moved;
    }

    std::int64_t degreeOf(std::uint32_t v) const {
        return static_cast<std::int64_t>(adjacency_.degree(v));
    }

    bool moveNode(std::uint32_t v) {
        const std::int64_t degree = degreeOf(v);
        const std::uint32_t current = community_[v];
        total_[current] -= degree;
        touched_.clear();
        for (std::uint64_t k = adjacency_.offsets[v]; k < adjacency_.offsets[v + 1]; ++k) {
            const std::uint32_t g = community_[adjacency_.targets[k]];
            if (links_[g] == 0) {
                touched_.push_back(g);
            }
            ++links_[g];
        }
        const auto score = [&](std::uint32_t g) {
            return twiceEdges_ * links_[g] - degree * total_[g];
        };
        std::uint32_t best = current;
        std::int64_t bestScore = score(current);
        for (const std::uint32_t g : touched_) {
            const std::int64_t gain = score(g);
            if (gain > bestScore || (gain == bestScore && best != current && g < best)) {
                best = g;
                bestScore = gain;
            }
        }
        for (const std::uint32_t g : touched_) {
            links_[g] = 0;
        }
        total_[best] += degree;
        community_[v] = best;
        return best != current;
    }

    const Adjacency& adjacency_;
    std::vector<std::uint32_t>& community_;
    std::int64_t twiceEdges_;
    std::vector<std::int64_t> total_; // per community
    std::vector<std::int64_t> links_; // per community: edges from the node in hand
    std::vector<std::uint32_t> touched_;
    std::vector<std::uint8_t> pending_; // per node: whether the next sweep visits it
};

std::size_t countDistinct(const std::vector<std::uint32_t>& values) {
    std::vector<bool> seen(values.size(), false);
    std::size_t count = 0;
    for (const std::uint32_t value : values) {
        if (!seen[value]) {
            seen[value] = true;
            ++count;
        }
    }
    return count;
}

} // namespace

// Every move raises modularity, and so does every split, but for one that sets apart a node
// without edges, which never joins anything again: the loop ends.
std::vector<std::uint32_t> refineCommunities(const Layout& layout,
                                             std::vector<std::uint32_t> community) {
    const Adjacency adjacency = adjacencyOf(layout);
    if (adjacency.targets.empty()) {
        return community;
    }
    for (;;) {
        Mover(adjacency, community).settle();
        std::vector<std::uint32_t> pieces = connectedPieces(layout, community);
        const bool split = countDistinct(pieces) != countDistinct(community);
        community = std::move(pieces);
        if (!split) {
            return community;
        }
    }
}

} // namespace l2v
