#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace l2v {

// Where the reader takes its bytes from: a file or, in tests and fuzzing, memory.
class ByteSource {
  public:
    ByteSource() = default;
    ByteSource(const ByteSource&) = delete;
    ByteSource& operator=(const ByteSource&) = delete;
    virtual ~ByteSource() = default;

    // Fills up to `capacity` bytes; returns 0 only at the end of the input.
    virtual std::size_t read(char* buffer, std::size_t capacity) = 0;

    // Total size when known in advance; bounds what a header may make the reader reserve.
    virtual std::optional<std::uint64_t> sizeHint() const = 0;
};

class MemorySource : public ByteSource {
  public:
    explicit MemorySource(std::string_view bytes) : rest_(bytes), size_(bytes.size()) {}
    std::size_t read(char* buffer, std::size_t capacity) override;
    std::optional<std::uint64_t> sizeHint() const override { return size_; }

  private:
    std::string_view rest_;
    std::uint64_t size_;
};

// An input file opened for reading; refuses directories and reports read errors.
class FileSource : public ByteSource {
  public:
    explicit FileSource(const std::string& path);
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    ~FileSource() override;
    std::size_t read(char* buffer, std::size_t capacity) override;
    std::optional<std::uint64_t> sizeHint() const override { return size_; }

  private:
    std::string path_;
    int descriptor_ = -1;
    std::optional<std::uint64_t> size_;
};

} // namespace l2v
