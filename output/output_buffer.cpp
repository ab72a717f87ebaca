#include "output/output_buffer.hpp"

#include <algorithm>
#include <cstring>

namespace l2v {

OutputBuffer::OutputBuffer(ByteSink& sink, std::size_t largestBlock)
    : sink_(sink), fullCapacity_(kChunkSize + largestBlock),
      capacity_(std::min(fullCapacity_, kFirstCapacity + largestBlock)),
      buffer_(std::make_unique_for_overwrite<char[]>(capacity_)) {}

// Hands whole chunks to the sink, then grows the buffer while `size` more bytes do not fit.
void OutputBuffer::makeRoom(std::size_t size) {
    writeWholeChunks();
    if (capacity_ - used_ >= size || capacity_ == fullCapacity_) {
        return;
    }
    std::size_t grown = capacity_;
    while (grown - used_ < size && grown < fullCapacity_) {
        grown = std::min(2 * grown, fullCapacity_);
    }
    auto larger = std::make_unique_for_overwrite<char[]>(grown);
    std::memcpy(larger.get(), buffer_.get(), used_);
    buffer_ = std::move(larger);
    capacity_ = grown;
}

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
        if (used_ == capacity_) {
            makeRoom(1);
        }
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
