#include "html_check.hpp"

#include "fuzz_check.hpp"
#include "scene/scene_walk.hpp"
#include "tests/support/page_data.hpp"

#include <cmath>
#include <cstdint>
#include <string>

namespace fuzz {
namespace {

using l2v::testing::valueAt;

std::string pageData(std::string_view page) {
    const auto data = l2v::testing::pageData(page);
    require(data.has_value(), "html: no data element, or its data is not base64");
    return *data;
}

} // namespace

void checkHtml(std::string_view page, const l2v::Layout& layout) {
    require(page.starts_with("<!DOCTYPE html>\n") && page.ends_with("</html>\n"), "html: frame");
    const std::string data = pageData(page);
    require(data.size() >= 24 && data.substr(0, 4) == "L2VG" &&
                valueAt<std::uint32_t>(data, 4) == 1,
            "html: data header");
    const auto nodes = valueAt<std::uint32_t>(data, 8);
    const auto edges = valueAt<std::uint32_t>(data, 12);
    require(nodes == static_cast<std::uint32_t>(layout.nodeCount), "html: node count");
    require(edges == l2v::countDrawnEdges(layout), "html: edge count");
    require(data.size() == 24 + 16 * std::size_t{nodes} + 8 * std::size_t{edges},
            "html: data size");
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
