// Runs a fuzz target once on every file named on the command line or found (recursively) in
// a directory named there, so the corpora work as ordinary tests without libFuzzer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> inputsUnder(const std::filesystem::path& place) {
    std::vector<std::filesystem::path> inputs;
    if (!std::filesystem::is_directory(place)) {
        inputs.push_back(place);
        return inputs;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(place)) {
        if (entry.is_regular_file()) {
            inputs.push_back(entry.path());
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

bool runOne(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                  std::istreambuf_iterator<char>());
    std::fprintf(stderr, "running %s\n", path.c_str());
    // libFuzzer never passes a null pointer, not even for an empty input.
    static const std::uint8_t kNoBytes[1] = {};
    const auto* data =
        bytes.empty() ? kNoBytes : reinterpret_cast<const std::uint8_t*>(bytes.data());
    LLVMFuzzerTestOneInput(data, bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::size_t ran = 0;
    for (int i = 1; i < argc; ++i) {
        for (const std::filesystem::path& input : inputsUnder(argv[i])) {
            if (!runOne(input)) {
                return 1;
            }
            ++ran;
        }
    }
    std::fprintf(stderr, "replayed %zu inputs\n", ran);
    // An empty corpus would make the test pass without testing anything.
    return ran > 0 ? 0 : 1;
}
