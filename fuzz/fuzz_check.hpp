#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace fuzz {

// Reports a broken invariant and aborts, so that libFuzzer (or the corpus replay) records the
// input as a failure.
[[noreturn]] inline void fail(std::string_view what, std::string_view detail = {}) {
    std::fprintf(stderr, "INVARIANT FAILED: %.*s\n", static_cast<int>(what.size()), what.data());
    if (!detail.empty()) {
        std::fprintf(stderr, "  detail: %.*s\n", static_cast<int>(detail.size()), detail.data());
    }
    std::abort();
}

inline void require(bool holds, std::string_view what, std::string_view detail = {}) {
    if (!holds) {
        fail(what, detail);
    }
}

} // namespace fuzz
