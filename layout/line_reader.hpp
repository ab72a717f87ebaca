#pragma once

#include "layout/byte_source.hpp"

#include <cstddef>
#include <memory>
#include <string_view>

namespace l2v {

// Splits a byte source into lines of any length, reading it in large blocks. A line is
// handed out without its newline and ends early at a NUL byte, as a C string would. A UTF-8
// byte-order mark at the very start is skipped.
class LineReader {
  public:
    explicit LineReader(ByteSource& source);

    // Sets `line` to the next line; false at the end of the input. The view stays valid
    // until the next call.
    bool next(std::string_view& line);

    // Physical number of the line last returned, counting from 1.
    int lineNumber() const { return lineNumber_; }

  private:
    bool fill();
    void makeRoom();
    void skipByteOrderMark();

    ByteSource& source_;
    std::size_t capacity_;
    std::unique_ptr<char[]> buffer_;
    std::size_t begin_ = 0; // first byte not yet handed out
    std::size_t end_ = 0;   // end of the bytes read so far
    bool endOfInput_ = false;
    bool atStart_ = true;
    int lineNumber_ = 0;
};

} // namespace l2v
