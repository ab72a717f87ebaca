#include "vrml/vrml_string.hpp"

namespace l2v {

char* writeVrmlStringText(char* out, std::string_view text) {
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            *out++ = '\\';
        }
        *out++ = c;
    }
    return out;
}

std::string vrmlStringText(std::string_view text) {
    std::string escaped(vrmlStringRoom(text.size()), '\0');
    escaped.resize(
        static_cast<std::size_t>(writeVrmlStringText(escaped.data(), text) - escaped.data()));
    return escaped;
}

} // namespace l2v
