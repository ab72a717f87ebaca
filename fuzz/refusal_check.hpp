#pragma once

#include <string_view>

namespace fuzz {

// A refusal message is one non-empty line, without its newline.
void checkOneLine(std::string_view message);

// Checks a refusal from reading a layout named `sourcePath`: one line, in one of the reader's
// message forms.
void checkReaderRefusal(std::string_view message, std::string_view sourcePath);

// Like checkReaderRefusal, and also admits the refusal of a layout that cannot be fitted.
void checkConvertRefusal(std::string_view message, std::string_view sourcePath);

} // namespace fuzz
