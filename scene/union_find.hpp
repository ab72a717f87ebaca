#pragma once

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

namespace l2v {

// Sets of nodes joined pair by pair. Linking the higher root under the lower keeps every root
// the lowest node of its set, whatever order the pairs come in; halving the paths keeps the
// walks short.
class UnionFind {
  public:
    explicit UnionFind(std::size_t count) : parent_(count) {
        std::iota(parent_.begin(), parent_.end(), 0U);
    }

    std::uint32_t root(std::uint32_t node) {
        while (parent_[node] != node) {
            parent_[node] = parent_[parent_[node]];
            node = parent_[node];
        }
        return node;
    }

    void unite(std::uint32_t a, std::uint32_t b) {
        const std::uint32_t rootA = root(a);
        const std::uint32_t rootB = root(b);
        parent_[std::max(rootA, rootB)] = std::min(rootA, rootB);
    }

  private:
    std::vector<std::uint32_t> parent_;
};

} // namespace l2v
