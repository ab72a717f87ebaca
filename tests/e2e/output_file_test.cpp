// Failing disks and interrupted runs: the converter reports the failure in one line, and
// whatever stood at the output path before stays as it was, with no temporary file left.
#include "run_binary.hpp"

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using e2e::readFile;
using e2e::runConverter;

namespace {

const fs::path kData = TEST_DATA_DIR;
const std::string kPrevious = "the scene that stood here before\n";

// A layout whose scene takes tens of megabytes, so that writing it takes a while.
std::string largeLayout(int nodes) {
    std::string text = std::to_string(nodes) + " " + std::to_string(nodes) + "\n";
    for (int i = 0; i < nodes; ++i) {
        const int next = (i + 1) % nodes + 1;
        const int previous = (i + nodes - 1) % nodes + 1;
        text += std::to_string(i % 97) + ".25 " + std::to_string(i % 89) + ".5 -" +
                std::to_string(i % 83) + ".75 " + std::to_string(next) + " " +
                std::to_string(previous) + "\n";
    }
    return text;
}

class FailingOutput : public ::testing::Test {
  protected:
    void SetUp() override {
        e2e::writeFile(scratch / "in.3dlayout", largeLayout(20000));
        e2e::writeFile(scratch / "out.wrl", kPrevious);
    }

    void expectWriteFailureLeftNothing(const e2e::RunResult& result) {
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.output, "can not write vrml file.\n");
        EXPECT_EQ(result.errors, "");
        EXPECT_EQ(readFile(scratch / "out.wrl"), kPrevious);
        EXPECT_EQ(e2e::entriesOf(scratch.path()),
                  (std::vector<std::string>{"in.3dlayout", "out.wrl"}));
    }

    e2e::ScratchDirectory scratch;
};

TEST_F(FailingOutput, DeviceWithNoSpace) {
    const e2e::RunResult result =
        runConverter({"-in", "in.3dlayout", "-out", "/dev/full"}, scratch.path());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, "can not write vrml file.\n");
}

TEST_F(FailingOutput, FileSizeLimitKeepsThePreviousFile) {
    e2e::RunLimits limits;
    limits.fileSizeLimit = 64 * 1024;
    expectWriteFailureLeftNothing(
        runConverter({"-in", "in.3dlayout", "-out", "out.wrl"}, scratch.path(), limits));
}

TEST_F(FailingOutput, FullFilesystemKeepsThePreviousFile) {
    const fs::path mountPoint = scratch / "small";
    fs::create_directory(mountPoint);
    if (::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=256k") != 0) {
        GTEST_SKIP() << "cannot mount a small filesystem here (needs root)";
    }
    e2e::writeFile(mountPoint / "out.wrl", kPrevious);
    const e2e::RunResult result =
        runConverter({"-in", "../in.3dlayout", "-out", "out.wrl"}, mountPoint);
    const std::string kept = readFile(mountPoint / "out.wrl");
    const std::vector<std::string> entries = e2e::entriesOf(mountPoint);
    ::umount(mountPoint.c_str());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, "can not write vrml file.\n");
    EXPECT_EQ(kept, kPrevious);
    EXPECT_EQ(entries, std::vector<std::string>{"out.wrl"});
}

TEST_F(FailingOutput, InterruptKeepsThePreviousFile) {
    e2e::writeFile(scratch / "in.3dlayout", largeLayout(400000));
    const pid_t child = ::fork();
    if (child == 0) {
        ::chdir(scratch.path().c_str());
        ::execl(CONVERTER_PATH, CONVERTER_PATH, "-in", "in.3dlayout", "-out", "out.wrl",
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // Wait until the temporary file is being written, then interrupt.
    bool sawTemporary = false;
    for (int attempt = 0; attempt < 20000 && !sawTemporary; ++attempt) {
        sawTemporary = e2e::entriesOf(scratch.path()).size() > 2;
        if (!sawTemporary) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }
    ::kill(child, SIGTERM);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!sawTemporary || WIFEXITED(status)) {
        GTEST_SKIP() << "the run ended before it could be interrupted";
    }
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(readFile(scratch / "out.wrl"), kPrevious);
    EXPECT_EQ(e2e::entriesOf(scratch.path()), (std::vector<std::string>{"in.3dlayout", "out.wrl"}));
}

mode_t modeOf(const fs::path& path) {
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

TEST(OutputPermissions, NewFileFollowsTheUmask) {
    e2e::ScratchDirectory scratch;
    const mode_t mask = ::umask(027);
    const e2e::RunResult result = runConverter(
        {"-in", (kData / "single.3dlayout").string(), "-out", "new.wrl"}, scratch.path());
    ::umask(mask);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(modeOf(scratch / "new.wrl"), 0640U);
}

TEST(OutputPermissions, ReplacedFileKeepsItsMode) {
    e2e::ScratchDirectory scratch;
    e2e::writeFile(scratch / "old.wrl", kPrevious);
    ::chmod((scratch / "old.wrl").c_str(), 0604);
    const e2e::RunResult result = runConverter(
        {"-in", (kData / "single.3dlayout").string(), "-out", "old.wrl"}, scratch.path());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(modeOf(scratch / "old.wrl"), 0604U);
    EXPECT_EQ(readFile(scratch / "old.wrl"), readFile(kData / "single.wrl"));
}

TEST(OutputLinks, LinkToAFileStaysALink) {
    e2e::ScratchDirectory scratch;
    e2e::writeFile(scratch / "target.wrl", kPrevious);
    fs::create_symlink("target.wrl", scratch / "link.wrl");
    const e2e::RunResult result = runConverter(
        {"-in", (kData / "single.3dlayout").string(), "-out", "link.wrl"}, scratch.path());
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(fs::is_symlink(scratch / "link.wrl"));
    EXPECT_EQ(readFile(scratch / "target.wrl"), readFile(kData / "single.wrl"));
}

} // namespace
