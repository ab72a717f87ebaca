// Feeds arbitrary bytes to the layout reader: every input is either refused with a one-line
// message of a known form or yields a layout whose tables are consistent. Each line is also
// read by both node-line parsers, which must agree.
#include "common/failure.hpp"
#include "layout/byte_source.hpp"
#include "layout/layout_reader.hpp"
#include "layout_check.hpp"
#include "plain_line_check.hpp"
#include "refusal_check.hpp"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// libFuzzer calls the target by this name.
// NOLINTNEXTLINE(readability-identifier-naming)
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string kSourcePath = "fuzz.3dlayout";
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fuzz::checkPlainLinesAgree(bytes);
    l2v::MemorySource source(bytes);
    try {
        const l2v::Layout layout = l2v::readLayout(source, kSourcePath);
        fuzz::checkReadLayout(layout);
    } catch (const l2v::Failure& failure) {
        fuzz::checkReaderRefusal(failure.what(), kSourcePath);
    }
    return 0;
}
