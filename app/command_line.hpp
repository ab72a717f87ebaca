#pragma once

#include "scene/colouring.hpp"

#include <span>
#include <string>
#include <string_view>

namespace l2v {

// What the command line asks for: a conversion, or only the usage or the version.
enum class Request { convert, showUsage, showVersion };

struct RunOptions {
    Request request = Request::convert;
    std::string inputPath;
    std::string outputPath;
    bool showEdges = true;
    bool showLabels = false;
    bool merge = false; // one mesh per kind of shape instead of one shape per node and edge
    ColourRequest colour;
    std::string namesPath; // node names, and attributes when a table
};

// Scans the words (the program name included) for "-in", "-out", "-showlabel", "-showedge",
// "-merge", "-color" and "-names", each matched by prefix and followed by its value word, checks
// the input name and derives the output name when none is given. Throws Failure on a missing or
// wrongly named input, or a colouring by column without a names file. A word "-h" or "--help" (or
// "--version") where an option could stand asks for the usage (or the version) instead, whatever
// else the line holds.
RunOptions parseCommandLine(std::span<const std::string_view> words);

} // namespace l2v
