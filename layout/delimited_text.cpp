#include "layout/delimited_text.hpp"

#include "common/failure.hpp"

#include <algorithm>
#include <cstring>

namespace l2v {

DelimitedText::DelimitedText(std::string& bytes, std::size_t start, int separator, bool quoted,
                             const std::string& path)
    : bytes_(bytes), read_(start), separator_(separator), quoted_(quoted), path_(path) {}

bool DelimitedText::field(bool keep) {
    if (quoted_ && read_ < bytes_.size() && bytes_[read_] == '"') {
        return quotedField(keep);
    }
    return unquotedField(keep);
}

bool DelimitedText::unquotedField(bool keep) {
    const std::size_t start = read_;
    const std::size_t size = bytes_.size();
    while (read_ < size) {
        const char c = bytes_[read_];
        if (c == '\n' || static_cast<unsigned char>(c) == separator_) {
            return endOfField(start, keep);
        }
        ++read_;
    }
    return endOfField(start, keep);
}

// Keeps the field from `start` to the reading position (less a CR before an LF) and steps
// over what ended it.
bool DelimitedText::endOfField(std::size_t fieldStart, bool keep) {
    const bool endOfRow = read_ == bytes_.size() || bytes_[read_] == '\n';
    std::size_t end = read_;
    if (endOfRow && end > fieldStart && bytes_[end - 1] == '\r' && end < bytes_.size()) {
        --end;
    }
    if (keep) {
        std::memmove(bytes_.data() + write_, bytes_.data() + fieldStart, end - fieldStart);
        write_ += end - fieldStart;
    }
    if (read_ < bytes_.size()) {
        line_ += bytes_[read_] == '\n' ? 1 : 0;
        ++read_;
    }
    return endOfRow;
}

bool DelimitedText::quotedField(bool keep) {
    const int openedAt = line_;
    const std::size_t size = bytes_.size();
    ++read_;
    for (;;) {
        if (read_ == size) {
            throw Failure("unterminated quote" + inFileAtLine(path_, openedAt) + ".");
        }
        const char c = bytes_[read_++];
        if (c == '"') {
            if (read_ == size || bytes_[read_] != '"') {
                break;
            }
            ++read_; // a doubled quote stands for one
        } else if (c == '\n') {
            ++line_;
        }
        if (keep) {
            bytes_[write_++] = c;
        }
    }
    if (read_ == size) {
        return true;
    }
    const char next = bytes_[read_];
    if (static_cast<unsigned char>(next) == separator_) {
        ++read_;
        return false;
    }
    if (next == '\r' && read_ + 1 < size && bytes_[read_ + 1] == '\n') {
        ++read_;
    }
    if (bytes_[read_] == '\n') {
        ++read_;
        ++line_;
        return true;
    }
    throw Failure("text after a closing quote" + inFileAtLine(path_, line_) + ".");
}

namespace {

// The length of the UTF-8 sequence at `at`, or 0 when it is not a valid one (overlong forms,
// surrogates and code points beyond U+10FFFF included).
std::size_t utf8SequenceLength(const unsigned char* at, std::size_t left) {
    const unsigned char lead = at[0];
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (left < length || at[1] < low || at[1] > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (at[i] < 0x80 || at[i] > 0xBF) {
            return 0;
        }
    }
    return length;
}

} // namespace

void checkUtf8(const std::string& bytes, std::size_t start, const std::string& path) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t at = start;
    while (at < bytes.size()) {
        if (data[at] < 0x80) {
            ++at;
            continue;
        }
        const std::size_t length = utf8SequenceLength(data + at, bytes.size() - at);
        if (length == 0) {
            const auto line = 1 + std::count(bytes.begin(),
                                             bytes.begin() + static_cast<std::ptrdiff_t>(at), '\n');
            throw Failure("bytes that are not UTF-8" + inFileAtLine(path, static_cast<int>(line)) +
                          ".");
        }
        at += length;
    }
}

} // namespace l2v
