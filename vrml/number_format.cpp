#include "vrml/number_format.hpp"

#include <charconv>
#include <cmath>
#include <cstring>

namespace l2v {
namespace {

using detail::kDigitPairs;

// Writes exactly `width` digits of `value` (which must fit), zero-padded, two at a time.
void writePadded(char* out, std::uint64_t value, int width) {
    char* at = out + width;
    while (width >= 2) {
        at -= 2;
        std::memcpy(at, kDigitPairs + 2 * (value % 100), 2);
        value /= 100;
        width -= 2;
    }
    if (width == 1) {
        *--at = static_cast<char>('0' + value % 10);
    }
}

int decimalWidth(std::uint64_t value) {
    int width = 1;
    while (value >= 10) {
        value /= 10;
        ++width;
    }
    return width;
}

constexpr double kScale = 1e6;
constexpr std::uint64_t kMicros = detail::kMicros;
// Below this magnitude value * 1e6 stays under 2^50, so its fraction is exact and the
// product's rounding error is far below 1/8.
constexpr double kFastLimit = 1e9;

char* writeMicros(char* out, std::uint64_t micros) {
    if (micros < detail::kShortMicros) {
        return detail::writeShortMicros(out, static_cast<std::uint32_t>(micros));
    }
    const auto whole = static_cast<std::uint32_t>(micros / kMicros);
    const auto fraction = static_cast<std::uint32_t>(micros - std::uint64_t{whole} * kMicros);
    return detail::writeDecimals(writeDecimal(out, whole), fraction);
}

} // namespace

char* writeFixedExact(char* out, double value) {
    if (value == 0.0) {
        std::memcpy(out, "0.000000", 8);
        return out + 8;
    }
    return std::to_chars(out, out + kMaxFixedLength, value, std::chars_format::fixed, 6).ptr;
}

char* detail::writeFixedOutsideShortPath(char* out, double value) {
    const double magnitude = std::fabs(value);
    std::int64_t micros = 0;
    // Zeros (which print without sign) and large values take the exact path. Below the fast
    // limit the product stays under 2^50, so its fraction is exact.
    if (!(magnitude < kFastLimit) || magnitude == 0.0 ||
        !detail::roundToMicros(magnitude, magnitude * kScale * detail::kTieMargin, micros)) {
        return writeFixedExact(out, value);
    }
    // Signs are random in a layout: written without a branch to mispredict.
    *out = '-';
    out += value < 0.0 ? 1 : 0;
    return writeMicros(out, static_cast<std::uint64_t>(micros));
}

char* writeDecimal(char* out, std::uint32_t value) {
    const int width = decimalWidth(value);
    writePadded(out, value, width);
    return out + width;
}

} // namespace l2v
