#include "number_text.hpp"

namespace fuzz {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

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
