#pragma once

#include "output/json_number.hpp"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string_view>

namespace l2v {

// Room for the largest single token a JsonWriter writes at once: a comma and a float or
// index, or a comma and a key or string of up to kMaxJsonNameLength characters and its quotes.
inline constexpr std::size_t kMaxJsonNameLength = 64;
inline constexpr std::size_t kJsonTokenRoom = kMaxJsonNameLength + 4;

// Stands in for the output buffer when a document is only measured: the same code that writes
// the text counts its bytes.
class JsonMeasure {
  public:
    char* reserve(std::size_t /*size*/) { return scratch_; }
    void commitUpTo(const char* end) { length_ += static_cast<std::uint64_t>(end - scratch_); }
    std::uint64_t length() const { return length_; }

  private:
    char scratch_[kJsonTokenRoom];
    std::uint64_t length_ = 0;
};

// Compact JSON text, token by token, into `Out` (the output buffer or a JsonMeasure): places
// the commas and checks that objects and arrays are closed in the order they were opened.
// Keys are names that need no escaping (checked); strings are any UTF-8 text, escaped.
template <class Out> class JsonWriter {
  public:
    explicit JsonWriter(Out& out) : out_(out) {}

    void beginObject() { open('{', false); }
    void endObject() { close('}', false); }
    void beginArray() { open('[', true); }
    void endArray() { close(']', true); }

    // Names the next value of the current object.
    void key(std::string_view name) {
        if (depth_ == 0 || inArray()) {
            throw std::logic_error("json key outside an object");
        }
        char* out = separate();
        out = quote(out, name);
        *out++ = ':';
        out_.commitUpTo(out);
        comma_ = false;
    }

    void string(std::string_view text) { finishValue(quoteEscaped(separate(), text)); }
    // Names the next value of the current object by any text (escaped).
    void textKey(std::string_view text) {
        if (depth_ == 0 || inArray()) {
            throw std::logic_error("json key outside an object");
        }
        char* out = quoteEscaped(separate(), text);
        *out++ = ':';
        out_.commitUpTo(out);
        comma_ = false;
    }
    void number(float value) { finishValue(writeJsonFloat(separate(), value)); }
    void index(std::uint64_t value) { finishValue(writeJsonIndex(separate(), value)); }
    // A number as a string, as the name of the node it counts.
    void indexString(std::uint64_t value) {
        char* out = separate();
        *out++ = '"';
        out = writeJsonIndex(out, value);
        *out++ = '"';
        finishValue(out);
    }

    // Every object and array is closed.
    bool complete() const { return depth_ == 0; }

  private:
    static constexpr int kMaxDepth = 64;
    static constexpr std::ptrdiff_t kLongestEscape = 6; // \u001f

    // `text` in quotes at `out`, in pieces of at most one token's room; the closing quote
    // and one more byte fit behind the returned end.
    char* quoteEscaped(char* out, std::string_view text) {
        char* end = out + (kJsonTokenRoom - 1);
        *out++ = '"';
        for (const char c : text) {
            if (end - out < kLongestEscape + 2) {
                out_.commitUpTo(out);
                out = out_.reserve(kJsonTokenRoom);
                end = out + kJsonTokenRoom;
            }
            out = writeEscaped(out, c);
        }
        *out++ = '"';
        return out;
    }

    // One byte of a string: quotes, backslashes and control characters escaped.
    static char* writeEscaped(char* out, char c) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            *out++ = '\\';
            *out++ = c;
        } else if (code < 0x20) {
            constexpr const char* kHex = "0123456789abcdef";
            std::memcpy(out, "\\u00", 4);
            out[4] = kHex[code >> 4];
            out[5] = kHex[code & 0xF];
            out += 6;
        } else {
            *out++ = c;
        }
        return out;
    }

    bool inArray() const { return (arrays_ >> (depth_ - 1) & 1U) != 0; }

    // Room for the next token, after the comma that separates it from the one before.
    char* separate() {
        char* out = out_.reserve(kJsonTokenRoom);
        if (comma_) {
            *out++ = ',';
        }
        return out;
    }

    void finishValue(const char* end) {
        out_.commitUpTo(end);
        comma_ = true;
    }

    static char* quote(char* out, std::string_view name) {
        if (name.size() > kMaxJsonNameLength ||
            name.find_first_of("\"\\") != std::string_view::npos) {
            throw std::logic_error("json name too long or in need of escaping");
        }
        *out++ = '"';
        std::memcpy(out, name.data(), name.size());
        out += name.size();
        *out++ = '"';
        return out;
    }

    void open(char bracket, bool array) {
        if (depth_ == kMaxDepth) {
            throw std::logic_error("json nested too deeply");
        }
        char* out = separate();
        *out++ = bracket;
        out_.commitUpTo(out);
        arrays_ =
            (arrays_ & ~(std::uint64_t{1} << depth_)) | (std::uint64_t{array ? 1U : 0U} << depth_);
        ++depth_;
        comma_ = false;
    }

    void close(char bracket, bool array) {
        if (depth_ == 0 || inArray() != array) {
            throw std::logic_error("json closed out of order");
        }
        --depth_;
        char* out = out_.reserve(1);
        *out++ = bracket;
        finishValue(out);
    }

    Out& out_;
    std::uint64_t arrays_ = 0; // bit d: the container at depth d is an array
    int depth_ = 0;
    bool comma_ = false;
};

} // namespace l2v
