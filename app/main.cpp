#include "app/run.hpp"
#include "common/failure.hpp"
#include "output/process_signals.hpp"

#include <cstdio>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

void printLine(const char* text) {
    std::fputs(text, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    l2v::prepareProcessSignals();
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
