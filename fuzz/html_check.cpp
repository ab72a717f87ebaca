#include "html_check.hpp"

#include "fuzz_check.hpp"
#include "json_text.hpp"
#include "scene/scene_walk.hpp"
#include "tests/support/page_data.hpp"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {
namespace {

using l2v::testing::valueAt;

std::string pageData(std::string_view page) {
    const auto data = l2v::testing::pageData(page);
    require(data.has_value(), "html: no data element, or its data is not base64");
    return *data;
}

// The columns in the page's order: the name column first, then the others as in the table.
std::vector<std::size_t> pageOrder(const l2v::NodeTable& names) {
    std::vector<std::size_t> columns{names.nameColumn};
    for (std::size_t column = 0; column < names.columnCount(); ++column) {
        if (column != names.nameColumn) {
            columns.push_back(column);
        }
    }
    return columns;
}

void checkPageNames(std::string_view page, const l2v::Layout& layout, const l2v::NodeTable& names) {
    const auto table = l2v::testing::pageNames(page, static_cast<std::uint32_t>(layout.nodeCount));
    require(table.has_value(), "html: the node table does not read back");
    const std::vector<std::size_t> columns = pageOrder(names);
    const std::optional<JsonValue> headers = parseJson(table->headersJson);
    require(headers.has_value() && headers->kind == JsonValue::Kind::array &&
                headers->items.size() == columns.size(),
            "html: headers are not a JSON array of one per column", table->headersJson);
    for (std::size_t k = 0; k < columns.size(); ++k) {
        require(headers->items[k].text == names.headers[columns[k]], "html: a header differs",
                names.headers[columns[k]]);
    }
    require(table->cells.size() == static_cast<std::size_t>(layout.nodeCount),
            "html: node table rows");
    for (std::uint32_t node = 0; node < table->cells.size(); ++node) {
        require(table->cells[node].size() == columns.size(), "html: node table columns");
        for (std::size_t k = 0; k < columns.size(); ++k) {
            require(table->cells[node][k] == names.cell(node, columns[k]), "html: a cell differs",
                    table->cells[node][k]);
        }
    }
}

} // namespace

void checkHtml(std::string_view page, const l2v::Layout& layout, const l2v::NodeTable& names) {
    require(page.starts_with("<!DOCTYPE html>\n") && page.ends_with("</html>\n"), "html: frame");
    const std::string data = pageData(page);
    require(data.size() >= 24 && data.substr(0, 4) == "L2VG" &&
                valueAt<std::uint32_t>(data, 4) == 1,
            "html: data header");
    const auto nodes = valueAt<std::uint32_t>(data, 8);
    const auto edges = valueAt<std::uint32_t>(data, 12);
    require(nodes == static_cast<std::uint32_t>(layout.nodeCount), "html: node count");
    require(edges == l2v::countDrawnEdges(layout), "html: edge count");
    const std::size_t sceneSize = 24 + 16 * std::size_t{nodes} + 8 * std::size_t{edges};
    const auto flags = valueAt<std::uint32_t>(data, 16);
    require(((flags & 8) != 0) == names.present(), "html: named flag");
    // The names are a block of their own: the scene's data is as without them.
    require(data.size() == sceneSize, "html: data size");
    if (names.present()) {
        checkPageNames(page, layout, names);
    } else {
        require(!l2v::testing::pageNames(page, nodes).has_value(), "html: names without a table");
    }
    for (std::size_t i = 0; i < 3 * std::size_t{nodes}; ++i) {
        require(std::isfinite(valueAt<float>(data, 24 + 4 * i)), "html: position not finite");
    }
    const std::size_t counts = 24 + 12 * std::size_t{nodes};
    for (std::size_t i = 0; i < nodes; ++i) {
        require(valueAt<std::uint32_t>(data, counts + 4 * i) ==
                    static_cast<std::uint32_t>(layout.nodes[i].count),
                "html: run length");
    }
    const std::size_t pairs = counts + 4 * std::size_t{nodes};
    for (std::size_t k = 0; k < edges; ++k) {
        const auto from = valueAt<std::uint32_t>(data, pairs + 8 * k);
        const auto to = valueAt<std::uint32_t>(data, pairs + 8 * k + 4);
        require(from < to && to < nodes, "html: edge ends");
    }
}

} // namespace fuzz
