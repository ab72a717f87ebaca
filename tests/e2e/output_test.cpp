// Whole-file comparisons against scenes worked out by hand, and the derived output names.
#include "run_binary.hpp"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using e2e::readFile;
using e2e::runConverter;

namespace {

const fs::path kData = TEST_DATA_DIR;

class SceneOutput : public ::testing::Test {
  protected:
    // Converts a layout from the test data and expects a silent success.
    std::string convert(const std::string& layout, std::vector<std::string> options = {}) {
        const fs::path output = scratch / "scene.wrl";
        std::vector<std::string> arguments{"-in", (kData / layout).string(), "-out",
                                           output.string()};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const e2e::RunResult result = runConverter(arguments, scratch.path());
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.output, "");
        EXPECT_EQ(result.errors, "");
        return readFile(output);
    }

    e2e::ScratchDirectory scratch;
};

TEST_F(SceneOutput, NodesAndEdgesMatchTheHandWorkedScene) {
    // Radii 0.4 / 0.6 from 3 and 8 references, the three worked edge examples, an edge listed
    // twice by its lower end drawn twice, and no cylinder for lower, self, 0 or negative
    // references.
    EXPECT_EQ(convert("four.3dlayout"), readFile(kData / "four.wrl"));
}

TEST_F(SceneOutput, EdgesSwitchedOffLeaveOnlyNodeBlocks) {
    EXPECT_EQ(convert("four.3dlayout", {"-showedge", "false"}),
              readFile(kData / "four-noedges.wrl"));
}

TEST_F(SceneOutput, FlatLayoutWithLabelsAndEdgesAlongX) {
    EXPECT_EQ(convert("three.3dlayout", {"-showlabel", "true"}),
              readFile(kData / "three-labels.wrl"));
}

TEST_F(SceneOutput, SingleNodeSitsAtTheOrigin) {
    EXPECT_EQ(convert("single.3dlayout"), readFile(kData / "single.wrl"));
}

TEST_F(SceneOutput, CoincidentNodesGiveAnUnturnedCylinder) {
    EXPECT_EQ(convert("coincident.3dlayout"), readFile(kData / "coincident.wrl"));
}

TEST_F(SceneOutput, ExistingOutputIsReplacedNotAppended) {
    e2e::writeFile(scratch / "scene.wrl", std::string(100000, 'x'));
    EXPECT_EQ(convert("single.3dlayout"), readFile(kData / "single.wrl"));
}

TEST_F(SceneOutput, OptionWordsMatchByPrefix) {
    const fs::path output = scratch / "prefix.wrl";
    const e2e::RunResult result =
        runConverter({"-input", (kData / "three.3dlayout").string(), "-output", output.string(),
                      "-showlabels", "true", "-showedges", "true"},
                     scratch.path());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(readFile(output), readFile(kData / "three-labels.wrl"));
}

TEST_F(SceneOutput, OutputNameIsDerivedFromTheLastDot) {
    fs::create_directory(scratch / "dir.old");
    fs::copy_file(kData / "single.3dlayout", scratch / "dir.old" / "a.b.3dlayout");
    const e2e::RunResult result = runConverter({"-in", "dir.old/a.b.3dlayout"}, scratch.path());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(readFile(scratch / "dir.old" / "a.b.wrl"), readFile(kData / "single.wrl"));
    EXPECT_EQ(e2e::entriesOf(scratch / "dir.old"),
              (std::vector<std::string>{"a.b.3dlayout", "a.b.wrl"}));
}

TEST_F(SceneOutput, PathsAreDataNotFormats) {
    const std::string name = "odd %s%n name é";
    fs::copy_file(kData / "single.3dlayout", scratch / (name + ".3dlayout"));
    const e2e::RunResult result =
        runConverter({"-in", "  " + name + ".3dlayout ", "-out", name + ".wrl"}, scratch.path());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(readFile(scratch / (name + ".wrl")), readFile(kData / "single.wrl"));
}

TEST_F(SceneOutput, OutputCanBeASpecialFile) {
    const e2e::RunResult result = runConverter(
        {"-in", (kData / "four.3dlayout").string(), "-out", "/dev/null"}, scratch.path());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(e2e::entriesOf(scratch.path()), std::vector<std::string>{});
}

} // namespace
