#include "common/failure.hpp"
#include "common/text_case.hpp"
#include "scene/colouring.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace l2v {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::int64_t kNoValue = -1;

std::size_t columnNamed(const NodeTable& table, const std::string& column) {
    for (std::size_t at = 0; at < table.columnCount() && !column.empty(); ++at) {
        if (equalsInAnyCase(table.headers[at], column)) {
            return at;
        }
    }
    throw Failure("no column " + quotedText(column) + " in node table " +
                  shownText(table.sourceName) + ".");
}

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// A finite number, or NaN when `text` is empty or not a number.
double numberIn(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return value;
}

// Every node's value as a number, or nothing when a value given is not one.
std::optional<std::vector<double>> numbersOf(const NodeTable& table, std::size_t column,
                                             std::uint32_t nodeCount) {
    std::vector<double> numbers(nodeCount);
    bool any = false;
    for (std::uint32_t node = 0; node < nodeCount; ++node) {
        const std::string_view text = trimmed(table.cell(node, column));
        numbers[node] = numberIn(text);
        if (!text.empty() && std::isnan(numbers[node])) {
            return std::nullopt;
        }
        any = any || !text.empty();
    }
    if (!any) {
        return std::nullopt;
    }
    return numbers;
}

// Six significant digits, as a legend shows a value of the map.
std::string shortNumber(double value) {
    char text[32];
    const auto [end, error] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6);
    return error == std::errc() ? std::string(text, end) : std::string("?");
}

Colouring colourByNumbers(const std::vector<double>& numbers, std::string title,
                          const std::string& header) {
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const double value : numbers) {
        if (!std::isnan(value)) {
            low = std::min(low, value);
            high = std::max(high, value);
        }
    }
    const double span = high - low;
    std::vector<double> positions;
    positions.reserve(numbers.size());
    for (const double value : numbers) {
        if (std::isnan(value)) {
            positions.push_back(value);
        } else {
            positions.push_back(span > 0 ? (value - low) / span : 0.0);
        }
    }
    return colourAlongMap(ColourBy::column, std::move(title), positions,
                          [&](double t) { return header + " " + shortNumber(low + t * span); });
}

Colouring colourByValues(const NodeTable& table, std::size_t column, std::uint32_t nodeCount,
                         std::string title) {
    std::unordered_map<std::string_view, std::int64_t> idOf;
    std::vector<std::string_view> values;
    std::vector<std::int64_t> classes;
    classes.reserve(nodeCount);
    for (std::uint32_t node = 0; node < nodeCount; ++node) {
        const std::string_view value = table.cell(node, column);
        if (value.empty()) {
            classes.push_back(kNoValue);
            continue;
        }
        const auto [at, added] = idOf.try_emplace(value, static_cast<std::int64_t>(values.size()));
        if (added) {
            values.push_back(value);
        }
        classes.push_back(at->second);
    }
    return colourByRankedClasses(
        ColourBy::column, std::move(title), classes,
        [&values](std::int64_t id, std::size_t) {
            return std::string(values[static_cast<std::size_t>(id)]);
        },
        &kNoValue);
}

} // namespace

Colouring colourByColumn(const NodeTable& table, const std::string& column) {
    const std::size_t at = columnNamed(table, column);
    const auto nodeCount = static_cast<std::uint32_t>(
        table.rowOfNode.empty() ? table.cellEnds.size() / table.columnCount()
                                : table.rowOfNode.size());
    std::string title = "colour by " + table.headers[at] + " in " + table.sourceName;
    if (const auto numbers = numbersOf(table, at, nodeCount)) {
        return colourByNumbers(*numbers, std::move(title), table.headers[at]);
    }
    return colourByValues(table, at, nodeCount, std::move(title));
}

} // namespace l2v
