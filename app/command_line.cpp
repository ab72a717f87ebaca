#include "app/command_line.hpp"

#include "common/failure.hpp"

namespace l2v {
namespace {

constexpr std::string_view kInputExtension = ".3dlayout";
constexpr std::string_view kOutputExtension = ".wrl";
constexpr std::string_view kWhitespace = " \t\n\v\f\r";
constexpr std::string_view kColumnPrefix = "column:";

// A word counts as an option when it begins with the option's name.
bool matches(std::string_view word, std::string_view option) {
    return word.starts_with(option);
}

// The whole value word without surrounding white space; blank values leave the path as it was.
void assignPath(std::string& path, std::string_view value) {
    const std::size_t first = value.find_first_not_of(kWhitespace);
    if (first == std::string_view::npos) {
        return;
    }
    const std::size_t last = value.find_last_not_of(kWhitespace);
    path.assign(value.substr(first, last - first + 1));
}

// "community", "component" and "degree" name a colouring and "column:NAME" a column of the
// node table; any other value is the path of a partition file (one named "column:x" is
// reached as "./column:x"). Blank values leave the request as it was.
void assignColour(ColourRequest& request, std::string_view value) {
    if (value.starts_with(kColumnPrefix)) {
        request = {ColourBy::column, {}, std::string(value.substr(kColumnPrefix.size()))};
    } else if (value == "community") {
        request = {ColourBy::community, {}, {}};
    } else if (value == "component") {
        request = {ColourBy::component, {}, {}};
    } else if (value == "degree") {
        request = {ColourBy::degree, {}, {}};
    } else {
        std::string path;
        assignPath(path, value);
        if (!path.empty()) {
            request = {ColourBy::partitionFile, path, {}};
        }
    }
}

// Applies one option and its value; false when `word` is no option.
bool applyOption(RunOptions& options, std::string_view word, std::string_view value) {
    if (matches(word, "-in")) {
        assignPath(options.inputPath, value);
    } else if (matches(word, "-out")) {
        assignPath(options.outputPath, value);
    } else if (matches(word, "-showlabel")) {
        if (value == "true") {
            options.showLabels = true;
        }
    } else if (matches(word, "-showedge")) {
        options.showEdges = value == "true";
    } else if (matches(word, "-merge")) {
        options.merge = value == "true";
    } else if (matches(word, "-color")) {
        assignColour(options.colour, value);
    } else if (matches(word, "-names")) {
        assignPath(options.namesPath, value);
    } else {
        return false;
    }
    return true;
}

void checkInputName(const std::string& inputPath) {
    if (inputPath.empty()) {
        throw Failure("no input file.");
    }
    const std::size_t dot = inputPath.rfind('.');
    if (dot == std::string::npos || std::string_view(inputPath).substr(dot) != kInputExtension) {
        throw Failure("file type errors. please input 3dlayout file.");
    }
}

std::string derivedOutputPath(const std::string& inputPath) {
    return inputPath.substr(0, inputPath.rfind('.')) + std::string(kOutputExtension);
}

} // namespace

RunOptions parseCommandLine(std::span<const std::string_view> words) {
    RunOptions options;
    for (std::size_t at = 0; at < words.size(); ++at) {
        const std::string_view word = words[at];
        if (at > 0 && (word == "-h" || word == "--help" || word == "--version")) {
            options.request = word == "--version" ? Request::showVersion : Request::showUsage;
            return options;
        }
        // An option with no value word after it is ignored.
        if (at + 1 < words.size() && applyOption(options, word, words[at + 1])) {
            ++at;
        }
    }
    checkInputName(options.inputPath);
    if (options.colour.by == ColourBy::column && options.namesPath.empty()) {
        throw Failure("-color column:" + shownText(options.colour.column) +
                      " needs a node table: -names FILE.csv.");
    }
    if (options.outputPath.empty()) {
        options.outputPath = derivedOutputPath(options.inputPath);
    }
    return options;
}

} // namespace l2v
