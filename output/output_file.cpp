#include "output/output_file.hpp"

#include "common/failure.hpp"
#include "output/process_signals.hpp"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace l2v {
namespace {

Failure cannotCreate() {
    return Failure("can not create vrml file.");
}
Failure cannotWrite() {
    return Failure("can not write vrml file.");
}

mode_t processUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The path whose directory entry a successful run replaces: a link to an existing file is
// followed so that the link itself survives.
std::string replacedPath(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
        return path;
    }
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                               &std::free);
    return resolved ? std::string(resolved.get()) : path;
}

} // namespace

OutputFile::OutputFile(const std::string& path) : targetPath_(replacedPath(path)) {
    struct stat status {};
    const bool exists = ::stat(targetPath_.c_str(), &status) == 0;
    if (!exists || S_ISREG(status.st_mode)) {
        // A replaced file keeps its mode; a new one gets what the umask allows.
        openTemporary(exists ? (status.st_mode & 07777) : (0666 & ~processUmask()));
    }
    if (descriptor_ < 0) {
        openDirect();
    }
}

void OutputFile::openTemporary(mode_t mode) {
    const InterruptsHeldBack heldBack;
    std::string name = directoryOf(targetPath_) + "/.layout2vrml-XXXXXX";
    const int descriptor = ::mkostemp(name.data(), O_CLOEXEC);
    if (descriptor < 0) {
        return;
    }
    ::fchmod(descriptor, mode);
    descriptor_ = descriptor;
    temporaryPath_ = std::move(name);
    setPendingTemporary(temporaryPath_.c_str());
}

// Used for special files, and for a regular file whose directory cannot take a temporary
// file beside it (then the file is truncated in place, and removed again if writing fails).
void OutputFile::openDirect() {
    descriptor_ = ::open(targetPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor_ < 0) {
        throw cannotCreate();
    }
    struct stat status {};
    removeTargetOnFailure_ = ::fstat(descriptor_, &status) == 0 && S_ISREG(status.st_mode);
}

OutputFile::~OutputFile() {
    if (!committed_) {
        discard();
    }
}

void OutputFile::discard() noexcept {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
    if (!temporaryPath_.empty()) {
        ::unlink(temporaryPath_.c_str());
        setPendingTemporary(nullptr);
    } else if (removeTargetOnFailure_) {
        ::unlink(targetPath_.c_str());
    }
}

void OutputFile::write(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(descriptor_, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw cannotWrite();
        }
        if (written == 0) {
            throw cannotWrite();
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

void OutputFile::commit() {
    const int descriptor = descriptor_;
    descriptor_ = -1;
    if (::close(descriptor) != 0) {
        throw cannotWrite();
    }
    if (!temporaryPath_.empty()) {
        if (::rename(temporaryPath_.c_str(), targetPath_.c_str()) != 0) {
            throw cannotWrite();
        }
        setPendingTemporary(nullptr);
        temporaryPath_.clear();
    }
    committed_ = true;
}

} // namespace l2v
