#pragma once

#include <bit>
#include <cstdint>

namespace l2v::testing {

// Equal to the last bit: -0.0 and 0.0 differ here, as they may in a written scene.
inline bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

} // namespace l2v::testing
