#include "number_text.hpp"

#include <cstdio>

namespace fuzz {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string referenceFixed(double value) {
    if (value == 0.0) {
        return "0.000000";
    }
    char text[400];
    const int length = std::snprintf(text, sizeof text, "%f", value);
    return {text, static_cast<std::size_t>(length)};
}

bool hasFixedShape(std::string_view text) {
    if (text.starts_with('-')) {
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    if (point == 0 || point == std::string_view::npos || text.size() - point != 7) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i != point && !isDigit(text[i])) {
            return false;
        }
    }
    // No leading zeros before the point, as "%f" never writes them.
    return point == 1 || text[0] != '0';
}

} // namespace fuzz
