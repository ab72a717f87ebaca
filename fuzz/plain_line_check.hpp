#pragma once

#include <string_view>

namespace fuzz {

// Checks the quick path for plain node lines against the general parser on each line of
// `bytes`: whatever the quick path accepts, the general parser must read to the same bits.
void checkPlainLinesAgree(std::string_view bytes);

} // namespace fuzz
