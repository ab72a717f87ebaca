#pragma once

#include <span>
#include <string>
#include <string_view>

namespace l2v {

// The whole conversion for one command line: options, load, export, release. Returns what to
// print on standard output: nothing after a conversion, the usage or the version text when
// the command line asks for it. Throws Failure for every refusal and error, std::bad_alloc
// when memory runs out.
std::string runConverter(std::span<const std::string_view> words);

} // namespace l2v
