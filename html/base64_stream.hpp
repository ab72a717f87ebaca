#pragma once

#include "output/json_writer.hpp"
#include "output/output_buffer.hpp"

#include <array>
#include <cstddef>
#include <cstdint>

namespace l2v {

// Encodes the bytes put into it as base64 text into the output buffer. Bytes are staged in
// whole groups of three, so the text is written in large blocks without padding until
// `finish`.
class Base64Stream {
  public:
    explicit Base64Stream(OutputBuffer& out) : out_(out) {}

    // The text `byteCount` bytes become: four characters for every three bytes or part of three.
    static constexpr std::uint64_t encodedLength(std::uint64_t byteCount) {
        return (byteCount + 2) / 3 * 4;
    }
    // The most characters one flush hands to the output buffer's `reserve`.
    static constexpr std::size_t kLargestBlock = 4096;

    void putWord(std::uint32_t word);
    void putFloat(float value);
    void putBytes(const char* bytes, std::size_t size);
    // How many bytes were put so far.
    std::uint64_t bytesPut() const { return put_; }

    // Encodes what is staged, with '=' padding after a last group of one or two bytes.
    void finish();

  private:
    void put4(const void* bytes);
    void flushWholeGroups();

    static constexpr std::size_t kStagedBytes = kLargestBlock / 4 * 3;
    OutputBuffer& out_;
    std::array<unsigned char, kStagedBytes> staged_{};
    std::size_t used_ = 0;
    std::uint64_t put_ = 0;
};

// Hands a JSON writer's text to a base64 stream, through room for one token.
class Base64Text {
  public:
    explicit Base64Text(Base64Stream& data) : data_(data) {}
    char* reserve(std::size_t /*size*/) { return scratch_; }
    void commitUpTo(const char* end) {
        data_.putBytes(scratch_, static_cast<std::size_t>(end - scratch_));
    }

  private:
    Base64Stream& data_;
    char scratch_[kJsonTokenRoom];
};

} // namespace l2v
