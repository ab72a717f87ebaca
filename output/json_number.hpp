#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace l2v {

// Room for any float as JSON text ("-1.17549435e-38" and the like).
inline constexpr std::size_t kMaxJsonFloatLength = 16;
// Room for any index of 64 bits.
inline constexpr std::size_t kMaxJsonIndexLength = 20;

// The shortest text that reads back as the same float, independent of the locale; `value`
// must be finite (JSON has no infinities).
char* writeJsonFloat(char* out, float value);
std::string jsonFloat(float value);

char* writeJsonIndex(char* out, std::uint64_t value);

} // namespace l2v
