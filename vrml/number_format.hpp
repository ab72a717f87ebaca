#pragma once

#include <cstddef>
#include <cstdint>

namespace l2v {

// Room a fixed-notation double may take: sign, 309 integer digits, point, six decimals.
inline constexpr std::size_t kMaxFixedLength = 320; // including one byte of scratch

// Writes `value` as C's "%f" would (fixed notation, six decimals, ties to even), except that
// a zero of either sign is written 0.000000. Returns the end of what was written; the byte
// just after it may have been used as scratch. `value` must be finite.
char* writeFixed(char* out, double value);

// The reference conversion the fast path is checked against: std::to_chars, exact.
char* writeFixedExact(char* out, double value);

// Plain decimal digits of `value`, no sign, no padding.
char* writeDecimal(char* out, std::uint32_t value);

} // namespace l2v
