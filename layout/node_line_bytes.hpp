#pragma once

#include <array>

namespace l2v {

// What a byte means on a node line, for both readers of node lines; one table lookup per byte
// keeps a scan to a single pass.
enum NodeLineByte : unsigned char {
    kSeparator = 1,      // between fields: ",", blank, tab
    kFieldEnd = 2,       // any white space or a comma
    kEndsNeighbours = 4, // control characters and bytes of 128 and above
    kPieceBreak = 8,     // "/" and "\" cut a field into pieces
    kDigit = 16,
};

constexpr std::array<unsigned char, 256> classifyNodeLineBytes() {
    std::array<unsigned char, 256> classes{};
    for (int code = 0; code < 256; ++code) {
        unsigned char bits = 0;
        if (code < 32 || code >= 128) {
            bits |= kEndsNeighbours;
        }
        if (code == ',' || code == ' ' || code == '\t') {
            bits |= kSeparator | kFieldEnd;
        }
        if (code == '\n' || code == '\r' || code == '\v' || code == '\f') {
            bits |= kFieldEnd;
        }
        if (code == '/' || code == '\\') {
            bits |= kPieceBreak;
        }
        if (code >= '0' && code <= '9') {
            bits |= kDigit;
        }
        classes[static_cast<std::size_t>(code)] = bits;
    }
    return classes;
}

inline constexpr std::array<unsigned char, 256> kNodeLineBytes = classifyNodeLineBytes();

inline bool hasClass(char c, NodeLineByte wanted) {
    return (kNodeLineBytes[static_cast<unsigned char>(c)] & wanted) != 0;
}

} // namespace l2v
