#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace l2v {

// Reads the leading decimal floating-point number of `piece`: optional sign, digits with an
// optional ".", optional exponent introduced by e, E, d or D. Anything else ends the number;
// a piece without a leading number reads as 0.0. Overflow gives an infinity.
double parseCoordinate(std::string_view piece);

// mantissa x 10^exponent, negated if asked, when a single correctly rounded multiplication or
// division gives the correctly rounded value (mantissa below 2^53, exponent within +-22): the
// conversion parseCoordinate makes for such numbers. Returns false, leaving `value`,
// otherwise.
bool exactDecimal(std::uint64_t mantissa, int exponent, bool negative, double& value);

enum class IntegerStatus { ok, missing, outOfRange };

struct LeadingInteger {
    IntegerStatus status = IntegerStatus::missing;
    std::int64_t value = 0;
};

// Reads the leading decimal integer of `piece` (optional sign, digits). Values outside the
// 32-bit signed range are reported as outOfRange.
LeadingInteger parseLeadingInteger(std::string_view piece);

} // namespace l2v
