#include "layout/number_parse.hpp"

#include <array>
#include <charconv>
#include <cstdlib>
#include <limits>
#include <string>
#include <system_error>

namespace l2v {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skipDigits(std::string_view text, std::size_t at) {
    while (at < text.size() && isDigit(text[at])) {
        ++at;
    }
    return at;
}

bool isExponentMark(char c) {
    return c == 'e' || c == 'E' || c == 'd' || c == 'D';
}

// Length of the leading number of `text` by the node-line grammar, 0 when there is none.
std::size_t leadingNumberLength(std::string_view text) {
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        ++at;
    }
    const std::size_t integerStart = at;
    at = skipDigits(text, at);
    bool hasDigits = at > integerStart;
    if (at < text.size() && text[at] == '.') {
        const std::size_t fractionStart = at + 1;
        const std::size_t fractionEnd = skipDigits(text, fractionStart);
        if (hasDigits || fractionEnd > fractionStart) {
            hasDigits = true;
            at = fractionEnd;
        }
    }
    if (!hasDigits) {
        return 0;
    }
    if (at < text.size() && isExponentMark(text[at])) {
        std::size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        const std::size_t exponentEnd = skipDigits(text, exponent);
        if (exponentEnd > exponent) {
            at = exponentEnd;
        }
    }
    return at;
}

// from_chars reports underflow and overflow alike as out of range; strtod tells them apart
// (the program never sets a locale, so strtod reads "." as the decimal point).
double convertOutOfRange(std::string_view number) {
    const std::string terminated(number);
    return std::strtod(terminated.c_str(), nullptr);
}

double convertNumber(std::string_view number) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        return convertOutOfRange(number);
    }
    (void)end;
    return value;
}

// Rewrites the number into the form from_chars takes: no leading "+", exponent mark "e".
double convertNormalised(std::string_view number) {
    if (number.front() == '+') {
        number.remove_prefix(1);
    }
    const std::size_t mark = number.find_first_of("dD");
    if (mark == std::string_view::npos) {
        return convertNumber(number);
    }
    constexpr std::size_t kShortNumber = 64;
    if (number.size() <= kShortNumber) {
        std::array<char, kShortNumber> copy{};
        number.copy(copy.data(), number.size());
        copy[mark] = 'e';
        return convertNumber({copy.data(), number.size()});
    }
    std::string copy(number);
    copy[mark] = 'e';
    return convertNumber(copy);
}

} // namespace

double parseCoordinate(std::string_view piece) {
    const std::size_t length = leadingNumberLength(piece);
    if (length == 0) {
        return 0.0;
    }
    const std::string_view number = piece.substr(0, length);
    const bool plain =
        number.front() != '+' && number.find_first_of("dD") == std::string_view::npos;
    return plain ? convertNumber(number) : convertNormalised(number);
}

LeadingInteger parseLeadingInteger(std::string_view piece) {
    std::size_t at = 0;
    bool negative = false;
    if (at < piece.size() && (piece[at] == '+' || piece[at] == '-')) {
        negative = piece[at] == '-';
        ++at;
    }
    if (at >= piece.size() || !isDigit(piece[at])) {
        return {IntegerStatus::missing, 0};
    }
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; at < piece.size() && isDigit(piece[at]); ++at) {
        magnitude = magnitude * 10 + (piece[at] - '0');
        if (magnitude > kLimit) {
            return {IntegerStatus::outOfRange, 0};
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return {IntegerStatus::outOfRange, 0};
    }
    return {IntegerStatus::ok, value};
}

} // namespace l2v
