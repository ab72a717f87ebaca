#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace l2v {

// A run-ending refusal or error. The text is the one line the user sees (without its
// newline); `main` prints it on standard output and ends with status 1.
class Failure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Where in a file a message points: " in FILE at line N".
std::string inFileAtLine(const std::string& path, int lineNumber);

// File text quoted in a message: cut short so the message stays one readable line, and
// control characters (which could drive the terminal) shown as "?".
std::string quotedText(std::string_view text);

// A file name or other text shown whole in a message, control characters as "?".
std::string shownText(std::string_view text);

} // namespace l2v
