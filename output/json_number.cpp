#include "output/json_number.hpp"

#include <charconv>

namespace l2v {

char* writeJsonFloat(char* out, float value) {
    return std::to_chars(out, out + kMaxJsonFloatLength, value).ptr;
}

std::string jsonFloat(float value) {
    char text[kMaxJsonFloatLength];
    return {text, writeJsonFloat(text, value)};
}

char* writeJsonIndex(char* out, std::uint64_t value) {
    return std::to_chars(out, out + kMaxJsonIndexLength, value).ptr;
}

} // namespace l2v
