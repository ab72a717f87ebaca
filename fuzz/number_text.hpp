#pragma once

#include "tests/support/reference_fixed.hpp"

#include <string_view>

namespace fuzz {

using l2v::testing::referenceFixed;

// True when `text` has the shape of a "%f" number: an optional "-", digits, ".", six digits.
bool hasFixedShape(std::string_view text);

} // namespace fuzz
