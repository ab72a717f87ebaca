#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace l2v {

// The most bytes the inside of a VRML string takes for `length` bytes of text.
constexpr std::size_t vrmlStringRoom(std::size_t length) {
    return 2 * length;
}

// `text` as the inside of a VRML string, written at `out`: '"' and '\' take a backslash
// before them, every other byte stands as it is (a string may span lines). Returns the end.
char* writeVrmlStringText(char* out, std::string_view text);

// The same as a string.
std::string vrmlStringText(std::string_view text);

} // namespace l2v
