#include "run_binary.hpp"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace e2e {
namespace {

[[noreturn]] void execConverter(const std::vector<std::string>& arguments,
                                const std::filesystem::path& directory, const RunLimits& limits,
                                int outputPipe, int errorPipe) {
    ::dup2(outputPipe, STDOUT_FILENO);
    ::dup2(errorPipe, STDERR_FILENO);
    if (::chdir(directory.c_str()) != 0) {
        ::_exit(127);
    }
    if (limits.fileSizeLimit >= 0) {
        const rlimit limit{static_cast<rlim_t>(limits.fileSizeLimit),
                           static_cast<rlim_t>(limits.fileSizeLimit)};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (limits.addressSpaceLimit >= 0) {
        const rlimit limit{static_cast<rlim_t>(limits.addressSpaceLimit),
                           static_cast<rlim_t>(limits.addressSpaceLimit)};
        ::setrlimit(RLIMIT_AS, &limit);
    }
    std::vector<char*> argv;
    static std::string program = CONVERTER_PATH;
    argv.push_back(program.data());
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
}

// Reads both pipes to their end without letting either fill up.
void drain(int outputPipe, int errorPipe, std::string& output, std::string& errors) {
    std::array<pollfd, 2> pipes{{{outputPipe, POLLIN, 0}, {errorPipe, POLLIN, 0}}};
    std::array<std::string*, 2> targets{&output, &errors};
    int open = 2;
    while (open > 0) {
        if (::poll(pipes.data(), pipes.size(), -1) < 0) {
            continue;
        }
        for (std::size_t i = 0; i < pipes.size(); ++i) {
            if (pipes[i].fd < 0 || pipes[i].revents == 0) {
                continue;
            }
            std::array<char, 4096> chunk{};
            const ssize_t count = ::read(pipes[i].fd, chunk.data(), chunk.size());
            if (count <= 0) {
                ::close(pipes[i].fd);
                pipes[i].fd = -1;
                --open;
            } else {
                targets[i]->append(chunk.data(), static_cast<std::size_t>(count));
            }
        }
    }
}

} // namespace

RunResult runConverter(const std::vector<std::string>& arguments,
                       const std::filesystem::path& directory, const RunLimits& limits) {
    int outputPipe[2];
    int errorPipe[2];
    if (::pipe(outputPipe) != 0 || ::pipe(errorPipe) != 0) {
        throw std::runtime_error("pipe failed");
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(outputPipe[0]);
        ::close(errorPipe[0]);
        execConverter(arguments, directory, limits, outputPipe[1], errorPipe[1]);
    }
    ::close(outputPipe[1]);
    ::close(errorPipe[1]);
    RunResult result;
    drain(outputPipe[0], errorPipe[0], result.output, result.errors);
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    result.peakResidentKiB = usage.ru_maxrss;
    if (WIFEXITED(status)) {
        result.status = WEXITSTATUS(status);
    }
    return result;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

ScratchDirectory::ScratchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "l2v-e2e-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> entriesOf(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace e2e
