#pragma once

#include <string>
#include <string_view>

namespace fuzz {

// The text C's "%f" gives for `value`, except that a zero of either sign reads 0.000000.
std::string referenceFixed(double value);

// True when `text` has the shape of a "%f" number: an optional "-", digits, ".", six digits.
bool hasFixedShape(std::string_view text);

} // namespace fuzz
