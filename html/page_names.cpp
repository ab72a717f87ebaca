#include "html/page_names.hpp"

#include "output/json_writer.hpp"

#include <array>
#include <vector>

namespace l2v {
namespace {

std::vector<std::size_t> pageColumns(const NodeTable& names) {
    std::vector<std::size_t> columns{names.nameColumn};
    for (std::size_t column = 0; column < names.columnCount(); ++column) {
        if (column != names.nameColumn) {
            columns.push_back(column);
        }
    }
    return columns;
}

template <class Out> void writeHeaders(JsonWriter<Out>& json, const NodeTable& names) {
    json.beginArray();
    for (const std::size_t column : pageColumns(names)) {
        json.string(names.headers[column]);
    }
    json.endArray();
}

std::uint64_t headersLength(const NodeTable& names) {
    JsonMeasure measure;
    JsonWriter<JsonMeasure> json(measure);
    writeHeaders(json, names);
    return measure.length();
}

// A cell's length in seven-bit groups, lowest first, the high bit set on all but the last: one
// byte for nearly every cell, where a 32-bit end would take four.
constexpr std::size_t kLongestLength = 5;

std::size_t writeLength(std::uint64_t length, std::array<char, kLongestLength>& bytes) {
    std::size_t used = 0;
    do {
        const auto group = static_cast<unsigned char>(length & 0x7F);
        length >>= 7;
        bytes[used++] = static_cast<char>(length > 0 ? group | 0x80 : group);
    } while (length > 0);
    return used;
}

} // namespace

std::uint64_t pageNamesBytes(const NodeTable& names, std::uint32_t nodeCount) {
    std::uint64_t bytes = 12 + headersLength(names);
    std::array<char, kLongestLength> scratch{};
    for (std::uint32_t node = 0; node < nodeCount; ++node) {
        for (std::size_t column = 0; column < names.columnCount(); ++column) {
            const std::string_view cell = names.cell(node, column);
            bytes += writeLength(cell.size(), scratch) + cell.size();
        }
    }
    return bytes;
}

void writePageNames(const NodeTable& names, std::uint32_t nodeCount, Base64Stream& data) {
    const std::vector<std::size_t> columns = pageColumns(names);
    data.putWord(static_cast<std::uint32_t>(columns.size()));
    data.putWord(0);
    data.putWord(static_cast<std::uint32_t>(headersLength(names)));
    {
        Base64Text text(data);
        JsonWriter<Base64Text> json(text);
        writeHeaders(json, names);
    }
    std::array<char, kLongestLength> length{};
    for (std::uint32_t node = 0; node < nodeCount; ++node) {
        for (const std::size_t column : columns) {
            data.putBytes(length.data(), writeLength(names.cell(node, column).size(), length));
        }
    }
    for (std::uint32_t node = 0; node < nodeCount; ++node) {
        for (const std::size_t column : columns) {
            const std::string_view cell = names.cell(node, column);
            data.putBytes(cell.data(), cell.size());
        }
    }
}

} // namespace l2v
