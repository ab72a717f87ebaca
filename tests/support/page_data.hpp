#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The node table a page's data carries (flag 8): the headers as JSON text and every node's
// cells, name first. Nothing when the data holds no table or is cut short.
struct PageNames {
    std::string headersJson;
    std::vector<std::vector<std::string>> cells; // per node, per column
};

inline std::optional<PageNames> pageNames(const std::string& data) {
    const auto nodes = valueAt<std::uint32_t>(data, 8);
    const auto edges = valueAt<std::uint32_t>(data, 12);
    const auto flags = valueAt<std::uint32_t>(data, 16);
    if ((flags & 8) == 0) {
        return std::nullopt;
    }
    std::size_t at = 24 + 16 * std::size_t{nodes} + 8 * std::size_t{edges};
    if ((flags & 4) != 0) {
        at += 4 * std::size_t{nodes};
        at += 4 + valueAt<std::uint32_t>(data, at);
    }
    const auto word = [&data, &at]() {
        at += (4 - at % 4) % 4;
        const auto value = valueAt<std::uint32_t>(data, at);
        at += 4;
        return value;
    };
    const std::uint32_t columns = word();
    if (word() != 0) {
        return std::nullopt; // the name column comes first
    }
    PageNames names;
    const std::uint32_t headersLength = word();
    names.headersJson = data.substr(at, headersLength);
    at += headersLength;
    const std::uint32_t textLength = word();
    const std::size_t ends = at;
    const std::size_t text = ends + 4 * std::size_t{nodes} * columns;
    if (text + textLength != data.size()) {
        return std::nullopt;
    }
    std::uint32_t begin = 0;
    for (std::size_t node = 0; node < nodes; ++node) {
        names.cells.emplace_back();
        for (std::size_t column = 0; column < columns; ++column) {
            const auto end = valueAt<std::uint32_t>(data, ends + 4 * (node * columns + column));
            names.cells.back().push_back(data.substr(text + begin, end - begin));
            begin = end;
        }
    }
    return names;
}

} // namespace l2v::testing
