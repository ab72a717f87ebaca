// Times the writing part of a conversion alone: the layout is read first (not timed), then
// the export (fitting, creating, writing and renaming the file) is timed. Compared with the
// write floor of the same number of bytes, it tells how close an encoder writes to the disk's
// speed, apart from the time reading the input takes.
//
// Usage: measure_export IN.3dlayout OUT [RUNS] [-showlabel true] [-showedge false]
// Prints: one line per run, "EXPORT_SECONDS OUTPUT_BYTES".

#include "app/scene_export.hpp"
#include "common/failure.hpp"
#include "layout/layout_reader.hpp"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace {

// Each run starts without the file it writes; devices such as /dev/null are left alone.
void removeEarlierScene(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
        std::remove(path.c_str());
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: measure_export IN.3dlayout OUT [RUNS] [-showlabel true] "
                   "[-showedge false]\n",
                   stderr);
        return 2;
    }
    const std::string input = argv[1];
    const std::string output = argv[2];
    const int runs = argc > 3 ? std::atoi(argv[3]) : 1;
    l2v::SceneSwitches switches;
    for (int i = 4; i + 1 < argc; i += 2) {
        const std::string_view option = argv[i];
        const std::string_view value = argv[i + 1];
        if (option == "-showlabel") {
            switches.showLabels = value == "true";
        } else if (option == "-showedge") {
            switches.showEdges = value == "true";
        }
    }
    try {
        for (int run = 0; run < runs; ++run) {
            l2v::Layout layout = l2v::loadLayout(input);
            removeEarlierScene(output);
            const auto start = std::chrono::steady_clock::now();
            l2v::exportScene(output, layout, switches);
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            struct stat written {};
            ::stat(output.c_str(), &written);
            std::printf("%.6f %lld\n", took.count(), static_cast<long long>(written.st_size));
        }
    } catch (const l2v::Failure& failure) {
        std::printf("%s\n", failure.what());
        return 1;
    }
    return 0;
}
