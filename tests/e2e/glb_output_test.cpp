// The output name chooses the format: ".glb" in any case gives binary glTF, every other name
// VRML. Both go through the same file handling, messages and statuses.
#include "run_binary.hpp"

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using e2e::readFile;
using e2e::runConverter;

namespace {

const fs::path kExamples = EXAMPLES_DIR;

std::uint32_t wordAt(const std::string& bytes, std::size_t offset) {
    std::uint32_t word = 0;
    std::memcpy(&word, bytes.data() + offset, sizeof word);
    return word;
}

class GlbOutput : public ::testing::Test {
  protected:
    std::string convert(const std::string& outputName,
                        const std::vector<std::string>& options = {}) {
        std::vector<std::string> arguments = {"-in", (kExamples / "karate.3dlayout").string(),
                                              "-out", outputName};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const e2e::RunResult result = runConverter(arguments, scratch.path());
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.output + result.errors, "");
        return readFile(scratch / outputName);
    }

    e2e::ScratchDirectory scratch;
};

} // namespace

// The container as the format lays it out: header, a JSON chunk padded with blanks, a binary
// chunk, every length a multiple of 4 and the total the file's size.
TEST_F(GlbOutput, NameEndingInGlbInAnyCaseGivesBinaryGltf) {
    for (const std::string name : {"scene.glb", "scene.GLB", "scene.Glb"}) {
        SCOPED_TRACE(name);
        const std::string bytes = convert(name, {"-showlabel", "true"});
        ASSERT_GT(bytes.size(), 28U);
        EXPECT_EQ(bytes.substr(0, 4), "glTF");
        EXPECT_EQ(wordAt(bytes, 4), 2U);
        EXPECT_EQ(wordAt(bytes, 8), bytes.size());
        const std::uint32_t jsonLength = wordAt(bytes, 12);
        EXPECT_EQ(bytes.substr(16, 4), "JSON");
        EXPECT_EQ(jsonLength % 4, 0U);
        const std::string json = bytes.substr(20, jsonLength);
        EXPECT_EQ(json.front(), '{');
        EXPECT_EQ(json.substr(json.find_last_not_of(' ')), "}");
        const std::size_t binary = 20 + jsonLength;
        ASSERT_LE(binary + 8, bytes.size());
        EXPECT_EQ(wordAt(bytes, binary), bytes.size() - binary - 8);
        EXPECT_EQ(bytes.substr(binary + 4, 4), std::string("BIN\0", 4));
        EXPECT_NE(json.find(R"({"name":"33","mesh":0,)"), std::string::npos); // 34 labelled nodes
    }
}

TEST_F(GlbOutput, EveryOtherNameStaysVrml) {
    for (const std::string name : {"scene.glb.wrl", "sceneglb", "scene.gl", "glb"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(convert(name).substr(0, 15), "#VRML V2.0 utf8");
    }
    e2e::writeFile(scratch / "graph.3dlayout", readFile(kExamples / "karate.3dlayout"));
    ASSERT_EQ(runConverter({"-in", "graph.3dlayout"}, scratch.path()).status, 0);
    EXPECT_EQ(readFile(scratch / "graph.wrl").substr(0, 15), "#VRML V2.0 utf8");
}

TEST_F(GlbOutput, SameLayoutGivesTheSameBytes) {
    EXPECT_EQ(convert("a.glb"), convert("b.glb"));
    EXPECT_EQ(convert("a.glb", {"-showedge", "false"}), convert("b.glb", {"-showedge", "false"}));
}

TEST_F(GlbOutput, WriteFailureIsReportedAsForVrmlAndKeepsThePreviousFile) {
    const std::string previous = "the scene that stood here before\n";
    e2e::writeFile(scratch / "out.glb", previous);
    e2e::RunLimits limits;
    limits.fileSizeLimit = 4 * 1024;
    const e2e::RunResult result =
        runConverter({"-in", (kExamples / "karate.3dlayout").string(), "-out", "out.glb"},
                     scratch.path(), limits);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, "can not write vrml file.\n");
    EXPECT_EQ(readFile(scratch / "out.glb"), previous);
    EXPECT_EQ(e2e::entriesOf(scratch.path()), std::vector<std::string>{"out.glb"});
}

// -merge takes a value word like the other switches: only "true" merges, and without it (or
// with any other value) both formats are exactly as before.
TEST_F(GlbOutput, MergeSwitchChangesNothingUnlessTrue) {
    for (const std::string name : {"a.wrl", "a.glb"}) {
        SCOPED_TRACE(name);
        const std::string plain = convert(name);
        EXPECT_EQ(convert(name, {"-merge", "false"}), plain);
        EXPECT_EQ(convert(name, {"-merge", "TRUE"}), plain);
        const std::string merged = convert(name, {"-merge", "true"});
        EXPECT_NE(merged, plain);
        EXPECT_EQ(convert(name, {"-mergeall", "true", "-merge", "no"}), plain);
    }
    const std::string vrml = convert("m.wrl", {"-merge", "true"});
    EXPECT_EQ(vrml.substr(0, 15), "#VRML V2.0 utf8");
    std::size_t faceSets = 0;
    for (std::size_t at = vrml.find("IndexedFaceSet"); at != std::string::npos;
         at = vrml.find("IndexedFaceSet", at + 1)) {
        ++faceSets;
    }
    EXPECT_EQ(faceSets, 2U); // one mesh of spheres, one of cylinders
    const std::string glb = convert("m.glb", {"-merge", "true"});
    EXPECT_EQ(glb.find("EXT_mesh_gpu_instancing"), std::string::npos);
}

// glTF holds 32-bit floats. A layout far wider than deep still fits a VRML scene, but its
// fitted positions would overflow a float: the .glb is refused (a fuzzer found "inf" in the
// JSON of such a scene) and nothing is left behind.
TEST_F(GlbOutput, PositionsBeyondTheFloatRangeAreRefused) {
    e2e::writeFile(scratch / "wide.3dlayout", "2 1\n0 0 0 2\n1e60 0 1 1\n");
    const e2e::RunResult glb =
        runConverter({"-in", "wide.3dlayout", "-out", "wide.glb"}, scratch.path());
    EXPECT_EQ(glb.status, 1);
    EXPECT_EQ(glb.output, "coordinates in wide.3dlayout are too far apart to fit.\n");
    EXPECT_EQ(e2e::entriesOf(scratch.path()), std::vector<std::string>{"wide.3dlayout"});
    EXPECT_EQ(runConverter({"-in", "wide.3dlayout", "-out", "wide.wrl"}, scratch.path()).status, 0);
}
