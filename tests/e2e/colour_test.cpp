// -color end to end: components and partition files on small graphs with known answers, every
// refusal of a partition file, and the same bytes on every run.
#include "run_binary.hpp"

#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;
using e2e::readFile;
using e2e::runConverter;

namespace {

// Six nodes: a triangle 0-1-2, an edge 3-4 and node 5 alone.
const std::string kSixNodes = "6 4\n"
                              "0 0 0 2 3\n"
                              "1 0 0 3\n"
                              "0 1 0\n"
                              "5 5 5 5\n"
                              "6 5 5\n"
                              "9 9 9\n";

const std::string kRed = "0.95 0.3 0.3";
const std::string kSky = "0.35 0.7 1";
const std::string kYellow = "0.95 0.9 0.25";
const std::string kEdge = "0.5 0.5 1";

// Every material colour of the scene in file order: nodes, then edges.
std::vector<std::string> diffuseColours(const std::string& scene) {
    std::vector<std::string> colours;
    std::istringstream lines(scene);
    std::string line;
    const std::string key = "diffuseColor ";
    while (std::getline(lines, line)) {
        const std::size_t at = line.find(key);
        if (at != std::string::npos) {
            colours.push_back(line.substr(at + key.size()));
        }
    }
    return colours;
}

class ColourOption : public ::testing::Test {
  protected:
    void SetUp() override { e2e::writeFile(scratch / "in.3dlayout", kSixNodes); }

    std::string convert(const std::vector<std::string>& options,
                        const std::string& output = "out.wrl") {
        std::vector<std::string> arguments{"-in", "in.3dlayout", "-out", output};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const e2e::RunResult result = runConverter(arguments, scratch.path());
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.output, "");
        EXPECT_EQ(result.errors, "");
        return readFile(scratch / output);
    }

    e2e::ScratchDirectory scratch;
};

TEST_F(ColourOption, ComponentsLargestFirstWithTheirEdges) {
    const std::string scene = convert({"-color", "component"});
    EXPECT_EQ(diffuseColours(scene), (std::vector<std::string>{kRed, kRed, kRed, kSky, kSky,
                                                               kYellow, kRed, kRed, kRed, kSky}));
    EXPECT_NE(scene.find("    info [\n"
                         "        \"(VRML output) a graph layout drawn as spheres and cylinders\"\n"
                         "        \"colour by component\"\n"
                         "        \"component 1: 0.95 0.3 0.3, 3 nodes\"\n"
                         "        \"component 2: 0.35 0.7 1, 2 nodes\"\n"
                         "        \"component 3: 0.95 0.9 0.25, 1 nodes\"\n"
                         "    ]\n"),
              std::string::npos);
}

TEST_F(ColourOption, CommunitiesFinishWhereNoCommunitiesJoinOrNoEdgeIsDrawn) {
    // The triangle, the pair and the lone node share no edge: three communities, and as none
    // touches another, all take the first colour.
    const std::string scene = convert({"-color", "community"});
    EXPECT_EQ(diffuseColours(scene), std::vector<std::string>(10, kRed));
    EXPECT_NE(scene.find("        \"colour by community (3 communities; touching ones differ)\"\n"
                         "        \"colour 1 (3 communities): 0.95 0.3 0.3, 6 nodes\"\n"
                         "    ]\n"),
              std::string::npos);
    e2e::writeFile(scratch / "in.3dlayout", "2 0\n0 0 0\n1 1 1\n");
    EXPECT_EQ(diffuseColours(convert({"-color", "community"})),
              (std::vector<std::string>{kRed, kRed}));
}

TEST_F(ColourOption, TouchingCommunitiesTakeDifferentColours) {
    // Two triangles joined by edge 2-3: the joining edge keeps the edge colour.
    e2e::writeFile(scratch / "in.3dlayout", "6 7\n"
                                            "0 0 0 2 3\n"
                                            "1 0 0 1 3\n"
                                            "0 1 0 1 2 4\n"
                                            "5 5 5 3 5 6\n"
                                            "6 5 5 4 6\n"
                                            "5 6 5 4 5\n");
    const std::string scene = convert({"-color", "community"});
    EXPECT_EQ(diffuseColours(scene),
              (std::vector<std::string>{kRed, kRed, kRed, kSky, kSky, kSky, kRed, kRed, kRed, kEdge,
                                        kSky, kSky, kSky}));
    EXPECT_NE(scene.find("        \"colour by community (2 communities; touching ones differ)\"\n"
                         "        \"colour 1 (1 community): 0.95 0.3 0.3, 3 nodes\"\n"
                         "        \"colour 2 (1 community): 0.35 0.7 1, 3 nodes\"\n"),
              std::string::npos);
}

TEST_F(ColourOption, PlainPartitionFileEdgesOnlyWithinAClass) {
    // Class 3 is largest, then 7, then 9; an edge between classes keeps the edge colour.
    e2e::writeFile(scratch / "classes.txt", "7\n7\n3\n3\n3\n9\n");
    const std::string scene = convert({"-color", "classes.txt"});
    EXPECT_EQ(diffuseColours(scene), (std::vector<std::string>{kSky, kSky, kRed, kRed, kRed,
                                                               kYellow, kSky, kEdge, kEdge, kRed}));
    EXPECT_NE(scene.find("\"class 3: 0.95 0.3 0.3, 3 nodes\"\n"
                         "        \"class 7: 0.35 0.7 1, 2 nodes\"\n"
                         "        \"class 9: 0.95 0.9 0.25, 1 nodes\"\n"),
              std::string::npos);
}

TEST_F(ColourOption, CluFileWithCommentsBlankLinesAndCarriageReturns) {
    e2e::writeFile(scratch / "classes.clu",
                   "% from a partition\r\n*Vertices 6\r\n1\r\n1\r\n\r\n2\r\n2\r\n+2\r\n-4\r\n");
    EXPECT_EQ(diffuseColours(convert({"-color", "classes.clu"})),
              (std::vector<std::string>{kSky, kSky, kRed, kRed, kRed, kYellow, kSky, kEdge, kEdge,
                                        kRed}));
}

TEST_F(ColourOption, EqualSizesRankByTheirFirstNode) {
    e2e::writeFile(scratch / "classes.txt", "5\n5\n1\n1\n0\n0\n");
    const std::vector<std::string> colours = diffuseColours(convert({"-color", "classes.txt"}));
    EXPECT_EQ(std::vector<std::string>(colours.begin(), colours.begin() + 6),
              (std::vector<std::string>{kRed, kRed, kSky, kSky, kYellow, kYellow}));
}

TEST_F(ColourOption, ClassesBeyondThePaletteShareTheOtherColour) {
    e2e::writeFile(
        scratch / "in.3dlayout", "14 0\n" + [] {
            std::string lines;
            for (int i = 0; i < 14; ++i) {
                lines += std::to_string(i) + " 0 0\n";
            }
            return lines;
        }());
    std::string classes;
    for (int i = 0; i < 14; ++i) {
        classes += std::to_string(i) + "\n";
    }
    e2e::writeFile(scratch / "classes.txt", classes);
    const std::string scene = convert({"-color", "classes.txt"});
    const std::vector<std::string> colours = diffuseColours(scene);
    ASSERT_EQ(colours.size(), 14U);
    EXPECT_EQ(colours[11], "0.35 0.45 0.95");
    EXPECT_EQ(colours[12], "0.6 0.6 0.6");
    EXPECT_EQ(colours[13], "0.6 0.6 0.6");
    EXPECT_NE(scene.find("\"other (2 classes): 0.6 0.6 0.6, 2 nodes\""), std::string::npos);
    for (std::size_t i = 0; i < 12; ++i) {
        for (std::size_t j = i + 1; j < 14; ++j) {
            EXPECT_NE(colours[i], colours[j]) << i << " and " << j;
        }
    }
}

TEST_F(ColourOption, DegreeColoursNodesOnlyAndOrdersByCount) {
    const std::vector<std::string> colours = diffuseColours(convert({"-color", "degree"}));
    ASSERT_EQ(colours.size(), 10U);
    EXPECT_EQ(colours[0], "0.94 0.975 0.131"); // most references: the map's end
    EXPECT_EQ(colours[2], "0.417 0 0.658");    // fewest: its start
    EXPECT_EQ(colours[5], colours[2]);
    EXPECT_NE(colours[1], colours[0]);
    for (std::size_t edge = 6; edge < 10; ++edge) {
        EXPECT_EQ(colours[edge], kEdge);
    }
}

TEST_F(ColourOption, LaterColourWordWinsAndOthersStayUntouched) {
    const std::string plain = convert({}, "plain.wrl");
    const std::string coloured = convert({"-color", "degree", "-color", "component"});
    EXPECT_EQ(coloured, convert({"-color", "component"}, "again.wrl"));
    // Only the WorldInfo and the colour values differ from the uncoloured scene.
    std::istringstream a(plain.substr(plain.find("Viewpoint")));
    std::istringstream b(coloured.substr(coloured.find("Viewpoint")));
    std::string lineA;
    std::string lineB;
    int lines = 0;
    while (std::getline(a, lineA) && std::getline(b, lineB)) {
        ++lines;
        if (lineA.find("diffuseColor") == std::string::npos) {
            EXPECT_EQ(lineA, lineB);
        }
    }
    EXPECT_FALSE(std::getline(b, lineB));
    EXPECT_GT(lines, 100);
}

TEST_F(ColourOption, MergedMeshesColourEveryFace) {
    const std::string scene = convert({"-color", "component", "-merge", "true"});
    EXPECT_NE(
        scene.find("        colorPerVertex FALSE\n        color Color {\n            color [\n" +
                   kRed + "\n" + kSky + "\n" + kYellow + "\n            ]\n"),
        std::string::npos);
}

struct PartitionCase {
    const char* name;
    std::string file;
    std::string message;
};

void PrintTo(const PartitionCase& partitionCase, std::ostream* out) {
    *out << partitionCase.name;
}

class RefusedPartition : public ::testing::TestWithParam<PartitionCase> {};

TEST_P(RefusedPartition, PrintsOneLineAndWritesNothing) {
    e2e::ScratchDirectory scratch;
    e2e::writeFile(scratch / "in.3dlayout", kSixNodes);
    fs::create_directory(scratch / "folder");
    std::vector<std::string> expected{"folder", "in.3dlayout"};
    std::string path = "folder";
    if (!GetParam().file.empty()) {
        e2e::writeFile(scratch / "p.clu", GetParam().file);
        path = "p.clu";
        expected.emplace_back("p.clu");
    }
    const e2e::RunResult result =
        runConverter({"-in", "in.3dlayout", "-color", path}, scratch.path());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, GetParam().message);
    EXPECT_EQ(result.errors, "");
    EXPECT_EQ(e2e::entriesOf(scratch.path()), expected);
}

const PartitionCase kRefusedPartitions[] = {
    {"NotAFile", "", "cannot read partition file folder.\n"},
    {"NotAnInteger", "1\n1\n% fine\n\n2.5\n2\n2\n3\n",
     "class 2.5 is not an integer in p.clu at line 5.\n"},
    {"WordInsteadOfClass", "1\n1\n2\n2\n2\nthree\n",
     "class three is not an integer in p.clu at line 6.\n"},
    {"TooFew", "1\n1\n2\n2\n2\n\n", "partition file p.clu ends after 5 of 6 classes at line 6.\n"},
    {"TooMany", "1\n1\n2\n2\n2\n3\n\n4\n",
     "more classes than the layout's 6 nodes in p.clu at line 8.\n"},
    {"VertexCountDiffers", "% c\n*Vertices 5\n1\n1\n2\n2\n2\n",
     "partition of 5 nodes in p.clu at line 2 for a layout of 6 nodes.\n"},
    {"VertexCountNotANumber", "*vertices six\n1\n1\n2\n2\n2\n3\n",
     "vertex count six is not a number in p.clu at line 1.\n"},
    {"BeyondSixtyFourBits", "1\n1\n2\n2\n2\n99999999999999999999\n",
     "class 99999999999999999999 is not an integer in p.clu at line 6.\n"},
};

INSTANTIATE_TEST_SUITE_P(Refusals, RefusedPartition, ::testing::ValuesIn(kRefusedPartitions),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ColourMissing, MissingPartitionFileIsNamed) {
    e2e::ScratchDirectory scratch;
    e2e::writeFile(scratch / "in.3dlayout", kSixNodes);
    const e2e::RunResult result =
        runConverter({"-in", "in.3dlayout", "-color", "nope.clu"}, scratch.path());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, "cannot read partition file nope.clu.\n");
    EXPECT_EQ(e2e::entriesOf(scratch.path()), std::vector<std::string>{"in.3dlayout"});
}

} // namespace
