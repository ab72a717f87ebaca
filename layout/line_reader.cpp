#include "layout/line_reader.hpp"

#include <cstring>

namespace l2v {
namespace {

constexpr std::size_t kBlockSize = std::size_t{1} << 20;

std::string_view cutAtNul(std::string_view line) {
    const void* nul = std::memchr(line.data(), '\0', line.size());
    if (nul == nullptr) {
        return line;
    }
    return line.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - line.data()));
}

// A small input gets a buffer of its size (and one byte to find the end), not a whole block.
std::size_t firstCapacity(const ByteSource& source) {
    const std::optional<std::uint64_t> size = source.sizeHint();
    return size && *size < kBlockSize ? static_cast<std::size_t>(*size) + 1 : kBlockSize;
}

} // namespace

LineReader::LineReader(ByteSource& source)
    : source_(source), capacity_(firstCapacity(source)),
      buffer_(std::make_unique_for_overwrite<char[]>(capacity_)) {}

// Moves the unread bytes to the front and doubles the buffer when a single line fills it.
void LineReader::makeRoom() {
    const std::size_t pending = end_ - begin_;
    if (begin_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + begin_, pending);
        begin_ = 0;
        end_ = pending;
    }
    if (end_ == capacity_) {
        const std::size_t grown = capacity_ * 2;
        auto larger = std::make_unique_for_overwrite<char[]>(grown);
        std::memcpy(larger.get(), buffer_.get(), end_);
        buffer_ = std::move(larger);
        capacity_ = grown;
    }
}

bool LineReader::fill() {
    makeRoom();
    const std::size_t count = source_.read(buffer_.get() + end_, capacity_ - end_);
    if (count == 0) {
        endOfInput_ = true;
        return false;
    }
    end_ += count;
    return true;
}

void LineReader::skipByteOrderMark() {
    atStart_ = false;
    while (end_ - begin_ < 3 && !endOfInput_) {
        fill();
    }
    if (end_ - begin_ >= 3 && std::memcmp(buffer_.get() + begin_, "\xEF\xBB\xBF", 3) == 0) {
        begin_ += 3;
    }
}

bool LineReader::next(std::string_view& line) {
    if (atStart_) {
        skipByteOrderMark();
    }
    std::size_t scanned = 0; // bytes of the pending line already searched for a newline
    for (;;) {
        const char* start = buffer_.get() + begin_;
        const std::size_t pending = end_ - begin_;
        const void* newline = std::memchr(start + scanned, '\n', pending - scanned);
        if (newline != nullptr) {
            const auto length = static_cast<std::size_t>(static_cast<const char*>(newline) - start);
            line = cutAtNul({start, length});
            begin_ += length + 1;
            ++lineNumber_;
            return true;
        }
        scanned = pending;
        if (endOfInput_ || !fill()) {
            if (end_ == begin_) {
                return false;
            }
            line = cutAtNul({buffer_.get() + begin_, end_ - begin_});
            begin_ = end_;
            ++lineNumber_;
            return true;
        }
    }
}

} // namespace l2v
