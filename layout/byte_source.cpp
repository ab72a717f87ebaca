#include "layout/byte_source.hpp"

#include "common/failure.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace l2v {

std::size_t MemorySource::read(char* buffer, std::size_t capacity) {
    const std::size_t count = std::min(capacity, rest_.size());
    if (count == 0) {
        return 0; // an empty view may hold a null pointer, which memcpy must not get
    }
    std::memcpy(buffer, rest_.data(), count);
    rest_.remove_prefix(count);
    return count;
}

namespace {

Failure cannotOpen(const std::string& path) {
    return Failure("cannot open " + path + ". ");
}

} // namespace

FileSource::FileSource(const std::string& path) : path_(path) {
    descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor_ < 0) {
        throw cannotOpen(path);
    }
    struct stat status {};
    if (::fstat(descriptor_, &status) != 0 || S_ISDIR(status.st_mode)) {
        ::close(descriptor_);
        descriptor_ = -1;
        throw cannotOpen(path);
    }
    if (S_ISREG(status.st_mode)) {
        size_ = static_cast<std::uint64_t>(status.st_size);
        ::posix_fadvise(descriptor_, 0, 0, POSIX_FADV_SEQUENTIAL);
    }
}

FileSource::~FileSource() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

std::size_t FileSource::read(char* buffer, std::size_t capacity) {
    for (;;) {
        const ssize_t count = ::read(descriptor_, buffer, capacity);
        if (count >= 0) {
            return static_cast<std::size_t>(count);
        }
        if (errno != EINTR) {
            throw Failure("cannot read " + path_ + ".");
        }
    }
}

} // namespace l2v
