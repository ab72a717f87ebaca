#pragma once

#include <cstddef>
#include <string>

namespace l2v {

// Where the writer's filled buffer goes: the output file or, in tests and fuzzing, memory.
class ByteSink {
  public:
    ByteSink() = default;
    ByteSink(const ByteSink&) = delete;
    ByteSink& operator=(const ByteSink&) = delete;
    virtual ~ByteSink() = default;

    // Takes all `size` bytes or throws Failure.
    virtual void write(const char* data, std::size_t size) = 0;
};

class StringSink : public ByteSink {
  public:
    void write(const char* data, std::size_t size) override { text_.append(data, size); }
    const std::string& text() const { return text_; }

  private:
    std::string text_;
};

} // namespace l2v
