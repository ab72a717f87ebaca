#include "layout/plain_node_line.hpp"

#include "layout/number_parse.hpp"

namespace l2v {
namespace {

bool isSeparator(char c) {
    return c == ' ' || c == ',' || c == '\t';
}

bool isDigit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

// More digits than this could overflow the 64-bit mantissa; such numbers take the general path.
constexpr std::ptrdiff_t kLongestMantissa = 19;
// Neighbour numbers of more digits take the general path, which tells zeros from overflow.
constexpr std::ptrdiff_t kLongestReference = 10;

class PlainScanner {
  public:
    explicit PlainScanner(std::string_view line) : at_(line.data()), end_(at_ + line.size()) {
        if (at_ < end_ && end_[-1] == '\r') {
            --end_;
        }
    }

    void skipSeparators() {
        while (at_ < end_ && isSeparator(*at_)) {
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
        const char* at = at_;
        std::int64_t number = 0;
        while (at < end_ && isDigit(*at) && at - at_ < kLongestReference) {
            number = number * 10 + (*at - '0');
            ++at;
        }
        if (at == at_ || !endsField(at) || number > limit) {
            return false;
        }
        at_ = at;
        value = number;
        return true;
    }

  private:
    const char* takeDigits(const char* at, std::uint64_t& mantissa) const {
        while (at < end_ && isDigit(*at)) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*at - '0');
            ++at;
        }
        return at;
    }

    bool endsField(const char* at) const { return at == end_ || isSeparator(*at); }

    const char* at_;
    const char* end_;
};

} // namespace

bool parsePlainNodeLine(std::string_view line, std::int32_t nodeCount, Position& position,
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
