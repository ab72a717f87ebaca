#pragma once

#include <string>
#include <string_view>

namespace l2v {

// The last component of `path`: what outputs call an input by, so that a shared scene does
// not tell where its files lay on the author's disk.
std::string_view fileNameOf(std::string_view path);

} // namespace l2v
