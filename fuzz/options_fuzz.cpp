// Scans arbitrary argument vectors (words separated by NUL bytes, the first being the program
// name). A small model of the option scan tells which values the run must end up with.
#include "app/command_line.hpp"
#include "common/failure.hpp"
#include "fuzz_check.hpp"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kWhitespace = " \t\n\v\f\r";
constexpr std::string_view kNoInput = "no input file.";
constexpr std::string_view kWrongType = "file type errors. please input 3dlayout file.";
constexpr std::string_view kSizeRefusal = "-size \"";
constexpr std::string_view kColumnPrefix = "column:";
constexpr std::string_view kNeedsTableEnd = " needs a node table: -names FILE.csv.";

std::vector<std::string_view> splitAtNul(std::string_view bytes) {
    std::vector<std::string_view> words;
    for (;;) {
        const std::size_t nul = bytes.find('\0');
        words.push_back(bytes.substr(0, nul));
        if (nul == std::string_view::npos) {
            return words;
        }
        bytes.remove_prefix(nul + 1);
    }
}

bool isBlank(std::string_view word) {
    return word.find_first_not_of(kWhitespace) == std::string_view::npos;
}

// What the scan must have seen: the last non-blank path values and the switches. An
// option that is the last word has no value and counts as absent.
struct ScanModel {
    l2v::Request request = l2v::Request::convert; // the first help or version word decides
    std::optional<std::string_view> inputValue;
    std::optional<std::string_view> outputValue;
    std::optional<std::string_view> namesValue;
    std::optional<std::string_view> column; // set by "-color column:NAME", cleared by others
    bool showEdges = true;
    bool showLabels = false;
    bool merge = false;
    std::optional<std::string_view> sizeValue; // the last -size value, checked at the end
};

// "auto", or a whole-word number from 10^-5 to 10^6; nothing for any other -size value.
std::optional<l2v::SizeRequest> modelSize(std::string_view value) {
    if (value == "auto") {
        return l2v::SizeRequest{l2v::SizeBy::automatic, 1.0};
    }
    double factor = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), factor);
    if (error != std::errc{} || end != value.data() + value.size() || !(factor >= 1e-5) ||
        !(factor <= 1e6)) {
        return std::nullopt;
    }
    return l2v::SizeRequest{l2v::SizeBy::factor, factor};
}

void applyModelOption(ScanModel& model, std::string_view option, std::string_view value) {
    if (option.starts_with("-in")) {
        model.inputValue = isBlank(value) ? model.inputValue : value;
    } else if (option.starts_with("-out")) {
        model.outputValue = isBlank(value) ? model.outputValue : value;
    } else if (option.starts_with("-showlabel")) {
        model.showLabels = model.showLabels || value == "true";
    } else if (option.starts_with("-showedge")) {
        model.showEdges = value == "true";
    } else if (option.starts_with("-merge")) {
        model.merge = value == "true";
    } else if (option.starts_with("-size")) {
        model.sizeValue = value;
    } else if (option.starts_with("-color")) {
        // Only whether the last colouring asks for a column is modelled; a blank value asks
        // for nothing and leaves the request as it was.
        if (value.starts_with(kColumnPrefix)) {
            model.column = value.substr(kColumnPrefix.size());
        } else if (!isBlank(value)) {
            model.column.reset();
        }
    } else if (option.starts_with("-names")) {
        model.namesValue = isBlank(value) ? model.namesValue : value;
    }
}

bool isOption(std::string_view word) {
    return word.starts_with("-in") || word.starts_with("-out") || word.starts_with("-showlabel") ||
           word.starts_with("-showedge") || word.starts_with("-merge") ||
           word.starts_with("-color") || word.starts_with("-names") || word.starts_with("-size");
}

ScanModel scan(const std::vector<std::string_view>& words) {
    ScanModel model;
    for (std::size_t at = 0; at < words.size(); ++at) {
        if (at > 0 && (words[at] == "-h" || words[at] == "--help")) {
            model.request = l2v::Request::showUsage;
            return model;
        }
        if (at > 0 && words[at] == "--version") {
            model.request = l2v::Request::showVersion;
            return model;
        }
        if (at + 1 < words.size() && isOption(words[at])) {
            applyModelOption(model, words[at], words[at + 1]);
            ++at;
        }
    }
    return model;
}

// A path value may be taken as its first blank-free token or as the whole word without
// surrounding blanks; both start at the first non-blank character.
bool isPathOf(std::string_view path, std::string_view value) {
    const std::size_t first = value.find_first_not_of(kWhitespace);
    const std::size_t last = value.find_last_not_of(kWhitespace);
    const std::string_view trimmed = value.substr(first, last - first + 1);
    const std::string_view token = trimmed.substr(0, trimmed.find_first_of(kWhitespace));
    return path == trimmed || path == token;
}

bool hasLayoutExtension(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    return dot != std::string_view::npos && path.substr(dot) == ".3dlayout";
}

void checkRefusal(std::string_view message, const ScanModel& model) {
    fuzz::require(model.request == l2v::Request::convert, "refused a request for help or version");
    if (message == kNoInput) {
        fuzz::require(!model.inputValue, "input named but refused as missing");
        return;
    }
    if (message.starts_with(kSizeRefusal)) {
        fuzz::require(model.sizeValue && !modelSize(*model.sizeValue),
                      "a -size value refused that the scan takes", message);
        return;
    }
    if (message == kWrongType) {
        fuzz::require(model.inputValue.has_value(), "missing input refused as a wrong type");
        return;
    }
    fuzz::require(message.starts_with("-color column:") && message.ends_with(kNeedsTableEnd),
                  "unknown command-line message", message);
    fuzz::require(model.inputValue.has_value() && model.column && !model.namesValue,
                  "colouring by column refused with a node table given", message);
    fuzz::require(!model.sizeValue || modelSize(*model.sizeValue).has_value(),
                  "a bad -size value let through to the colour check", message);
}

void checkOptions(const l2v::RunOptions& options, const ScanModel& model) {
    fuzz::require(options.request == model.request, "help or version request differs");
    if (model.request != l2v::Request::convert) {
        return;
    }
    fuzz::require(model.inputValue.has_value(), "accepted without an input value");
    fuzz::require(isPathOf(options.inputPath, *model.inputValue), "input path not from its value",
                  options.inputPath);
    fuzz::require(!options.inputPath.empty() && hasLayoutExtension(options.inputPath),
                  "accepted input without the .3dlayout extension", options.inputPath);
    fuzz::require(!options.outputPath.empty(), "empty output path");
    if (model.outputValue) {
        fuzz::require(isPathOf(options.outputPath, *model.outputValue),
                      "output path not from its value", options.outputPath);
    } else {
        const std::string derived =
            options.inputPath.substr(0, options.inputPath.rfind('.')) + ".wrl";
        fuzz::require(options.outputPath == derived, "derived output path wrong",
                      options.outputPath);
    }
    fuzz::require(options.showEdges == model.showEdges, "edge switch differs from the scan");
    fuzz::require(options.showLabels == model.showLabels, "label switch differs from the scan");
    fuzz::require(options.merge == model.merge, "merge switch differs from the scan");
    const std::optional<l2v::SizeRequest> size =
        model.sizeValue ? modelSize(*model.sizeValue) : l2v::SizeRequest{};
    fuzz::require(size && options.size.by == size->by && options.size.factor == size->factor,
                  "size differs from the scan");
    fuzz::require(options.namesPath.empty() ? !model.namesValue
                                            : model.namesValue.has_value() &&
                                                  isPathOf(options.namesPath, *model.namesValue),
                  "names path not from its value", options.namesPath);
    fuzz::require((options.colour.by == l2v::ColourBy::column) == model.column.has_value() &&
                      (!model.column || options.colour.column == *model.column),
                  "column colouring differs from the scan", options.colour.column);
}

} // namespace

// libFuzzer calls the target by this name.
// NOLINTNEXTLINE(readability-identifier-naming)
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string_view> words =
        splitAtNul({reinterpret_cast<const char*>(data), size});
    const ScanModel model = scan(words);
    try {
        checkOptions(l2v::parseCommandLine(words), model);
    } catch (const l2v::Failure& failure) {
        checkRefusal(failure.what(), model);
    }
    return 0;
}
