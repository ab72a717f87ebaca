#pragma once

#include "scene/drawing_style.hpp"

#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace l2v {

// Room a fixed-notation double may take: sign, 309 integer digits, point, six decimals.
inline constexpr std::size_t kMaxFixedLength = 320; // including one byte of scratch

namespace detail {

inline constexpr char kDigitPairs[] = "00010203040506070809"
                                      "10111213141516171819"
                                      "20212223242526272829"
                                      "30313233343536373839"
                                      "40414243444546474849"
                                      "50515253545556575859"
                                      "60616263646566676869"
                                      "70717273747576777879"
                                      "80818283848586878889"
                                      "90919293949596979899";

// "000" to "999", four bytes apart so that each group is one aligned load.
constexpr std::array<char, 4000> makeDigitTriples() {
    std::array<char, 4000> triples{};
    for (int value = 0; value < 1000; ++value) {
        triples[4 * static_cast<std::size_t>(value)] = static_cast<char>('0' + value / 100);
        triples[4 * static_cast<std::size_t>(value) + 1] = static_cast<char>('0' + value / 10 % 10);
        triples[4 * static_cast<std::size_t>(value) + 2] = static_cast<char>('0' + value % 10);
    }
    return triples;
}

inline constexpr std::array<char, 4000> kDigitTriples = makeDigitTriples();

constexpr std::uint32_t kMicros = 1000000;
constexpr std::uint32_t kShortMicros = 100 * kMicros;
// Magnitudes below this are short: their rounded millionths stay below 10^8, under 2^27, where
// the product with 10^6 is off by at most 2^-27 and its fraction is exact.
constexpr double kShortLimit = 99.999998;
// Products closer than this to a tie might round either way; they take the exact path.
constexpr double kShortTieMargin = 0x1p-25;
// fl(a * 1e6) lies within |a * 1e6| * 2^-53 of the exact product; twice that keeps a margin.
constexpr double kTieMargin = 0x1p-52;

// Scales a positive magnitude by 10^6 and rounds it to the nearest integer, ties to even as
// "%f" has them; `Whole` is a signed integer type wide enough for the product's integer part
// (signed conversions truncate in one instruction, unsigned ones do not, and truncation is the
// floor for positive values). Returns false, leaving the value to the exact path, when the
// product lies within `tieMargin` of a tie: its own rounding could then hide which way the
// exact product falls.
template <class Whole>
inline bool roundToMicros(double magnitude, double tieMargin, Whole& micros) {
    const double scaled = magnitude * 1e6;
    const auto whole = static_cast<Whole>(scaled);
    const double fraction = scaled - static_cast<double>(whole);
    if (std::fabs(fraction - 0.5) <= tieMargin) {
        return false;
    }
    micros = static_cast<Whole>(whole + (fraction > 0.5 ? 1 : 0));
    return true;
}

// The integer part of a short value, one or two digits, chosen without a branch: the digit
// count is as random as the values.
inline char* writeShortWhole(char* out, std::uint32_t whole) {
    const char* pair = kDigitPairs + 2 * std::size_t{whole};
    const int single = whole < 10 ? 1 : 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::uint16_t digits = 0;
        std::memcpy(&digits, pair, 2);
        digits = static_cast<std::uint16_t>(digits >> (8 * single)); // "07" starts at the 7
        std::memcpy(out, &digits, 2);
    } else {
        out[0] = single != 0 ? pair[1] : pair[0];
        out[1] = pair[1];
    }
    return out + 2 - single;
}

// The point and six decimals of `fraction` millionths. Each triple brings one byte of scratch,
// overwritten by the next or left past the end.
inline char* writeDecimals(char* out, std::uint32_t fraction) {
    *out++ = '.';
    std::memcpy(out, kDigitTriples.data() + 4 * std::size_t{fraction / 1000}, 4);
    std::memcpy(out + 3, kDigitTriples.data() + 4 * std::size_t{fraction % 1000}, 4);
    return out + 6;
}

// Writes a magnitude below 100 given as its rounded count of millionths.
inline char* writeShortMicros(char* out, std::uint32_t micros) {
    const std::uint32_t whole = micros / kMicros;
    return writeDecimals(writeShortWhole(out, whole), micros - whole * kMicros);
}

// Every value the short path below leaves: zeros, large values, near-ties.
char* writeFixedOutsideShortPath(char* out, double value);

} // namespace detail

// Writes `value` as C's "%f" would (fixed notation, six decimals, ties to even), except that
// a zero of either sign is written 0.000000. Returns the end of what was written; the byte
// just after it may have been used as scratch. `value` must be finite. The usual short
// values are written inline, where blocks of numbers are composed.
inline char* writeFixed(char* out, double value) {
    const double magnitude = std::fabs(value);
    std::int32_t micros = 0;
    if (magnitude < detail::kShortLimit &&
        detail::roundToMicros(magnitude, detail::kShortTieMargin, micros)) {
        // Signs are random in a layout: written without a branch to mispredict. Zeros of
        // either sign are not below zero, so they print unsigned.
        *out = '-';
        out += value < 0.0 ? 1 : 0;
        return detail::writeShortMicros(out, static_cast<std::uint32_t>(micros));
    }
    return detail::writeFixedOutsideShortPath(out, value);
}

// The reference conversion the fast path is checked against: std::to_chars, exact.
char* writeFixedExact(char* out, double value);

// Plain decimal digits of `value`, no sign, no padding.
char* writeDecimal(char* out, std::uint32_t value);

// `value` rounded to four decimals, without trailing zeros (1.5, -0.0625, 3): within 5e-5 of
// the value, for the vertices of merged meshes. `value` must be finite.
inline constexpr std::size_t kMaxFourDecimalsLength = 330;
char* writeFourDecimals(char* out, double value);

// A VRML colour: its three components, each the shortest text that reads back as the same
// float ("1 0.95 0.7"), separated by blanks.
inline constexpr std::size_t kMaxVrmlColourLength = std::size_t{3} * 16;
char* writeVrmlColour(char* out, const Rgb& colour);
std::string vrmlColour(const Rgb& colour);

} // namespace l2v
