#include "app/run.hpp"
#include "common/failure.hpp"

#include <csignal>
#include <cstdio>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Write errors must reach the converter as errors: a file-size limit (SIGXFSZ) or a closed
// pipe (SIGPIPE) would otherwise end the process silently.
void reportWriteErrorsInsteadOfDying() {
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
}

void printLine(const char* text) {
    std::fputs(text, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    reportWriteErrorsInsteadOfDying();
    try {
        const std::vector<std::string_view> words(argv, argv + argc);
        const std::string text = l2v::runConverter(words);
        std::fputs(text.c_str(), stdout);
    } catch (const l2v::Failure& failure) {
        printLine(failure.what());
        return 1;
    } catch (const std::bad_alloc&) {
        return 1; // out of memory: nothing can be said reliably
    } catch (const std::length_error&) {
        return 1;
    }
    return 0;
}
