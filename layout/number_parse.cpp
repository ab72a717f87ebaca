#include "layout/number_parse.hpp"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <system_error>

namespace l2v {
namespace {

// Exponent digits beyond this magnitude cannot change a finite double's value (any such
// number is 0 or out of range), so reading stops adding them and notes the overflow.
constexpr int kLargestExponentKept = 100000;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isExponentMark(char c) {
    return c == 'e' || c == 'E' || c == 'd' || c == 'D';
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

// Converts through from_chars, rewritten first where needed into the form it takes: no
// leading "+", exponent mark "e".
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

// The common case: few enough digits that mantissa and power of ten are exact doubles, so one
// correctly rounded multiplication or division gives the correctly rounded value.
struct ScannedNumber {
    std::size_t length = 0; // 0: no leading number
    bool negative = false;
    bool exact = false;         // mantissa and exponent fit the fast conversion
    std::uint64_t mantissa = 0; // the digits, point removed
    int exponent = 0;           // power of ten to apply to the mantissa
};

constexpr std::uint64_t kExactMantissa = std::uint64_t{1} << 53;
constexpr int kExactPower = 22;
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Scans the leading number once, collecting its digits as it goes.
ScannedNumber scanNumber(std::string_view text) {
    ScannedNumber number;
    std::size_t at = 0;
    const std::size_t size = text.size();
    if (at < size && (text[at] == '+' || text[at] == '-')) {
        number.negative = text[at] == '-';
        ++at;
    }
    int digits = 0;
    int fractionDigits = 0;
    bool overflow = false;
    auto takeDigit = [&](char c) {
        if (number.mantissa < kExactMantissa / 10 + 1) {
            number.mantissa = number.mantissa * 10 + static_cast<std::uint64_t>(c - '0');
        } else {
            overflow = true;
        }
        ++digits;
    };
    for (; at < size && isDigit(text[at]); ++at) {
        takeDigit(text[at]);
    }
    if (at < size && text[at] == '.') {
        std::size_t fraction = at + 1;
        for (; fraction < size && isDigit(text[fraction]); ++fraction) {
            takeDigit(text[fraction]);
            ++fractionDigits;
        }
        if (digits > 0) {
            at = fraction;
        }
    }
    if (digits == 0) {
        return {};
    }
    int written = 0;
    bool exponentOverflow = false;
    if (at < size && isExponentMark(text[at])) {
        std::size_t exponent = at + 1;
        bool negativeExponent = false;
        if (exponent < size && (text[exponent] == '+' || text[exponent] == '-')) {
            negativeExponent = text[exponent] == '-';
            ++exponent;
        }
        const std::size_t exponentDigits = exponent;
        for (; exponent < size && isDigit(text[exponent]); ++exponent) {
            if (written < kLargestExponentKept) {
                written = written * 10 + (text[exponent] - '0');
            } else {
                exponentOverflow = true;
            }
        }
        if (exponent > exponentDigits) {
            at = exponent;
            written = negativeExponent ? -written : written;
        } else {
            written = 0;
        }
    }
    number.length = at;
    number.exponent = written - fractionDigits;
    number.exact = !overflow && !exponentOverflow && number.mantissa < kExactMantissa &&
                   number.exponent >= -kExactPower && number.exponent <= kExactPower;
    return number;
}

double scaledExactly(std::uint64_t mantissa, int exponent, bool negative) {
    const auto exact = static_cast<double>(mantissa);
    const double magnitude =
        exponent < 0 ? exact / kPowersOfTen[-exponent] : exact * kPowersOfTen[exponent];
    return negative ? -magnitude : magnitude;
}

double exactValue(const ScannedNumber& number) {
    return scaledExactly(number.mantissa, number.exponent, number.negative);
}

} // namespace

bool exactDecimal(std::uint64_t mantissa, int exponent, bool negative, double& value) {
    if (mantissa >= kExactMantissa || exponent < -kExactPower || exponent > kExactPower) {
        return false;
    }
    value = scaledExactly(mantissa, exponent, negative);
    return true;
}

double parseCoordinate(std::string_view piece) {
    const ScannedNumber scanned = scanNumber(piece);
    if (scanned.length == 0) {
        return 0.0;
    }
    if (scanned.exact) {
        return exactValue(scanned);
    }
    return convertNormalised(piece.substr(0, scanned.length));
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
