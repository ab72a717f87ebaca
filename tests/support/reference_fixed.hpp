#pragma once

#include <cstdio>
#include <string>

namespace l2v::testing {

// The oracle for the scene's numbers: the text C's "%f" gives for `value`, except that a zero
// of either sign reads 0.000000.
inline std::string referenceFixed(double value) {
    if (value == 0.0) {
        return "0.000000";
    }
    char text[400]; // room for the largest double in fixed notation
    const int length = std::snprintf(text, sizeof text, "%f", value);
    return {text, static_cast<std::size_t>(length)};
}

} // namespace l2v::testing
