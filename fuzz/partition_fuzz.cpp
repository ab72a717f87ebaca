// Feeds a partition file to its reader: the first byte is the layout's node count, the rest
// the file. A small model, written apart from the reader, tells what must come out: the
// classes, or which refusal at which line.
#include "common/failure.hpp"
#include "fuzz_check.hpp"
#include "layout/partition_reader.hpp"
#include "refusal_check.hpp"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace {

const std::string kSourcePath = "fuzz.clu";
constexpr std::string_view kBlanks = " \t\r\v\f";

// What the model expects: the classes, or how a refusal starts and how it ends, naming the
// file and the line.
struct Outcome {
    std::vector<std::int64_t> classes;
    std::string refusal; // the message's first words; empty when accepted
    std::string ending;
};

std::string atLine(int number) {
    return " in " + kSourcePath + " at line " + std::to_string(number);
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && kBlanks.find(text.front()) != std::string_view::npos) {
        text.remove_prefix(1);
    }
    while (!text.empty() && kBlanks.find(text.back()) != std::string_view::npos) {
        text.remove_suffix(1);
    }
    return text;
}

// An optional sign, then decimal digits, within 64 bits.
bool readInteger(std::string_view text, std::int64_t& value) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return false;
    }
    // Accumulated negatively: the most negative value then needs no step of its own.
    std::int64_t sum = 0;
    constexpr std::int64_t kLowest = std::numeric_limits<std::int64_t>::min();
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        const int digit = c - '0';
        if (sum < (kLowest + digit) / 10) {
            return false;
        }
        sum = sum * 10 - digit;
    }
    if (!negative && sum == kLowest) {
        return false;
    }
    value = negative ? sum : -sum;
    return true;
}

bool opensWithVertices(std::string_view line) {
    constexpr std::string_view kWord = "*vertices";
    if (line.size() < kWord.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kWord.size(); ++i) {
        const char c = line[i];
        if (c != kWord[i] && c != kWord[i] - 'a' + 'A') {
            return false;
        }
    }
    return true;
}

// Applies one line to the outcome; false once it is a refusal.
bool applyLine(Outcome& outcome, std::string_view line, int number, std::uint64_t nodeCount) {
    line = trimmed(line);
    if (line.empty() || line.front() == '%') {
        return true;
    }
    std::int64_t value = 0;
    if (outcome.classes.empty() && opensWithVertices(line)) {
        const std::string_view rest = trimmed(line.substr(9));
        const std::string_view word = rest.substr(0, rest.find_first_of(kBlanks));
        if (!readInteger(word, value) || value < 0) {
            outcome.refusal = "vertex count ";
        } else if (static_cast<std::uint64_t>(value) != nodeCount) {
            outcome.refusal = "partition of " + std::to_string(value) + " nodes";
            outcome.ending =
                atLine(number) + " for a layout of " + std::to_string(nodeCount) + " nodes.";
            return false;
        }
    } else if (!readInteger(line, value)) {
        outcome.refusal = "class ";
    } else if (outcome.classes.size() == nodeCount) {
        outcome.refusal = "more classes than the layout's ";
    } else {
        outcome.classes.push_back(value);
    }
    outcome.ending = atLine(number) + ".";
    return outcome.refusal.empty();
}

Outcome expectedOutcome(std::string_view bytes, std::uint64_t nodeCount) {
    Outcome outcome;
    int number = 0;
    while (!bytes.empty()) {
        const std::size_t newline = bytes.find('\n');
        if (!applyLine(outcome, bytes.substr(0, newline), ++number, nodeCount)) {
            return outcome;
        }
        bytes.remove_prefix(newline == std::string_view::npos ? bytes.size() : newline + 1);
    }
    if (outcome.classes.size() != nodeCount) {
        outcome.refusal = "partition file " + kSourcePath + " ends after " +
                          std::to_string(outcome.classes.size()) + " of ";
        outcome.ending = " classes at line " + std::to_string(number) + ".";
    }
    return outcome;
}

void checkRefusal(std::string_view message, const Outcome& expected) {
    fuzz::checkOneLine(message);
    fuzz::require(!expected.refusal.empty(), "a partition the model accepts was refused", message);
    fuzz::require(message.starts_with(expected.refusal), "refusal of another kind than expected",
                  expected.refusal + " | " + std::string(message));
    fuzz::require(message.ends_with(expected.ending),
                  "refusal does not name the file and the expected line",
                  expected.ending + " | " + std::string(message));
}

} // namespace

// libFuzzer calls the target by this name.
// NOLINTNEXTLINE(readability-identifier-naming)
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint64_t nodeCount = data[0];
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const Outcome expected = expectedOutcome(bytes, nodeCount);
    try {
        const std::vector<std::int64_t> classes =
            l2v::parsePartition(bytes, kSourcePath, nodeCount);
        fuzz::require(expected.refusal.empty(), "a partition the model refuses was accepted",
                      expected.refusal);
        fuzz::require(classes.size() == nodeCount, "class count differs from the node count");
        fuzz::require(classes == expected.classes, "classes differ from the model's");
    } catch (const l2v::Failure& failure) {
        checkRefusal(failure.what(), expected);
    }
    return 0;
}
