#pragma once

#include <algorithm>
#include <string_view>

namespace l2v {

// ASCII letters folded to lower case; file names, extensions and headers compare this way
// whatever the locale.
constexpr char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool equalsInAnyCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return asciiLower(x) == asciiLower(y);
           });
}

constexpr bool endsWithInAnyCase(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && equalsInAnyCase(text.substr(text.size() - end.size()), end);
}

} // namespace l2v
