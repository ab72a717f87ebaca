#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace e2e {

struct RunResult {
    int status = -1;    // exit status, or -1 when the process did not exit normally
    std::string output; // standard output
    std::string errors; // standard error
    long peakResidentKiB = 0;
};

struct RunLimits {
    long long fileSizeLimit = -1;     // bytes for RLIMIT_FSIZE; -1 leaves it alone
    long long addressSpaceLimit = -1; // bytes for RLIMIT_AS; -1 leaves it alone
};

// Runs the converter with `arguments` in `directory` and collects what it prints.
RunResult runConverter(const std::vector<std::string>& arguments,
                       const std::filesystem::path& directory, const RunLimits& limits = {});

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& text);

// A fresh, empty directory for one test, removed when the fixture ends.
class ScratchDirectory {
  public:
    ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    ~ScratchDirectory();
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// Names of the directory's entries, sorted.
std::vector<std::string> entriesOf(const std::filesystem::path& directory);

} // namespace e2e
