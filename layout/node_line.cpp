#include "layout/node_line.hpp"

#include "layout/failure.hpp"
#include "layout/number_parse.hpp"

#include <cmath>

namespace l2v {
namespace {

bool isSeparator(char c) {
    return c == ',' || c == ' ' || c == '\t';
}

// Fields end at any white space or a comma.
bool endsField(char c) {
    return c == ',' || c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isPieceBreak(char c) {
    return c == '/' || c == '\\';
}

// Control characters and bytes of 128 and above end the neighbour list.
bool endsNeighbourList(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code < 32 || code >= 128;
}

std::string inPlace(const LinePlace& place) {
    return " in " + place.sourcePath + " at line " + std::to_string(place.lineNumber);
}

class FieldCursor {
  public:
    explicit FieldCursor(std::string_view line) : line_(line) {}

    void skipSeparators() {
        while (at_ < line_.size() && isSeparator(line_[at_])) {
            ++at_;
        }
    }

    bool atEndOfNeighbours() const { return at_ >= line_.size() || endsNeighbourList(line_[at_]); }

    std::string_view takeField() {
        const std::size_t start = at_;
        while (at_ < line_.size() && !endsField(line_[at_])) {
            ++at_;
        }
        return line_.substr(start, at_ - start);
    }

  private:
    std::string_view line_;
    std::size_t at_ = 0;
};

// The text before the first "/" or "\" of a field, leading ones skipped; may be empty.
std::string_view firstPiece(std::string_view field) {
    std::size_t start = 0;
    while (start < field.size() && isPieceBreak(field[start])) {
        ++start;
    }
    std::size_t end = start;
    while (end < field.size() && !isPieceBreak(field[end])) {
        ++end;
    }
    return field.substr(start, end - start);
}

Failure badNumber(std::string_view field, const LinePlace& place) {
    return Failure("bad number \"" + std::string(field) + "\"" + inPlace(place) + ".");
}

double readCoordinate(FieldCursor& cursor, const LinePlace& place) {
    cursor.skipSeparators();
    const std::string_view field = cursor.takeField();
    if (field.empty()) {
        throw Failure("too few coordinates" + inPlace(place) + ".");
    }
    const std::string_view piece = firstPiece(field);
    if (piece.empty()) {
        throw badNumber(field, place);
    }
    const double value = parseCoordinate(piece);
    if (!std::isfinite(value)) {
        throw Failure("coordinate " + std::string(piece) + inPlace(place) + " is out of range.");
    }
    return value;
}

std::int32_t readNeighbour(std::string_view field, std::int32_t nodeCount, const LinePlace& place) {
    const std::string_view piece = firstPiece(field);
    const LeadingInteger number = parseLeadingInteger(piece);
    if (piece.empty() || number.status == IntegerStatus::missing) {
        throw badNumber(field, place);
    }
    // n - 1 is stored, so the smallest 32-bit value does not fit either.
    if (number.status == IntegerStatus::outOfRange || number.value > nodeCount ||
        number.value <= INT32_MIN) {
        throw Failure("neighbour " + std::string(piece) + inPlace(place) + " is out of range.");
    }
    return static_cast<std::int32_t>(number.value - 1);
}

} // namespace

Position parseNodeLine(std::string_view line, std::int32_t nodeCount, const LinePlace& place,
                       std::vector<std::int32_t>& pool) {
    FieldCursor cursor(line);
    Position position;
    position.x = readCoordinate(cursor, place);
    position.y = readCoordinate(cursor, place);
    position.z = readCoordinate(cursor, place);
    for (;;) {
        cursor.skipSeparators();
        if (cursor.atEndOfNeighbours()) {
            return position;
        }
        pool.push_back(readNeighbour(cursor.takeField(), nodeCount, place));
    }
}

} // namespace l2v
