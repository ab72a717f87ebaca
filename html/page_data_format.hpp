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
// "colour": [r, g, b], "nodes"}, ...]}. When the nodes are named (kNamedFlag), the node table
// follows, each of its words at an offset that is a multiple of 4 (zero bytes pad up to it): the
// column count, the place of the name column among them (0), the length of the headers' JSON array
// and the array, the length of the cells' text, every node's cell ends (node by node, column by
// column, counted from the text's start) and the text, UTF-8. The viewer checks the magic and the
// version before it reads on. The build writes these values into the viewer's page_values.js
// (html/write_viewer_values.cpp).
namespace l2v::page {

inline constexpr std::uint32_t kDataMagic = 0x4756324C; // "L2VG"
inline constexpr std::uint32_t kDataVersion = 1;
inline constexpr std::uint32_t kHeaderWords = 6;
inline constexpr std::uint32_t kShowLabelsFlag = 1;
inline constexpr std::uint32_t kShowEdgesFlag = 2;
inline constexpr std::uint32_t kColouredFlag = 4;
inline constexpr std::uint32_t kNamedFlag = 8;
// -size was given: the file's spheres and cylinders are the fitted ones times the header's factor.
inline constexpr std::uint32_t kSizedFlag = 16;
// Node indices are below 2^31, so an edge end has its top bit free.
inline constexpr std::uint32_t kSharedClassBit = 0x80000000U;

} // namespace l2v::page
