#pragma once

#include "output/byte_sink.hpp"

#include <cstddef>
#include <memory>
#include <string_view>

namespace l2v {

// The one large buffer every encoder fills. It goes to the sink in whole chunks, so writes are
// page-aligned and as large as pays off; a block reserved just below a chunk's end may run
// past it and is carried over to the next chunk. It starts small and doubles up to a chunk
// (and the largest block), so a small scene costs no chunk-sized allocation.
class OutputBuffer {
  public:
    static constexpr std::size_t kChunkSize = std::size_t{1} << 20;
    static constexpr std::size_t kFirstCapacity = std::size_t{1} << 14;

    // `largestBlock`: the most bytes a single `reserve` may ask for.
    OutputBuffer(ByteSink& sink, std::size_t largestBlock);

    // Room for at least `size` (at most `largestBlock`) bytes at the end of the buffer; the
    // caller writes there and hands the end of what it wrote to `commitUpTo`.
    char* reserve(std::size_t size) {
        if (used_ >= kChunkSize || capacity_ - used_ < size) {
            makeRoom(size);
        }
        return buffer_.get() + used_;
    }
    void commitUpTo(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.get()); }

    // Text of any length, for the parts of a file written once.
    void append(std::string_view text);

    // Hands every buffered byte to the sink.
    void finish();

  private:
    void writeWholeChunks();
    void makeRoom(std::size_t size);

    ByteSink& sink_;
    std::size_t fullCapacity_;
    std::size_t capacity_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
};

} // namespace l2v
