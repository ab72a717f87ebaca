#include "layout/node_line.hpp"

#include "common/failure.hpp"
#include "layout/node_line_bytes.hpp"
#include "layout/number_parse.hpp"
#include "layout/plain_node_line.hpp"

#include <cmath>

namespace l2v {
namespace {

std::string inPlace(const LinePlace& place) {
    return inFileAtLine(place.sourcePath, place.lineNumber);
}

Failure badNumber(std::string_view field, const LinePlace& place) {
    return Failure("bad number \"" + quotedText(field) + "\"" + inPlace(place) + ".");
}

Failure neighbourOutOfRange(std::string_view piece, const LinePlace& place) {
    return Failure("neighbour " + quotedText(piece) + inPlace(place) + " is out of range.");
}

// A field and its first piece: the text before the first "/" or "\", leading ones skipped.
struct Field {
    std::string_view text;
    std::string_view piece;
};

class FieldCursor {
  public:
    explicit FieldCursor(std::string_view line) : at_(line.data()), end_(at_ + line.size()) {}

    void skipSeparators() {
        while (at_ < end_ && hasClass(*at_, kSeparator)) {
            ++at_;
        }
    }

    bool atEndOfNeighbours() const { return at_ >= end_ || hasClass(*at_, kEndsNeighbours); }

    Field takeField() {
        const char* start = at_;
        const char* pieceStart = at_;
        while (pieceStart < end_ && hasClass(*pieceStart, kPieceBreak)) {
            ++pieceStart;
        }
        const char* pieceEnd = nullptr;
        at_ = pieceStart;
        while (at_ < end_ && !hasClass(*at_, kFieldEnd)) {
            if (pieceEnd == nullptr && hasClass(*at_, kPieceBreak)) {
                pieceEnd = at_;
            }
            ++at_;
        }
        if (pieceEnd == nullptr) {
            pieceEnd = at_;
        }
        return {{start, static_cast<std::size_t>(at_ - start)},
                {pieceStart, static_cast<std::size_t>(pieceEnd - pieceStart)}};
    }

  private:
    const char* at_;
    const char* end_;
};

double readCoordinate(FieldCursor& cursor, const LinePlace& place) {
    cursor.skipSeparators();
    const Field field = cursor.takeField();
    if (field.text.empty()) {
        throw Failure("too few coordinates" + inPlace(place) + ".");
    }
    if (field.piece.empty()) {
        throw badNumber(field.text, place);
    }
    const double value = parseCoordinate(field.piece);
    if (!std::isfinite(value)) {
        throw Failure("coordinate " + quotedText(field.piece) + inPlace(place) +
                      " is out of range.");
    }
    return value;
}

std::int32_t readNeighbourField(const Field& field, std::int32_t nodeCount,
                                const LinePlace& place) {
    const LeadingInteger number = parseLeadingInteger(field.piece);
    if (field.piece.empty() || number.status == IntegerStatus::missing) {
        throw badNumber(field.text, place);
    }
    // n - 1 is stored, so the smallest 32-bit value does not fit either.
    if (number.status == IntegerStatus::outOfRange || number.value > nodeCount ||
        number.value <= INT32_MIN) {
        throw neighbourOutOfRange(field.piece, place);
    }
    return static_cast<std::int32_t>(number.value - 1);
}

void readNeighbours(FieldCursor& cursor, std::int32_t nodeCount, const LinePlace& place,
                    std::vector<std::int32_t>& pool) {
    for (;;) {
        cursor.skipSeparators();
        if (cursor.atEndOfNeighbours()) {
            return;
        }
        pool.push_back(readNeighbourField(cursor.takeField(), nodeCount, place));
    }
}

} // namespace

Point parseNodeLine(std::string_view line, std::int32_t nodeCount, const LinePlace& place,
                    std::vector<std::int32_t>& pool) {
    const std::size_t runEnd = pool.size();
    Point position;
    if (parsePlainNodeLine(line, nodeCount, position, pool)) {
        return position;
    }
    pool.resize(runEnd);
    return parseGeneralNodeLine(line, nodeCount, place, pool);
}

Point parseGeneralNodeLine(std::string_view line, std::int32_t nodeCount, const LinePlace& place,
                           std::vector<std::int32_t>& pool) {
    FieldCursor cursor(line);
    Point position;
    position.x = readCoordinate(cursor, place);
    position.y = readCoordinate(cursor, place);
    position.z = readCoordinate(cursor, place);
    readNeighbours(cursor, nodeCount, place, pool);
    return position;
}

} // namespace l2v
