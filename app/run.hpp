#pragma once

#include <span>
#include <string_view>

namespace l2v {

// The whole conversion for one command line: options, load, export, release. Throws Failure
// for every refusal and error, std::bad_alloc when memory runs out.
void runConverter(std::span<const std::string_view> words);

} // namespace l2v
