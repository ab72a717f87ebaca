#pragma once

#include <stdexcept>

namespace l2v {

// A run-ending refusal or error. The text is the one line the user sees (without its
// newline); `main` prints it on standard output and ends with status 1.
class Failure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

} // namespace l2v
