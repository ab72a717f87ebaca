#pragma once

#include "scene/colouring.hpp"
#include "scene/size_scale.hpp"

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace l2v {

// The option words. A word that begins with one of them is that option, so none may begin with
// another.
inline constexpr std::array<std::string_view, 8> kOptionNames{
    "-in", "-out", "-showlabel", "-showedge", "-merge", "-color", "-names", "-size"};

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
    SizeRequest size;
};

// Scans the words (the program name included) for the options of kOptionNames, each matched by
// prefix and followed by its value word, checks the input name and derives the output name when
// none is given. Throws Failure on a missing or wrongly named input, a colouring by column without
// a names file, or a last -size that is neither "auto" nor a number from kSmallestSizeFactor to
// kLargestSizeFactor.
// A word "-h" or "--help" (or
// "--version") where an option could stand asks for the usage (or the version) instead, whatever
// else the line holds.
RunOptions parseCommandLine(std::span<const std::string_view> words);

} // namespace l2v
