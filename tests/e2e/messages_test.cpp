// Every refusal: exactly one line on standard output, status 1, nothing on standard error and
// no output file left behind.
#include "run_binary.hpp"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using e2e::runConverter;

namespace {

void expectRefusal(const e2e::RunResult& result, const std::string& message) {
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, message);
    EXPECT_EQ(result.errors, "");
}

struct LayoutCase {
    const char* name;
    std::string layout;
    std::string message;
};

void PrintTo(const LayoutCase& layoutCase, std::ostream* out) {
    *out << layoutCase.name;
}

class RefusedLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(RefusedLayout, PrintsOneLineAndWritesNothing) {
    e2e::ScratchDirectory scratch;
    e2e::writeFile(scratch / "in.3dlayout", GetParam().layout);
    expectRefusal(runConverter({"-in", "in.3dlayout"}, scratch.path()), GetParam().message);
    EXPECT_EQ(e2e::entriesOf(scratch.path()), std::vector<std::string>{"in.3dlayout"});
}

const LayoutCase kRefusedLayouts[] = {
    {"EmptyFile", "", "no header in in.3dlayout.\n"},
    {"CommentsOnly", "% a\n%\n", "no header in in.3dlayout.\n"},
    {"HeaderNotNumbers", "% c\nthree two\n0 0 0\n", "bad header in in.3dlayout at line 2.\n"},
    {"HeaderOneCount", "1\n0 0 0\n", "bad header in in.3dlayout at line 1.\n"},
    {"EmptyHeaderLine", "\n1 0\n0 0 0\n", "bad header in in.3dlayout at line 1.\n"},
    {"NoNodes", "0 0\n", "bad header in in.3dlayout at line 1.\n"},
    {"NegativeEdges", "1 -1\n0 0 0\n", "bad header in in.3dlayout at line 1.\n"},
    {"CountTooLarge", "2147483648 0\n0 0 0\n", "bad header in in.3dlayout at line 1.\n"},
    {"TooFewNodeLines", "3 1\n0 0 0 2\n1 1 1 1\n", "in.3dlayout ends after 2 of 3 node lines.\n"},
    {"HeaderClaimsBillions", "2000000000 2000000000\n0 0 0\n1 1 1\n",
     "in.3dlayout ends after 2 of 2000000000 node lines.\n"},
    {"TwoCoordinates", "%\n2 0\n0 0 0\n1 2\n", "too few coordinates in in.3dlayout at line 4.\n"},
    {"TwoCoordinatesThenReturn", "1 0\n1 2\r\n", "too few coordinates in in.3dlayout at line 2.\n"},
    {"EmptyNodeLine", "1 0\n\n", "too few coordinates in in.3dlayout at line 2.\n"},
    {"SlashField", "1 0\n/ 0 0\n", "bad number \"/\" in in.3dlayout at line 2.\n"},
    {"WordNeighbour", "2 1\n0 0 0 two\n1 1 1\n", "bad number \"two\" in in.3dlayout at line 2.\n"},
    {"SignOnlyNeighbour", "2 1\n0 0 0 -\n1 1 1\n", "bad number \"-\" in in.3dlayout at line 2.\n"},
    {"NeighbourAboveCount", "2 1\n0 0 0 2\n1 1 1 3\n",
     "neighbour 3 in in.3dlayout at line 3 is out of range.\n"},
    {"NeighbourBeyond32Bits", "2 1\n0 0 0 4294967298\n1 1 1\n",
     "neighbour 4294967298 in in.3dlayout at line 2 is out of range.\n"},
    {"CoordinateOverflows", "1 0\n0 1e999 0\n",
     "coordinate 1e999 in in.3dlayout at line 2 is out of range.\n"},
    {"FittedCoordinatesOverflow", "2 0\n-1e308 0 0\n1e308 0 1\n",
     "coordinates in in.3dlayout are too far apart to fit.\n"},
};

INSTANTIATE_TEST_SUITE_P(Messages, RefusedLayout, ::testing::ValuesIn(kRefusedLayouts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RefusedCommandLine, NoArgumentsAtAll) {
    e2e::ScratchDirectory scratch;
    expectRefusal(runConverter({}, scratch.path()), "no input file.\n");
}

TEST(RefusedCommandLine, OptionWithoutValueIsIgnored) {
    e2e::ScratchDirectory scratch;
    expectRefusal(runConverter({"-in"}, scratch.path()), "no input file.\n");
}

TEST(RefusedCommandLine, WrongExtensions) {
    e2e::ScratchDirectory scratch;
    for (const char* name : {"graph.3DLAYOUT", "graph.3dlayout.bak", "graph", "dir.old/graph"}) {
        expectRefusal(runConverter({"-in", name}, scratch.path()),
                      "file type errors. please input 3dlayout file.\n");
    }
}

TEST(RefusedInput, MissingFile) {
    e2e::ScratchDirectory scratch;
    expectRefusal(runConverter({"-in", "missing.3dlayout"}, scratch.path()),
                  "cannot open missing.3dlayout. \n");
    EXPECT_TRUE(e2e::entriesOf(scratch.path()).empty());
}

TEST(RefusedInput, DirectoryAsInput) {
    e2e::ScratchDirectory scratch;
    fs::create_directory(scratch / "d.3dlayout");
    expectRefusal(runConverter({"-in", "d.3dlayout"}, scratch.path()),
                  "cannot open d.3dlayout. \n");
    EXPECT_EQ(e2e::entriesOf(scratch.path()), std::vector<std::string>{"d.3dlayout"});
}

TEST(RefusedInput, ReadErrorIsReported) {
    // Reading a process's own memory from offset 0 fails with EIO.
    e2e::ScratchDirectory scratch;
    fs::create_symlink("/proc/self/mem", scratch / "mem.3dlayout");
    expectRefusal(runConverter({"-in", "mem.3dlayout"}, scratch.path()),
                  "cannot read mem.3dlayout.\n");
    EXPECT_EQ(e2e::entriesOf(scratch.path()), std::vector<std::string>{"mem.3dlayout"});
}

TEST(RefusedInput, PathWithFormatCharactersIsPrintedVerbatim) {
    e2e::ScratchDirectory scratch;
    expectRefusal(runConverter({"-in", "%s%n %d.3dlayout"}, scratch.path()),
                  "cannot open %s%n %d.3dlayout. \n");
}

TEST(RefusedOutput, DirectoryThatDoesNotExist) {
    e2e::ScratchDirectory scratch;
    e2e::writeFile(scratch / "in.3dlayout", "1 0\n0 0 0\n");
    expectRefusal(runConverter({"-in", "in.3dlayout", "-out", "no/such/dir/x.wrl"}, scratch.path()),
                  "can not create vrml file.\n");
}

TEST(RefusedOutput, ExistingDirectoryAsOutput) {
    e2e::ScratchDirectory scratch;
    e2e::writeFile(scratch / "in.3dlayout", "1 0\n0 0 0\n");
    fs::create_directory(scratch / "out.wrl");
    expectRefusal(runConverter({"-in", "in.3dlayout", "-out", "out.wrl"}, scratch.path()),
                  "can not create vrml file.\n");
}

// Naming the layout as the output, directly or through a link, would replace the user's
// data with the scene; it is refused and the layout stays as it was.
TEST(RefusedOutput, TheInputFileItself) {
    e2e::ScratchDirectory scratch;
    const std::string layout = "2 1\n0 0 0 2\n1 1 1 1\n";
    e2e::writeFile(scratch / "g.3dlayout", layout);
    fs::create_symlink("g.3dlayout", scratch / "link.glb");
    for (const std::string output : {"g.3dlayout", "./g.3dlayout", "link.glb"}) {
        SCOPED_TRACE(output);
        expectRefusal(runConverter({"-in", "g.3dlayout", "-out", output}, scratch.path()),
                      "output " + output + " is the input file.\n");
        EXPECT_EQ(e2e::readFile(scratch / "g.3dlayout"), layout);
        EXPECT_EQ(e2e::entriesOf(scratch.path()),
                  (std::vector<std::string>{"g.3dlayout", "link.glb"}));
    }
}

TEST(HelpAndVersion, PrintOnStandardOutputAndSucceed) {
    e2e::ScratchDirectory scratch;
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"-h"}, {"--help"}, {"-in", "g.3dlayout", "--help"}}) {
        const e2e::RunResult result = runConverter(words, scratch.path());
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.output.rfind("usage: layout2vrml -in graph.3dlayout", 0), 0U);
        EXPECT_NE(result.output.find("-showedge"), std::string::npos);
        EXPECT_EQ(result.errors, "");
    }
    const e2e::RunResult version = runConverter({"--version"}, scratch.path());
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output, "layout2vrml " LAYOUT2VRML_VERSION "\n");
    EXPECT_TRUE(e2e::entriesOf(scratch.path()).empty());
    // As the value of an option the word keeps its old meaning: here, a label switch value.
    expectRefusal(runConverter({"-showlabel", "--help"}, scratch.path()), "no input file.\n");
}

} // namespace
