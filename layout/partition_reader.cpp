#include "layout/partition_reader.hpp"

#include "common/failure.hpp"

#include <charconv>
#include <fstream>
#include <string_view>

namespace l2v {
namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";
constexpr std::string_view kVerticesWord = "*vertices";

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool startsWithVertices(std::string_view line) {
    if (line.size() < kVerticesWord.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kVerticesWord.size(); ++i) {
        const char c = line[i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != kVerticesWord[i]) {
            return false;
        }
    }
    return true;
}

bool parseInteger(std::string_view text, std::int64_t& value) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return false; // "+-5" is no integer, though from_chars would read the "-5"
        }
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// Reads the line after "*Vertices": its first word is the node count.
void checkVertexCount(std::string_view rest, std::uint64_t nodeCount, const std::string& path,
                      int lineNumber) {
    rest = trimmed(rest);
    const std::string_view word = rest.substr(0, rest.find_first_of(kBlanks));
    std::int64_t declared = 0;
    if (!parseInteger(word, declared) || declared < 0) {
        throw Failure("vertex count " + quotedText(word) + " is not a number" +
                      inFileAtLine(path, lineNumber) + ".");
    }
    if (static_cast<std::uint64_t>(declared) != nodeCount) {
        throw Failure("partition of " + std::to_string(declared) + " nodes" +
                      inFileAtLine(path, lineNumber) + " for a layout of " +
                      std::to_string(nodeCount) + " nodes.");
    }
}

// Takes the file's lines one by one (without their newlines) and collects the classes.
class PartitionParser {
  public:
    PartitionParser(const std::string& path, std::uint64_t nodeCount)
        : path_(path), nodeCount_(nodeCount) {
        classes_.reserve(nodeCount);
    }

    void line(std::string_view text) {
        ++lineNumber_;
        const std::string_view line = trimmed(text);
        if (line.empty() || line.front() == '%') {
            return;
        }
        if (classes_.empty() && startsWithVertices(line)) {
            checkVertexCount(line.substr(kVerticesWord.size()), nodeCount_, path_, lineNumber_);
            return;
        }
        std::int64_t value = 0;
        if (!parseInteger(line, value)) {
            throw Failure("class " + quotedText(line) + " is not an integer" +
                          inFileAtLine(path_, lineNumber_) + ".");
        }
        if (classes_.size() == nodeCount_) {
            throw Failure("more classes than the layout's " + std::to_string(nodeCount_) +
                          " nodes" + inFileAtLine(path_, lineNumber_) + ".");
        }
        classes_.push_back(value);
    }

    std::vector<std::int64_t> finish() {
        if (classes_.size() != nodeCount_) {
            throw Failure("partition file " + path_ + " ends after " +
                          std::to_string(classes_.size()) + " of " + std::to_string(nodeCount_) +
                          " classes at line " + std::to_string(lineNumber_) + ".");
        }
        return std::move(classes_);
    }

  private:
    const std::string& path_;
    std::uint64_t nodeCount_;
    std::vector<std::int64_t> classes_;
    int lineNumber_ = 0;
};

} // namespace

std::vector<std::int64_t> readPartitionFile(const std::string& path, std::uint64_t nodeCount) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw Failure("cannot read partition file " + path + ".");
    }
    PartitionParser parser(path, nodeCount);
    std::string text;
    while (std::getline(file, text)) {
        parser.line(text);
    }
    if (file.bad() || (!file.eof() && file.fail())) {
        throw Failure("cannot read partition file " + path + ".");
    }
    return parser.finish();
}

std::vector<std::int64_t> parsePartition(std::string_view bytes, const std::string& path,
                                         std::uint64_t nodeCount) {
    PartitionParser parser(path, nodeCount);
    // As std::getline splits: a last line without a newline counts, an empty rest does not.
    while (!bytes.empty()) {
        const std::size_t newline = bytes.find('\n');
        parser.line(bytes.substr(0, newline));
        bytes.remove_prefix(newline == std::string_view::npos ? bytes.size() : newline + 1);
    }
    return parser.finish();
}

} // namespace l2v
