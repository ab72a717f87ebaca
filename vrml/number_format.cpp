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

char* writeFourDecimals(char* out, double value) {
    // Below this magnitude the value times 10^4, rounded, fits 53 bits exactly.
    constexpr double kIntegerLimit = 4e11;
    const double magnitude = std::fabs(value);
    if (!(magnitude < kIntegerLimit)) {
        char* end =
            std::to_chars(out, out + kMaxFourDecimalsLength, value, std::chars_format::fixed, 4)
                .ptr;
        while (end[-1] == '0') {
            --end;
        }
        return end[-1] == '.' ? end - 1 : end;
    }
    const auto tenThousandths = static_cast<std::uint64_t>(std::llround(magnitude * 1e4));
    if (tenThousandths == 0) {
        *out = '0';
        return out + 1;
    }
    *out = '-';
    out += value < 0.0 ? 1 : 0;
    out = std::to_chars(out, out + 20, tenThousandths / 10000).ptr;
    std::uint64_t fraction = tenThousandths % 10000;
    if (fraction == 0) {
        return out;
    }
    int digits = 4;
    while (fraction % 10 == 0) {
        fraction /= 10;
        --digits;
    }
    *out++ = '.';
    writePadded(out, fraction, digits);
    return out + digits;
}

char* writeDecimal(char* out, std::uint32_t value) {
    const int width = decimalWidth(value);
    writePadded(out, value, width);
    return out + width;
}

char* writeVrmlColour(char* out, const Rgb& colour) {
    out = std::to_chars(out, out + 15, colour.red).ptr;
    *out++ = ' ';
    out = std::to_chars(out, out + 15, colour.green).ptr;
    *out++ = ' ';
    return std::to_chars(out, out + 15, colour.blue).ptr;
}

std::string vrmlColour(const Rgb& colour) {
    char text[kMaxVrmlColourLength];
    return {text, writeVrmlColour(text, colour)};
}

} // namespace l2v
