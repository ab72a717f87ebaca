// Bounded resources: memory follows what the file holds, not what its header claims.
#include "run_binary.hpp"

#include <gtest/gtest.h>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMeasuresMemory = false; // shadow memory hides the converter's own use
#else
constexpr bool kMeasuresMemory = true;
#endif

TEST(Resources, LyingHeaderIsRefusedWithoutReservingItsClaims) {
    e2e::ScratchDirectory scratch;
    e2e::writeFile(scratch / "in.3dlayout", "2000000000 2000000000\n0 0 0 2\n1 1 1 1\n");
    const e2e::RunResult result = e2e::runConverter({"-in", "in.3dlayout"}, scratch.path());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, "in.3dlayout ends after 2 of 2000000000 node lines.\n");
    if (kMeasuresMemory) {
        EXPECT_LT(result.peakResidentKiB, 16 * 1024);
    }
}

TEST(Resources, FiftyMegabyteNodeLineConverts) {
    e2e::ScratchDirectory scratch;
    constexpr int kReferences = 12'500'000;
    std::string layout = "2 1\n0 0 0 2\n1 1 1";
    layout.reserve(layout.size() + 4 * kReferences + 16);
    for (int i = 0; i < kReferences; ++i) {
        layout += " 2,1"; // self-references and one back to node 1: no edge is drawn from here
    }
    layout += "\n";
    e2e::writeFile(scratch / "in.3dlayout", layout);
    const e2e::RunResult result =
        e2e::runConverter({"-in", "in.3dlayout", "-out", "out.wrl"}, scratch.path());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output, "");
    const std::string scene = e2e::readFile(scratch / "out.wrl");
    EXPECT_NE(scene.find("radius 1000.000020\n"), std::string::npos); // 0.2 * sqrt(25,000,001)
    EXPECT_EQ(scene.find("geometry Cylinder"), scene.rfind("geometry Cylinder"));
    if (kMeasuresMemory) {
        // The line itself (50 MB, buffered whole) plus 4 bytes per reference (100 MB).
        EXPECT_LT(result.peakResidentKiB, 260 * 1024);
    }
}

TEST(Resources, OutOfMemoryEndsSilentlyWithStatusOne) {
    if (!kMeasuresMemory) {
        GTEST_SKIP() << "the sanitizer runtime needs more address space than the limit";
    }
    e2e::ScratchDirectory scratch;
    std::string layout = "1 0\n0 0 0";
    for (int i = 0; i < 20'000'000; ++i) {
        layout += " 1";
    }
    e2e::writeFile(scratch / "in.3dlayout", layout + "\n");
    e2e::RunLimits limits;
    limits.addressSpaceLimit = 48LL << 20; // the 40 MB line alone needs a 64 MiB buffer
    const e2e::RunResult result =
        e2e::runConverter({"-in", "in.3dlayout", "-out", "out.wrl"}, scratch.path(), limits);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(e2e::entriesOf(scratch.path()), std::vector<std::string>{"in.3dlayout"});
}

} // namespace
