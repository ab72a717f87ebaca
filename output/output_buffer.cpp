#include "output/output_buffer.hpp"

#include <algorithm>
#include <cstring>

namespace l2v {

OutputBuffer::OutputBuffer(ByteSink& sink, std::size_t largestBlock)
    : sink_(sink), capacity_(kChunkSize + largestBlock),
      buffer_(std::make_unique_for_overwrite<char[]>(capacity_)) {}

void OutputBuffer::writeWholeChunks() {
    const std::size_t whole = used_ - used_ % kChunkSize;
    if (whole == 0) {
        return;
    }
    sink_.write(buffer_.get(), whole);
    used_ -= whole;
    std::memmove(buffer_.get(), buffer_.get() + whole, used_);
}

void OutputBuffer::append(std::string_view text) {
    while (!text.empty()) {
        const std::size_t part = std::min(capacity_ - used_, text.size());
        std::memcpy(buffer_.get() + used_, text.data(), part);
        used_ += part;
        text.remove_prefix(part);
        writeWholeChunks();
    }
}

void OutputBuffer::finish() {
    if (used_ > 0) {
        sink_.write(buffer_.get(), used_);
        used_ = 0;
    }
}

} // namespace l2v
