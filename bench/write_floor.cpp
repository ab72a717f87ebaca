// The floor the converter is measured against: writes BYTES bytes of VRML-like text from a
// memory buffer into OUT_FILE with large write(2) calls, then closes it. Nothing is computed,
// so its run time is what the file system alone costs for an output of that size.
//
// Usage: write_floor BYTES OUT_FILE [BUSY_MICROSECONDS]
//
// With BUSY_MICROSECONDS, each chunk is preceded by that much user-space work (touching a few
// MiB of memory, as a converter's loops do). It is not part of the floor: it shows what the
// kernel charges for the same writes when they are spread out between computation.

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The converter hands its output to the kernel in blocks of this size too.
constexpr std::size_t kChunkSize = std::size_t{1} << 20;

const char* const kSampleBlock = "Transform {\n"
                                 "    rotation 0 -1.234567 0.765432 0.123456\n"
                                 "    translation 1.500000 -2.250000 3.125000\n"
                                 "    children [\n"
                                 "        Transform {\n"
                                 "            rotation 1 0 0 0.927295\n"
                                 "            children [\n"
                                 "                Shape {\n";

std::string sampleChunk() {
    std::string chunk;
    chunk.reserve(kChunkSize);
    while (chunk.size() < kChunkSize) {
        chunk += kSampleBlock;
    }
    chunk.resize(kChunkSize);
    return chunk;
}

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "write_floor: %s: %s\n", what, std::strerror(errno));
    std::exit(1);
}

void writeAll(int descriptor, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(descriptor, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            fail("write");
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

// Keeps the processor busy in user space for `microseconds`, walking a buffer larger than the
// second-level cache.
void keepBusy(long microseconds, std::vector<char>& scratch) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(microseconds);
    std::size_t at = 0;
    while (std::chrono::steady_clock::now() < until) {
        for (int line = 0; line < 1024; ++line) {
            ++scratch[at];
            at = (at + 64) % scratch.size();
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fputs("usage: write_floor BYTES OUT_FILE [BUSY_MICROSECONDS]\n", stderr);
        return 2;
    }
    unsigned long long remaining = std::strtoull(argv[1], nullptr, 10);
    const long busy = argc == 4 ? std::strtol(argv[3], nullptr, 10) : 0;
    std::vector<char> scratch(busy > 0 ? std::size_t{8} << 20 : 1);
    const std::string chunk = sampleChunk();
    const int descriptor = ::open(argv[2], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        fail(argv[2]);
    }
    while (remaining > 0) {
        const std::size_t part = remaining < kChunkSize ? remaining : kChunkSize;
        if (busy > 0) {
            keepBusy(busy, scratch);
        }
        writeAll(descriptor, chunk.data(), part);
        remaining -= part;
    }
    if (::close(descriptor) != 0) {
        fail("close");
    }
    return 0;
}
