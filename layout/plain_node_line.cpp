#include "layout/plain_node_line.hpp"

#include "layout/node_line_bytes.hpp"
#include "layout/number_parse.hpp"

#include <bit>
#include <cstring>

namespace l2v {
namespace {

// More digits than this could overflow the 64-bit mantissa; such numbers take the general path.
constexpr std::ptrdiff_t kLongestMantissa = 19;
// Neighbour numbers of more digits take the general path, which tells zeros from overflow.
constexpr std::ptrdiff_t kLongestReference = 10;

// Eight bytes at a time, in one 64-bit word, the first byte lowest (little-endian only).
constexpr int kWordDigits = 8;
constexpr std::uint64_t kZeros = 0x3030303030303030ULL;
constexpr std::uint64_t kPowersOfTen[kWordDigits + 1] = {1,      10,      100,      1000,     10000,
                                                         100000, 1000000, 10000000, 100000000};

// How many of the word's bytes, from the first, are digits; `values` is the word with "0"
// taken off each byte. A byte of 10 or more gets its top bit set by the addition (carries
// only reach later bytes, beyond the run), and a byte with the top bit set already is kept
// by the "or".
int leadingDigitCount(std::uint64_t values) {
    const std::uint64_t nonDigits =
        ((values + 0x7676767676767676ULL) | values) & 0x8080808080808080ULL;
    return nonDigits == 0 ? kWordDigits : std::countr_zero(nonDigits) / 8;
}

// The number the first `count` (1 to 8) digit values of the word spell: shifted so that they
// are the word's last bytes behind leading zeros, then combined pairwise in three steps.
std::uint64_t digitsValue(std::uint64_t values, int count) {
    std::uint64_t digits = values << (8 * (kWordDigits - count));
    digits = digits * 10 + (digits >> 8); // two-digit numbers in every other byte
    digits = ((digits & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32)) +
              ((digits >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32))) >>
             32;
    return digits;
}

class PlainScanner {
  public:
    explicit PlainScanner(std::string_view line) : at_(line.data()), end_(at_ + line.size()) {
        if (at_ < end_ && end_[-1] == '\r') {
            --end_;
        }
    }

    void skipSeparators() {
        while (at_ < end_ && hasClass(*at_, kSeparator)) {
            ++at_;
        }
    }

    bool atEnd() const { return at_ == end_; }

    bool takeCoordinate(double& value) {
        const char* at = at_;
        const bool negative = at < end_ && *at == '-';
        at += negative ? 1 : 0;
        std::uint64_t mantissa = 0;
        const char* wholeStart = at;
        at = takeDigits(at, mantissa);
        const char* wholeEnd = at;
        const char* fractionStart = at;
        if (at < end_ && *at == '.') {
            fractionStart = at + 1;
            at = takeDigits(fractionStart, mantissa);
        }
        const std::ptrdiff_t fractionDigits = at - fractionStart;
        if (wholeEnd == wholeStart || (wholeEnd - wholeStart) + fractionDigits > kLongestMantissa ||
            !endsField(at)) {
            return false;
        }
        if (!exactDecimal(mantissa, -static_cast<int>(fractionDigits), negative, value)) {
            return false;
        }
        at_ = at;
        return true;
    }

    bool takeReference(std::int64_t limit, std::int64_t& value) {
        std::uint64_t number = 0;
        const char* at = takeDigits(at_, number);
        if (at == at_ || at - at_ > kLongestReference || !endsField(at) ||
            number > static_cast<std::uint64_t>(limit)) {
            return false;
        }
        at_ = at;
        value = static_cast<std::int64_t>(number);
        return true;
    }

  private:
    // Appends the run of digits at `at` to `mantissa` (which wraps if the run is too long for
    // it; callers refuse such runs) and returns the run's end.
    const char* takeDigits(const char* at, std::uint64_t& mantissa) const {
        if constexpr (std::endian::native == std::endian::little) {
            while (end_ - at >= kWordDigits) {
                std::uint64_t word = 0;
                std::memcpy(&word, at, sizeof word);
                const std::uint64_t values = word ^ kZeros;
                const int count = leadingDigitCount(values);
                if (count == 0) {
                    return at;
                }
                mantissa = mantissa * kPowersOfTen[count] + digitsValue(values, count);
                at += count;
                if (count < kWordDigits) {
                    return at;
                }
            }
        }
        while (at < end_ && hasClass(*at, kDigit)) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*at - '0');
            ++at;
        }
        return at;
    }

    bool endsField(const char* at) const { return at == end_ || hasClass(*at, kSeparator); }

    const char* at_;
    const char* end_;
};

} // namespace

bool parsePlainNodeLine(std::string_view line, std::int32_t nodeCount, Point& position,
                        std::vector<std::int32_t>& pool) {
    PlainScanner scanner(line);
    for (double* coordinate : {&position.x, &position.y, &position.z}) {
        scanner.skipSeparators();
        if (!scanner.takeCoordinate(*coordinate)) {
            return false;
        }
    }
    for (;;) {
        scanner.skipSeparators();
        if (scanner.atEnd()) {
            return true;
        }
        std::int64_t reference = 0;
        if (!scanner.takeReference(nodeCount, reference)) {
            return false;
        }
        pool.push_back(static_cast<std::int32_t>(reference - 1));
    }
}

} // namespace l2v
