#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace l2v {

// Splits text into rows of fields in place: each field's bytes, unquoted, are moved down to
// the end of the fields kept before it, so the kept cells end up back to back at the front
// of the same buffer. Rows end at LF or CR LF (inside a quoted field both are data).
class DelimitedText {
  public:
    // `separator` splits fields (none for a name list); `quoted` reads RFC 4180 quotes.
    DelimitedText(std::string& bytes, std::size_t start, int separator, bool quoted,
                  const std::string& path);

    bool atEnd() const { return read_ == bytes_.size(); }
    int lineNumber() const { return line_; }

    // Scans the next field; keeps it (ending at `keptLength()`) or drops it. Returns whether
    // it ended its row. Throws Failure on an unclosed quote or text after a closing quote.
    bool field(bool keep);

    std::size_t keptLength() const { return write_; }
    // Forgets the kept text from `length` on.
    void truncateKept(std::size_t length) { write_ = length; }

  private:
    bool unquotedField(bool keep);
    bool quotedField(bool keep);
    bool endOfField(std::size_t fieldStart, bool keep);

    std::string& bytes_;
    std::size_t read_;
    std::size_t write_ = 0;
    int separator_;
    bool quoted_;
    const std::string& path_;
    int line_ = 1;
};

// Throws Failure, naming the line, unless `bytes` from `start` on are UTF-8.
void checkUtf8(const std::string& bytes, std::size_t start, const std::string& path);

} // namespace l2v
