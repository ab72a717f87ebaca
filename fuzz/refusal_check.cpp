#include "refusal_check.hpp"

#include "fuzz_check.hpp"

#include <array>
#include <string>

namespace fuzz {
namespace {

// Fixed wording, the short source path of the targets, a line number and at most one quoted
// field of 64 bytes.
constexpr std::size_t kLongestMessage = 256;

bool hasKnownReaderForm(std::string_view message, std::string_view sourcePath) {
    static constexpr std::array<std::string_view, 7> kPrefixes = {
        "no header in ", "bad header in ", "too few coordinates in ", "bad number \"", "neighbour ",
        "coordinate ",   "cannot read ",
    };
    for (const std::string_view prefix : kPrefixes) {
        if (message.starts_with(prefix)) {
            return true;
        }
    }
    const std::string truncated = std::string(sourcePath) + " ends after ";
    return message.starts_with(truncated);
}

bool isFitRefusal(std::string_view message, std::string_view sourcePath) {
    return message == "coordinates in " + std::string(sourcePath) + " are too far apart to fit.";
}

} // namespace

void checkOneLine(std::string_view message) {
    require(!message.empty(), "refusal message is empty");
    require(message.find('\n') == std::string_view::npos, "refusal message spans lines", message);
    require(message.back() == '.', "refusal message does not end in a full stop", message);
    // Text quoted from the file is cut short and never carries control characters, which
    // could drive the user's terminal.
    require(message.size() <= kLongestMessage, "refusal message too long", message);
    for (const char c : message) {
        const auto code = static_cast<unsigned char>(c);
        require(code >= 32 && code != 127, "control character in refusal message", message);
    }
}

void checkReaderRefusal(std::string_view message, std::string_view sourcePath) {
    checkOneLine(message);
    require(hasKnownReaderForm(message, sourcePath), "unknown reader message", message);
}

void checkConvertRefusal(std::string_view message, std::string_view sourcePath) {
    checkOneLine(message);
    require(hasKnownReaderForm(message, sourcePath) || isFitRefusal(message, sourcePath),
            "unknown conversion message", message);
}

} // namespace fuzz
