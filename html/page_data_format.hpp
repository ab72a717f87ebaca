#pragma once

#include <cstdint>

// The scene data a page carries, base64-encoded in its "scene-data" element, all little-endian:
// a header of kHeaderWords 32-bit words (kDataMagic, kDataVersion, node count, edge count,
// flags, and the size factor as a 32-bit float when kSizedFlag is set, else 0), the positions as
// 32-bit floats (x, y, z of every node), every node's run length (1 + its references) as a word,
// and the edges as pairs of node indices in the VRML scene's order. When the nodes are coloured
// (kColouredFlag), the second index of an edge whose ends share a class has kSharedClassBit set,
// and two parts follow: every node's colour as red, green, blue and its legend entry (a byte each),
// then the legend as JSON text after its length in bytes: {"colourBy": "...", "legend": [{"label",
// "colour": [r, g, b], "nodes"}, ...]}. When the classes are communities or components
// (kClassNumbersFlag), zero bytes pad the data to a multiple of 4 after the legend, and every
// node's class number (1: the largest) follows as a word. When the nodes are named (kNamedFlag),
// the node table is a second block, in the page's "names-data" element, read after the first frame:
// the column count, the place of the name column among them (0) and the length of the headers' JSON
// array as words, the array, then every cell's length in bytes (node by node, column by column;
// seven bits a byte, lowest first, the high bit set on all but a length's last byte) and the cells'
// text, UTF-8. The viewer checks the magic and the version before it reads on. The build writes
// these values into the viewer's page_values.js (html/write_viewer_values.cpp).
namespace l2v::page {

inline constexpr std::uint32_t kDataMagic = 0x4756324C; // "L2VG"
inline constexpr std::uint32_t kDataVersion = 1;
inline constexpr std::uint32_t kHeaderWords = 6;
inline constexpr std::uint32_t kShowLabelsFlag = 1;
inline constexpr std::uint32_t kShowEdgesFlag = 2;
inline constexpr std::uint32_t kColouredFlag = 4;
inline constexpr std::uint32_t kNamedFlag = 8;
inline constexpr std::uint32_t kClassNumbersFlag = 16;
// -size was given: the file's spheres and cylinders are the fitted ones times the header's factor.
inline constexpr std::uint32_t kSizedFlag = 32;
// Node indices are below 2^31, so an edge end has its top bit free.
inline constexpr std::uint32_t kSharedClassBit = 0x80000000U;

} // namespace l2v::page
