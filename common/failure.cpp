#include "common/failure.hpp"

namespace l2v {

std::string inFileAtLine(const std::string& path, int lineNumber) {
    return " in " + shownText(path) + " at line " + std::to_string(lineNumber);
}

std::string shownText(std::string_view text) {
    std::string shown(text);
    for (char& c : shown) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 32 || code == 127) {
            c = '?';
        }
    }
    return shown;
}

std::string quotedText(std::string_view text) {
    constexpr std::size_t kLongest = 64;
    const bool cut = text.size() > kLongest;
    std::size_t length = cut ? kLongest : text.size();
    while (cut && length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
        --length; // keep a UTF-8 character whole
    }
    const std::string result = shownText(text.substr(0, length));
    return cut ? result + "..." : result;
}

} // namespace l2v
