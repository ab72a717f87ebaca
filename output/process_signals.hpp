#pragma once

#include <csignal>

namespace l2v {

// The one owner of the process's signal dispositions, set once at start by `main`:
// - a file-size limit (SIGXFSZ) or a closed pipe (SIGPIPE) must reach the writer as a write
//   error, not end the process silently, so both are ignored;
// - an interrupt (SIGINT, SIGTERM, SIGHUP, unless the caller ignores it) removes the pending
//   temporary file, then ends the process by the same signal.
void prepareProcessSignals();

// Registers the temporary file an interrupt must remove, or none (nullptr). The path must
// stay valid while registered.
void setPendingTemporary(const char* path);

// Holds interrupts back for its lifetime: while a temporary file exists but is not yet
// registered, an interrupt would leave it behind.
class InterruptsHeldBack {
  public:
    InterruptsHeldBack();
    InterruptsHeldBack(const InterruptsHeldBack&) = delete;
    InterruptsHeldBack& operator=(const InterruptsHeldBack&) = delete;
    ~InterruptsHeldBack();

  private:
    sigset_t previous_{};
};

} // namespace l2v
