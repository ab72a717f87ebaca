// Feeds a node table to its reader. The first byte's two low bits choose the form (CSV, TSV,
// a list of names; CSV again) and its six high bits the layout's node count less one; the
// rest is the file. Every input is either refused with a one-line message of a known form or
// gives a table of one row per node with UTF-8 cells; a CSV table, written again as RFC 4180
// (quoting every cell or only where needed, lines ending in LF or CR LF), reads back the same.
#include "common/failure.hpp"
#include "fuzz_check.hpp"
#include "layout/node_table_reader.hpp"
#include "names_check.hpp"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using l2v::TableForm;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct Writing {
    bool quoteAll;
    std::string_view lineEnd;
};

void addCell(std::string& csv, std::string_view cell, const Writing& writing) {
    if (!writing.quoteAll && cell.find_first_of(",\"\r\n") == std::string_view::npos) {
        csv += cell;
        return;
    }
    csv += '"';
    for (const char c : cell) {
        csv += c;
        if (c == '"') {
            csv += '"';
        }
    }
    csv += '"';
}

// The table as RFC 4180: a byte-order mark (so a first header that starts with one keeps it),
// a "node" column first when the rows named their nodes, then the columns in their order.
std::string csvOf(const l2v::NodeTable& table, std::uint32_t nodeCount, const Writing& writing) {
    const bool nodeColumn = !table.rowOfNode.empty();
    std::vector<std::uint32_t> nodeOfRow(nodeCount);
    for (std::uint32_t node = 0; node < nodeCount && nodeColumn; ++node) {
        nodeOfRow[table.rowOfNode[node]] = node;
    }
    std::string csv(kByteOrderMark);
    auto addRow = [&](auto&& cellOf, std::string_view node) {
        if (nodeColumn) {
            addCell(csv, node, writing);
        }
        for (std::size_t column = 0; column < table.columnCount(); ++column) {
            if (nodeColumn || column > 0) {
                csv += ',';
            }
            addCell(csv, cellOf(column), writing);
        }
        csv += writing.lineEnd;
    };
    addRow([&](std::size_t column) { return std::string_view(table.headers[column]); }, "node");
    std::uint32_t begin = 0;
    for (std::uint32_t row = 0; row < nodeCount; ++row) {
        const std::string node = std::to_string(nodeOfRow[row] + 1);
        addRow(
            [&](std::size_t column) {
                const std::uint32_t end = table.cellEnds[row * table.columnCount() + column];
                const std::string_view cell =
                    std::string_view(table.text).substr(begin, end - begin);
                begin = end;
                return cell;
            },
            node);
    }
    return csv;
}

void checkRoundTrip(const l2v::NodeTable& table, std::uint32_t nodeCount, const Writing& writing,
                    const std::string& path) {
    const std::string csv = csvOf(table, nodeCount, writing);
    l2v::NodeTable again;
    try {
        again = l2v::parseNodeTable(csv, TableForm::csv, path, nodeCount);
    } catch (const l2v::Failure& failure) {
        fuzz::fail("names: the table written again as CSV is refused", failure.what());
    }
    fuzz::require(again.headers == table.headers && again.nameColumn == table.nameColumn,
                  "names: headers differ after writing the table again", csv);
    fuzz::require(again.text == table.text && again.cellEnds == table.cellEnds,
                  "names: cells differ after writing the table again", csv);
    fuzz::require(again.rowOfNode == table.rowOfNode,
                  "names: rows of nodes differ after writing the table again", csv);
}

} // namespace

// libFuzzer calls the target by this name.
// NOLINTNEXTLINE(readability-identifier-naming)
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    static const std::string kPaths[] = {"fuzz.csv", "fuzz.tsv", "fuzz.txt", "fuzz.CSV"};
    const std::string& path = kPaths[data[0] & 3];
    const TableForm form = l2v::tableFormOf(path);
    const std::uint32_t nodeCount = (data[0] >> 2) + 1U;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    l2v::NodeTable table;
    try {
        table = l2v::parseNodeTable(bytes, form, path, nodeCount);
    } catch (const l2v::Failure& failure) {
        fuzz::checkNamesRefusal(failure.what(), bytes, form, path);
        return 0;
    }
    fuzz::checkNodeTable(table, form, nodeCount);
    fuzz::require(table.sourceName == path, "names: source name is not the file's name");
    if (form == TableForm::csv) {
        // The writing varies with the input's length, so each input is written one way.
        checkRoundTrip(table, nodeCount, {(size & 1) != 0, (size & 2) != 0 ? "\r\n" : "\n"}, path);
    }
    return 0;
}
