#include "app/command_line.hpp"

#include "common/failure.hpp"

#include <charconv>
#include <optional>
#include <system_error>

namespace l2v {
namespace {

constexpr std::string_view kInputExtension = ".3dlayout";
constexpr std::string_view kOutputExtension = ".wrl";
constexpr std::string_view kWhitespace = " \t\n\v\f\r";
constexpr std::string_view kColumnPrefix = "column:";

// The option a word stands for: the one whose name it begins with, or nothing.
std::string_view optionOf(std::string_view word) {
    for (const std::string_view name : kOptionNames) {
        if (word.starts_with(name)) {
            return name;
        }
    }
    return {};
}

// Values met on the way that are checked once the whole line is read: a later -size replaces an
// earlier one, and "-h" anywhere shows the usage whatever the values.
struct PendingValues {
    std::optional<std::string_view> size;
};

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

// "auto", or a factor written as a plain decimal or exponent number, the whole word.
SizeRequest sizeRequest(std::string_view value) {
    if (value == "auto") {
        return {SizeBy::automatic, 1.0};
    }
    double factor = 0;
    const char* const end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, factor);
    // NaN fails both comparisons, infinity one; out-of-range text sets `error`.
    if (error != std::errc{} || stop != end || !(factor >= kSmallestSizeFactor) ||
        !(factor <= kLargestSizeFactor)) {
        throw Failure("-size \"" + quotedText(value) +
                      "\" is neither auto nor a number from 0.00001 to 1000000.");
    }
    return {SizeBy::factor, factor};
}

// Applies one option and its value; false when `word` is no option.
bool applyOption(RunOptions& options, PendingValues& pending, std::string_view word,
                 std::string_view value) {
    const std::string_view option = optionOf(word);
    if (option == "-in") {
        assignPath(options.inputPath, value);
    } else if (option == "-out") {
        assignPath(options.outputPath, value);
    } else if (option == "-showlabel") {
        if (value == "true") {
            options.showLabels = true;
        }
    } else if (option == "-showedge") {
        options.showEdges = value == "true";
    } else if (option == "-merge") {
        options.merge = value == "true";
    } else if (option == "-color") {
        assignColour(options.colour, value);
    } else if (option == "-names") {
        assignPath(options.namesPath, value);
    } else if (option == "-size") {
        pending.size = value;
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
    PendingValues pending;
    for (std::size_t at = 0; at < words.size(); ++at) {
        const std::string_view word = words[at];
        if (at > 0 && (word == "-h" || word == "--help" || word == "--version")) {
            options.request = word == "--version" ? Request::showVersion : Request::showUsage;
            return options;
        }
        // An option with no value word after it is ignored.
        if (at + 1 < words.size() && applyOption(options, pending, word, words[at + 1])) {
            ++at;
        }
    }
    checkInputName(options.inputPath);
    if (pending.size) {
        options.size = sizeRequest(*pending.size);
    }
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
