#include "layout/node_table_reader.hpp"

#include "common/failure.hpp"
#include "common/file_name.hpp"
#include "common/text_case.hpp"
#include "layout/byte_source.hpp"
#include "layout/delimited_text.hpp"

#include <algorithm>
#include <charconv>
#include <limits>

namespace l2v {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kNoColumn = std::numeric_limits<std::size_t>::max();
constexpr std::uint32_t kNoRow = std::numeric_limits<std::uint32_t>::max();
// Cell ends are 32-bit offsets.
constexpr std::uint64_t kLargestTable = std::numeric_limits<std::uint32_t>::max();

std::string readWholeFile(const std::string& path) {
    try {
        FileSource file(path);
        // One byte beyond the size, so the read that finds the end needs no more room.
        std::string bytes(static_cast<std::size_t>(file.sizeHint().value_or(0)) + 1, '\0');
        std::size_t used = 0;
        for (;;) {
            if (used == bytes.size()) {
                bytes.resize(std::max<std::size_t>(2 * bytes.size(), 1 << 16));
            }
            const std::size_t count = file.read(bytes.data() + used, bytes.size() - used);
            if (count == 0) {
                break;
            }
            used += count;
        }
        bytes.resize(used);
        return bytes;
    } catch (const Failure&) {
        throw Failure("cannot read names file " + shownText(path) + ".");
    }
}

// Which column plays which part, from the header.
struct ColumnRoles {
    std::size_t node = kNoColumn;
    std::size_t name = kNoColumn; // among all columns
};

ColumnRoles rolesOf(const std::vector<std::string>& headers) {
    ColumnRoles roles;
    for (std::size_t column = 0; column < headers.size(); ++column) {
        if (roles.node == kNoColumn && equalsInAnyCase(headers[column], "node")) {
            roles.node = column;
        } else if (roles.name == kNoColumn && (equalsInAnyCase(headers[column], "name") ||
                                               equalsInAnyCase(headers[column], "label"))) {
            roles.name = column;
        }
    }
    if (roles.name == kNoColumn) {
        roles.name = roles.node == 0 ? 1 : 0;
    }
    return roles;
}

class TableParser {
  public:
    TableParser(std::string& bytes, TableForm form, const std::string& path,
                std::uint32_t nodeCount)
        : bytes_(bytes), text_(bytes, bytes.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0,
                               form == TableForm::csv   ? ','
                               : form == TableForm::tsv ? '\t'
                                                        : -1,
                               form == TableForm::csv, path),
          path_(path), nodeCount_(nodeCount) {}

    NodeTable parse(TableForm form) {
        NodeTable table;
        table.sourceName = fileNameOf(path_);
        std::vector<std::string> headers =
            form == TableForm::nameList ? std::vector<std::string>{""} : readHeader();
        const ColumnRoles roles = rolesOf(headers);
        if (roles.name >= headers.size()) {
            throw Failure("node table " + shownText(path_) + " has no column besides node.");
        }
        nodeColumn_ = roles.node;
        for (std::size_t column = 0; column < headers.size(); ++column) {
            if (column != roles.node) {
                table.headers.push_back(std::move(headers[column]));
            }
        }
        table.nameColumn = roles.name - (roles.name > roles.node ? 1 : 0);
        columns_ = headers.size();
        readRows(table, form);
        bytes_.resize(text_.keptLength());
        table.text = std::move(bytes_);
        return table;
    }

  private:
    std::vector<std::string> readHeader() {
        if (text_.atEnd()) {
            throw Failure("node table " + shownText(path_) + " has no header row.");
        }
        std::vector<std::string> headers;
        std::size_t begin = 0;
        bool endOfRow = false;
        while (!endOfRow) {
            endOfRow = text_.field(true);
            headers.emplace_back(bytes_, begin, text_.keptLength() - begin);
            begin = text_.keptLength();
        }
        text_.truncateKept(0);
        return headers;
    }

    const char* rowWord(TableForm form) const {
        return form == TableForm::nameList ? "names" : "rows";
    }

    void readRows(NodeTable& table, TableForm form) {
        table.cellEnds.reserve(std::size_t{nodeCount_} * table.headers.size());
        if (nodeColumn_ != kNoColumn) {
            table.rowOfNode.assign(nodeCount_, kNoRow);
        }
        std::uint32_t rows = 0;
        while (!text_.atEnd()) {
            const int line = text_.lineNumber();
            if (rows == nodeCount_) {
                throw Failure("more " + std::string(rowWord(form)) + " than the layout's " +
                              std::to_string(nodeCount_) + " nodes" + inFileAtLine(path_, line) +
                              ".");
            }
            readRow(table, rows, line);
            ++rows;
        }
        if (rows != nodeCount_) {
            throw Failure(shownText(path_) + " ends after " + std::to_string(rows) + " of " +
                          std::to_string(nodeCount_) + " " + rowWord(form) + " at line " +
                          std::to_string(text_.lineNumber()) + ".");
        }
    }

    void readRow(NodeTable& table, std::uint32_t row, int line) {
        for (std::size_t column = 0; column < columns_; ++column) {
            const std::size_t before = text_.keptLength();
            const bool endOfRow = text_.field(true);
            if (column == nodeColumn_) {
                placeRow(table, row,
                         std::string_view(bytes_).substr(before, text_.keptLength() - before),
                         line);
                text_.truncateKept(before);
            } else {
                table.cellEnds.push_back(static_cast<std::uint32_t>(text_.keptLength()));
            }
            if (endOfRow != (column + 1 == columns_)) {
                throw Failure("row of " + std::string(endOfRow ? "fewer" : "more") +
                              " fields than the header's " + std::to_string(columns_) +
                              inFileAtLine(path_, line) + ".");
            }
        }
    }

    void placeRow(NodeTable& table, std::uint32_t row, std::string_view text, int line) {
        std::uint64_t node = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), node);
        if (error != std::errc() || end != text.data() + text.size() || node < 1 ||
            node > nodeCount_) {
            throw Failure("node " + quotedText(text) + " is not one of the layout's 1 to " +
                          std::to_string(nodeCount_) + inFileAtLine(path_, line) + ".");
        }
        std::uint32_t& slot = table.rowOfNode[node - 1];
        if (slot != kNoRow) {
            throw Failure("node " + std::to_string(node) + " repeats" + inFileAtLine(path_, line) +
                          ".");
        }
        slot = row;
    }

    std::string& bytes_;
    DelimitedText text_;
    const std::string& path_;
    std::uint32_t nodeCount_;
    std::size_t nodeColumn_ = kNoColumn;
    std::size_t columns_ = 0;
};

} // namespace

TableForm tableFormOf(std::string_view path) {
    if (endsWithInAnyCase(path, ".csv")) {
        return TableForm::csv;
    }
    if (endsWithInAnyCase(path, ".tsv")) {
        return TableForm::tsv;
    }
    return TableForm::nameList;
}

NodeTable parseNodeTable(std::string bytes, TableForm form, const std::string& path,
                         std::uint32_t nodeCount) {
    if (bytes.size() > kLargestTable) {
        throw Failure("node table " + shownText(path) + " is larger than 4 GiB.");
    }
    checkUtf8(bytes, bytes.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0, path);
    return TableParser(bytes, form, path, nodeCount).parse(form);
}

NodeTable readNodeTable(const std::string& path, std::uint32_t nodeCount) {
    return parseNodeTable(readWholeFile(path), tableFormOf(path), path, nodeCount);
}

} // namespace l2v
