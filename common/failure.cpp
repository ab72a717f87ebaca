#include "common/failure.hpp"

namespace l2v {

std::string inFileAtLine(const std::string& path, int lineNumber) {
    return " in " + path + " at line " + std::to_string(lineNumber);
}

std::string quotedText(std::string_view text) {
    constexpr std::size_t kLongest = 64;
    const bool cut = text.size() > kLongest;
    std::size_t length = cut ? kLongest : text.size();
    while (cut && length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
        --length; // keep a UTF-8 character whole
    }
    std::string result(text.substr(0, length));
    for (char& c : result) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 32 || code == 127) {
            c = '?';
        }
    }
    return cut ? result + "..." : result;
}

} // namespace l2v
