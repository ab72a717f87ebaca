#include "output/process_signals.hpp"

#include <unistd.h>

namespace l2v {
namespace {

constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};

// Read only by the signal handler.
const char* volatile pendingTemporary = nullptr;

extern "C" void removeTemporaryAndDie(int signalNumber) {
    const char* path = pendingTemporary;
    if (path != nullptr) {
        ::unlink(path);
    }
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

} // namespace

void prepareProcessSignals() {
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    struct sigaction action {};
    action.sa_handler = removeTemporaryAndDie;
    sigemptyset(&action.sa_mask);
    for (const int signalNumber : kInterrupts) {
        struct sigaction previous {};
        // A signal the caller chose to ignore stays ignored.
        if (::sigaction(signalNumber, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN) {
            ::sigaction(signalNumber, &action, nullptr);
        }
    }
}

void setPendingTemporary(const char* path) {
    pendingTemporary = path;
}

InterruptsHeldBack::InterruptsHeldBack() {
    sigset_t interrupts;
    sigemptyset(&interrupts);
    for (const int signalNumber : kInterrupts) {
        sigaddset(&interrupts, signalNumber);
    }
    ::sigprocmask(SIG_BLOCK, &interrupts, &previous_);
}

InterruptsHeldBack::~InterruptsHeldBack() {
    ::sigprocmask(SIG_SETMASK, &previous_, nullptr);
}

} // namespace l2v
