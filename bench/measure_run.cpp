// Runs one command and reports what it cost: wall time, user and system CPU time and peak
// resident memory of the child, taken from wait4(2). The child's standard output goes to
// standard error so that the one result line on standard output stays machine-readable.
//
// Usage: measure_run COMMAND [ARGUMENTS...]
// Prints: WALL_SECONDS USER_SECONDS SYSTEM_SECONDS PEAK_RSS_KIB EXIT_STATUS
// and exits with the child's status (128 + signal number when a signal ended it).

#include <cstdio>
#include <ctime>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double secondsOf(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
}

double secondsBetween(const timespec& start, const timespec& end) {
    return static_cast<double>(end.tv_sec - start.tv_sec) +
           static_cast<double>(end.tv_nsec - start.tv_nsec) * 1e-9;
}

[[noreturn]] void runChild(char** command) {
    ::dup2(STDERR_FILENO, STDOUT_FILENO);
    ::execvp(command[0], command);
    std::perror(command[0]);
    ::_exit(127);
}

int exitStatusOf(int status) {
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : 255;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: measure_run COMMAND [ARGUMENTS...]\n", stderr);
        return 2;
    }
    std::fflush(stdout);
    timespec start{};
    ::clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t child = ::fork();
    if (child < 0) {
        std::perror("fork");
        return 2;
    }
    if (child == 0) {
        runChild(argv + 1);
    }
    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) < 0) {
        std::perror("wait4");
        return 2;
    }
    timespec end{};
    ::clock_gettime(CLOCK_MONOTONIC, &end);
    const int exitStatus = exitStatusOf(status);
    std::printf("%.6f %.6f %.6f %ld %d\n", secondsBetween(start, end), secondsOf(usage.ru_utime),
                secondsOf(usage.ru_stime), usage.ru_maxrss, exitStatus);
    return exitStatus;
}
