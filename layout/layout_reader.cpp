#include "layout/layout_reader.hpp"

#include "common/failure.hpp"
#include "layout/line_reader.hpp"
#include "layout/node_line.hpp"
#include "layout/number_parse.hpp"

#include <algorithm>

namespace l2v {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::optional<std::int32_t> takeCount(std::string_view& text) {
    std::size_t start = 0;
    while (start < text.size() && isBlank(text[start])) {
        ++start;
    }
    text.remove_prefix(start);
    const LeadingInteger number = parseLeadingInteger(text);
    if (number.status != IntegerStatus::ok) {
        return std::nullopt;
    }
    std::size_t length = (text.front() == '+' || text.front() == '-') ? 1 : 0;
    while (length < text.size() && text[length] >= '0' && text[length] <= '9') {
        ++length;
    }
    text.remove_prefix(length);
    return static_cast<std::int32_t>(number.value);
}

// Reads up to the header line, skipping leading comment lines.
HeaderCounts readHeader(LineReader& lines, const std::string& sourcePath) {
    std::string_view line;
    do {
        if (!lines.next(line)) {
            throw Failure("no header in " + sourcePath + ".");
        }
    } while (!line.empty() && line.front() == '%');
    const std::optional<HeaderCounts> counts = parseHeader(line);
    if (!counts || counts->nodeCount < 1 || counts->edgeCount < 0) {
        throw Failure("bad header" + inFileAtLine(sourcePath, lines.lineNumber()) + ".");
    }
    return *counts;
}

// The shortest node line ("0 0 0" and a newline) takes 6 bytes and every neighbour reference
// at least 2, so a known input size bounds what a header can honestly claim. Without a size,
// the first reservation is capped and the tables grow as lines arrive.
struct Reservation {
    std::size_t nodes;
    std::size_t slots;
};

Reservation reservationFor(const HeaderCounts& counts, std::optional<std::uint64_t> sizeHint) {
    // Without a size (a pipe), the first reservation covers a million nodes of degree 6 at
    // most (28 MiB); a larger layout grows its tables as its lines arrive.
    constexpr std::uint64_t kUnknownSizeNodes = std::uint64_t{1} << 20;
    constexpr std::uint64_t kUnknownSizeSlots = std::uint64_t{1} << 22;
    const std::uint64_t claimedNodes = static_cast<std::uint64_t>(counts.nodeCount);
    const std::uint64_t claimedSlots =
        claimedNodes + 2 * static_cast<std::uint64_t>(counts.edgeCount);
    const std::uint64_t nodeLimit = sizeHint ? *sizeHint / 6 + 1 : kUnknownSizeNodes;
    const std::uint64_t slotLimit = sizeHint ? nodeLimit + *sizeHint / 2 + 1 : kUnknownSizeSlots;
    return {static_cast<std::size_t>(std::min(claimedNodes, nodeLimit)),
            static_cast<std::size_t>(std::min(claimedSlots, slotLimit))};
}

void reserveTables(Layout& layout, const Reservation& reservation) {
    layout.nodes.reserve(reservation.nodes);
    layout.adjacencyPool.reserve(reservation.slots);
    layout.coordinates.x.reserve(reservation.nodes);
    layout.coordinates.y.reserve(reservation.nodes);
    layout.coordinates.z.reserve(reservation.nodes);
}

void readNodeLines(LineReader& lines, Layout& layout) {
    std::vector<std::int32_t>& pool = layout.adjacencyPool;
    for (std::int32_t index = 0; index < layout.nodeCount; ++index) {
        std::string_view line;
        if (!lines.next(line)) {
            throw Failure(layout.sourcePath + " ends after " + std::to_string(index) + " of " +
                          std::to_string(layout.nodeCount) + " node lines.");
        }
        const std::size_t runStart = pool.size();
        pool.push_back(index);
        const LinePlace place{layout.sourcePath, lines.lineNumber()};
        const Point position = parseNodeLine(line, layout.nodeCount, place, pool);
        layout.nodes.push_back(
            NodeEntry{static_cast<std::int32_t>(pool.size() - runStart), nullptr});
        layout.coordinates.x.push_back(position.x);
        layout.coordinates.y.push_back(position.y);
        layout.coordinates.z.push_back(position.z);
    }
}

// The pool may have moved while it grew, so the runs are pointed at only once it is complete.
void linkRuns(Layout& layout) {
    std::int32_t* run = layout.adjacencyPool.data();
    for (NodeEntry& entry : layout.nodes) {
        entry.adjacency = run;
        run += entry.count;
    }
}

} // namespace

std::optional<HeaderCounts> parseHeader(std::string_view line) {
    const std::optional<std::int32_t> nodeCount = takeCount(line);
    if (!nodeCount) {
        return std::nullopt;
    }
    const std::optional<std::int32_t> edgeCount = takeCount(line);
    if (!edgeCount) {
        return std::nullopt;
    }
    return HeaderCounts{*nodeCount, *edgeCount};
}

Layout readLayout(ByteSource& source, const std::string& sourcePath) {
    LineReader lines(source);
    const HeaderCounts counts = readHeader(lines, sourcePath);
    Layout layout;
    layout.sourcePath = sourcePath;
    layout.nodeCount = counts.nodeCount;
    reserveTables(layout, reservationFor(counts, source.sizeHint()));
    readNodeLines(lines, layout);
    linkRuns(layout);
    return layout;
}

Layout loadLayout(const std::string& path) {
    FileSource source(path);
    return readLayout(source, path);
}

} // namespace l2v
