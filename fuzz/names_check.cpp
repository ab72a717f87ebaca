#include "names_check.hpp"

#include "fuzz_check.hpp"
#include "refusal_check.hpp"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace fuzz {
namespace {

using l2v::TableForm;

// How a refusal starts, and for which forms of file it may come.
struct RefusalForm {
    std::string_view start;
    bool csv;
    bool tsv;
    bool list;
};

constexpr std::array<RefusalForm, 12> kRefusals = {{
    {"node table ", true, true, false}, // "has no header row", "has no column besides node"
    {"more rows than the layout's ", true, true, false},
    {"more names than the layout's ", false, false, true},
    {"row of fewer fields than the header's ", true, true, false},
    {"row of more fields than the header's ", true, true, false},
    {"node ", true, true, false}, // "is not one of the layout's", "repeats"
    {"unterminated quote in ", true, false, false},
    {"text after a closing quote in ", true, false, false},
    {"bytes that are not UTF-8 in ", true, true, true},
    {"", true, true, false},  // "<file> ends after k of n rows at line L."
    {"", false, false, true}, // "<file> ends after k of n names at line L."
    {"cannot read names file ", false, false, false},
}};

bool formAllows(const RefusalForm& refusal, TableForm form) {
    return form == TableForm::csv   ? refusal.csv
           : form == TableForm::tsv ? refusal.tsv
                                    : refusal.list;
}

// The line a message names at its end (" at line L."), or 0.
long namedLine(std::string_view message) {
    constexpr std::string_view kAtLine = " at line ";
    const std::size_t at = message.rfind(kAtLine);
    if (at == std::string_view::npos) {
        return 0;
    }
    const std::string_view digits = message.substr(at + kAtLine.size());
    long line = 0;
    for (std::size_t i = 0; i + 1 < digits.size(); ++i) {
        if (digits[i] < '0' || digits[i] > '9' || line > 1000000) {
            return 0;
        }
        line = line * 10 + (digits[i] - '0');
    }
    return line;
}

std::size_t utf8Length(const unsigned char* at, std::size_t left) {
    const unsigned lead = at[0];
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xC0 ? 0
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF8 ? 4
                                             : 0;
    if (length == 0 || length > left) {
        return 0;
    }
    std::uint32_t point = length == 1 ? lead : lead & (0x7FU >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((at[i] & 0xC0) != 0x80) {
            return 0;
        }
        point = point << 6 | (at[i] & 0x3FU);
    }
    constexpr std::array<std::uint32_t, 5> kSmallest = {0, 0, 0x80, 0x800, 0x10000};
    const bool fits =
        point >= kSmallest[length] && point <= 0x10FFFF && (point < 0xD800 || point > 0xDFFF);
    return fits ? length : 0;
}

} // namespace

bool isUtf8(std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t length = utf8Length(bytes + at, text.size() - at);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

void checkNamesRefusal(std::string_view message, std::string_view bytes, TableForm form,
                       std::string_view path) {
    checkOneLine(message);
    const std::string file(path);
    const bool known = std::any_of(kRefusals.begin(), kRefusals.end(), [&](const RefusalForm& r) {
        if (!formAllows(r, form)) {
            return false;
        }
        if (!r.start.empty()) {
            return message.starts_with(r.start);
        }
        return message.starts_with(file + " ends after ");
    });
    require(known, "unknown or misplaced names refusal", message);
    require(message.find(file) != std::string_view::npos, "names refusal does not name the file",
            message);
    if (message.starts_with("node table ")) {
        return; // about the file as a whole
    }
    const long lines = static_cast<long>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
    const long line = namedLine(message);
    require(line >= 1 && line <= lines, "names refusal names no line of the file", message);
}

void checkNodeTable(const l2v::NodeTable& table, TableForm form, std::uint32_t nodeCount) {
    const std::size_t columns = table.columnCount();
    require(table.present() && table.nameColumn < columns, "names: no name column");
    if (form == TableForm::nameList) {
        require(columns == 1 && table.headers[0].empty() && table.rowOfNode.empty(),
                "names: a list read as a table");
    }
    for (const std::string& header : table.headers) {
        require(isUtf8(header), "names: a header is not UTF-8", header);
    }
    require(table.cellEnds.size() == std::size_t{nodeCount} * columns,
            "names: rows do not number the nodes");
    std::uint32_t begin = 0;
    for (const std::uint32_t end : table.cellEnds) {
        require(end >= begin && end <= table.text.size(), "names: cells out of order");
        const std::string_view cell = std::string_view(table.text).substr(begin, end - begin);
        require(isUtf8(cell), "names: a cell is not UTF-8", cell);
        require(form == TableForm::csv || cell.find('\n') == std::string_view::npos,
                "names: an unquoted cell spans lines", cell);
        require(form != TableForm::tsv || cell.find('\t') == std::string_view::npos,
                "names: a TSV cell holds a tab", cell);
        begin = end;
    }
    require(begin == table.text.size(), "names: text beyond the last cell");
    if (!table.rowOfNode.empty()) {
        require(table.rowOfNode.size() == nodeCount, "names: row of node table size");
        std::vector<bool> seen(nodeCount, false);
        for (const std::uint32_t row : table.rowOfNode) {
            require(row < nodeCount && !seen[row], "names: rows of nodes are no permutation");
            seen[row] = true;
        }
    }
}

std::string shownName(const l2v::NodeTable& names, std::uint32_t node) {
    const std::string_view name = names.present() ? names.name(node) : std::string_view{};
    return name.empty() ? std::to_string(node) : std::string(name);
}

} // namespace fuzz
