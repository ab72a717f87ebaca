#pragma once

#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace l2v::testing {

// Standard base64 (with '=' padding) decoded, or nothing when a character is not base64 or the
// length is not a multiple of four.
inline std::optional<std::string> decodeBase64(std::string_view text) {
    constexpr std::string_view kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    if (text.size() % 4 != 0) {
        return std::nullopt;
    }
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3);
    unsigned bits = 0;
    int pending = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '=') {
            return text.size() - i <= 2 ? std::optional(bytes) : std::nullopt;
        }
        const std::size_t value = kAlphabet.find(text[i]);
        if (value == std::string_view::npos) {
            return std::nullopt;
        }
        bits = (bits << 6 | static_cast<unsigned>(value)) & 0xFFFFFF;
        pending += 6;
        if (pending >= 8) {
            pending -= 8;
            bytes += static_cast<char>(bits >> pending & 0xFF);
        }
    }
    return bytes;
}

// The scene data of a converter's web page: the text of its data element, decoded; nothing
// when the element is missing or not base64.
inline std::optional<std::string> pageData(std::string_view page) {
    constexpr std::string_view kOpen =
        R"(<script type="application/octet-stream" id="scene-data">)";
    const std::size_t start = page.find(kOpen);
    const std::size_t end = start == std::string_view::npos ? start : page.find("</script>", start);
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    return decodeBase64(page.substr(start + kOpen.size(), end - start - kOpen.size()));
}

// The little-endian value of type T at `offset` of `bytes`.
template <class T> T valueAt(const std::string& bytes, std::size_t offset) {
    T value{};
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

} // namespace l2v::testing
