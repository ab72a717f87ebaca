#pragma once

#include <span>
#include <string>
#include <string_view>

namespace l2v {

struct RunOptions {
    std::string inputPath;
    std::string outputPath;
    bool showEdges = true;
    bool showLabels = false;
};

// Scans the words (the program name included) for "-in", "-out", "-showlabel" and
// "-showedge", each matched by prefix and followed by its value word, checks the input name
// and derives the output name when none is given. Throws Failure on a missing or wrongly
// named input.
RunOptions parseCommandLine(std::span<const std::string_view> words);

} // namespace l2v
