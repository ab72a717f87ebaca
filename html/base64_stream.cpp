#include "html/base64_stream.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace l2v {
namespace {

static_assert(std::endian::native == std::endian::little,
              "the page reads its data as little-endian typed arrays");

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The two characters of every 12-bit value: half the look-ups of one character at a time.
constexpr std::array<std::array<char, 2>, 4096> kCharacterPairs = [] {
    std::array<std::array<char, 2>, 4096> pairs{};
    for (unsigned value = 0; value < 4096; ++value) {
        pairs[value] = {kAlphabet[value >> 6], kAlphabet[value & 63]};
    }
    return pairs;
}();

char* encodeGroup(char* out, unsigned a, unsigned b, unsigned c) {
    const unsigned group = a << 16 | b << 8 | c;
    std::memcpy(out, kCharacterPairs[group >> 12].data(), 2);
    std::memcpy(out + 2, kCharacterPairs[group & 0xFFF].data(), 2);
    return out + 4;
}

} // namespace

void Base64Stream::put4(const void* bytes) {
    if (kStagedBytes - used_ < 4) {
        flushWholeGroups();
    }
    std::memcpy(staged_.data() + used_, bytes, 4);
    used_ += 4;
    put_ += 4;
}

void Base64Stream::putWord(std::uint32_t word) {
    put4(&word);
}

void Base64Stream::putFloat(float value) {
    put4(&value);
}

void Base64Stream::putBytes(const char* bytes, std::size_t size) {
    put_ += size;
    while (size > 0) {
        if (used_ == kStagedBytes) {
            flushWholeGroups();
        }
        const std::size_t part = std::min(size, kStagedBytes - used_);
        std::memcpy(staged_.data() + used_, bytes, part);
        used_ += part;
        bytes += part;
        size -= part;
    }
}

void Base64Stream::flushWholeGroups() {
    const std::size_t whole = used_ - used_ % 3;
    char* out = out_.reserve(kLargestBlock);
    for (std::size_t i = 0; i < whole; i += 3) {
        out = encodeGroup(out, staged_[i], staged_[i + 1], staged_[i + 2]);
    }
    out_.commitUpTo(out);
    std::memmove(staged_.data(), staged_.data() + whole, used_ - whole);
    used_ -= whole;
}

void Base64Stream::finish() {
    flushWholeGroups();
    if (used_ == 0) {
        return;
    }
    char* out = out_.reserve(kLargestBlock);
    const unsigned second = used_ == 2 ? staged_[1] : 0;
    encodeGroup(out, staged_[0], second, 0);
    out[3] = '=';
    if (used_ == 1) {
        out[2] = '=';
    }
    out_.commitUpTo(out + 4);
    used_ = 0;
}

} // namespace l2v
