#pragma once

#include <cstdint>

namespace l2v::testing {

// splitmix64: tiny, fast and fully specified, so generated test and benchmark data are the
// same on every platform (the standard distributions are not).
class SplitMix64 {
  public:
    explicit SplitMix64(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    double unit() { return static_cast<double>(next() >> 11) * 0x1p-53; }

    // Uniform in [low, high).
    double between(double low, double high) { return low + (high - low) * unit(); }

    // The slight modulo bias does not matter for test data.
    std::uint64_t below(std::uint64_t bound) { return next() % bound; }

  private:
    std::uint64_t state_;
};

} // namespace l2v::testing
