#pragma once

#include "output/byte_sink.hpp"

#include <string>
#include <sys/types.h>

namespace l2v {

// The scene file. A regular file (new or existing) is written to a temporary file beside it
// and renamed into place only by `commit`, so a failed or interrupted run leaves whatever
// stood at the path untouched. Devices, pipes and other special files are written directly.
class OutputFile : public ByteSink {
  public:
    // Throws Failure "can not create vrml file." when neither way of writing can be opened.
    explicit OutputFile(const std::string& path);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    // Without a commit: closes and removes the temporary or incomplete file.
    ~OutputFile() override;

    // Throws Failure "can not write vrml file." on any write error.
    void write(const char* data, std::size_t size) override;

    // Closes the file and puts it in place; throws the write failure if either fails.
    void commit();

  private:
    void openTemporary(mode_t mode);
    void openDirect();
    void discard() noexcept;

    std::string targetPath_;
    std::string temporaryPath_; // empty when writing directly
    int descriptor_ = -1;
    bool removeTargetOnFailure_ = false;
    bool committed_ = false;
};

} // namespace l2v
