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

// The decoded text of the page's data element `id`; nothing when the element is missing or
// not base64.
inline std::optional<std::string> dataElement(std::string_view page, std::string_view id) {
    const std::string open =
        R"(<script type="application/octet-stream" id=")" + std::string(id) + "\">";
    const std::size_t start = page.find(open);
    const std::size_t end = start == std::string_view::npos ? start : page.find("</script>", start);
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    return decodeBase64(page.substr(start + open.size(), end - start - open.size()));
}

// The scene data of a converter's web page.
inline std::optional<std::string> pageData(std::string_view page) {
    return dataElement(page, "scene-data");
}

// The little-endian value of type T at `offset` of `bytes`.
template <class T> T valueAt(const std::string& bytes, std::size_t offset) {
    T value{};
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

// The node table of a named page: the headers as JSON text and every node's cells, name
// first. Nothing when the page has no names block or it is damaged.
struct PageNames {
    std::string headersJson;
    std::vector<std::vector<std::string>> cells; // per node, per column
};

inline std::optional<PageNames> pageNames(std::string_view page, std::uint32_t nodes) {
    const auto block = dataElement(page, "names-data");
    if (!block || block->size() < 12 || valueAt<std::uint32_t>(*block, 4) != 0) {
        return std::nullopt;
    }
    const auto columns = valueAt<std::uint32_t>(*block, 0);
    const auto headersLength = valueAt<std::uint32_t>(*block, 8);
    PageNames names;
    names.headersJson = block->substr(12, headersLength);
    std::size_t at = 12 + std::size_t{headersLength};
    std::vector<std::size_t> lengths;
    for (std::size_t cell = 0; cell < std::size_t{nodes} * columns; ++cell) {
        std::size_t length = 0;
        for (int shift = 0; at < block->size(); shift += 7) {
            const auto byte = static_cast<unsigned char>((*block)[at++]);
            length |= std::size_t{byte & 0x7FU} << shift;
            if ((byte & 0x80U) == 0) {
                break;
            }
        }
        lengths.push_back(length);
    }
    for (std::size_t node = 0; node < nodes; ++node) {
        names.cells.emplace_back();
        for (std::size_t column = 0; column < columns; ++column) {
            const std::size_t length = lengths[node * columns + column];
            if (at + length > block->size()) {
                return std::nullopt;
            }
            names.cells.back().push_back(block->substr(at, length));
            at += length;
        }
    }
    if (at != block->size()) {
        return std::nullopt;
    }
    return names;
}

} // namespace l2v::testing
