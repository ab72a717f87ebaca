// An output name ending in ".html" gives one self-contained page: the viewer and the scene data,
// base64-encoded inside it, with the same file handling, messages and statuses as every format.
#include "run_binary.hpp"
#include "tests/support/page_data.hpp"

#include <cstdint>
#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;
using e2e::readFile;
using e2e::runConverter;
using e2e::writeFile;
using l2v::testing::valueAt;

namespace {

const fs::path kExamples = EXAMPLES_DIR;

// The scene data of a page, decoded.
std::string pageData(const std::string& page) {
    const auto data = l2v::testing::pageData(page);
    EXPECT_TRUE(data.has_value()) << "no data element, or its data is not base64";
    return data.value_or("");
}

// The sphere positions of a per-element VRML scene without labels, in node order: the
// translation of each top-level Transform whose geometry is a Sphere.
std::vector<std::array<double, 3>> vrmlPositions(const std::string& scene) {
    std::vector<std::array<double, 3>> positions;
    std::istringstream lines(scene);
    std::array<double, 3> place{};
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("    translation ")) {
            std::istringstream numbers(line.substr(16));
            numbers >> place[0] >> place[1] >> place[2];
        } else if (line.find("geometry Sphere") != std::string::npos) {
            positions.push_back(place);
        }
    }
    return positions;
}

class HtmlOutput : public ::testing::Test {
  protected:
    e2e::RunResult run(const fs::path& layout, const std::string& outputName,
                       const std::vector<std::string>& options = {}) {
        std::vector<std::string> arguments = {"-in", layout.string(), "-out", outputName};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return runConverter(arguments, scratch.path());
    }
    std::string convert(const fs::path& layout, const std::string& outputName,
                        const std::vector<std::string>& options = {}) {
        const e2e::RunResult result = run(layout, outputName, options);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.output + result.errors, "");
        return readFile(scratch / outputName);
    }

    e2e::ScratchDirectory scratch;
};

} // namespace

// A page that asks for nothing: no address to fetch from, and a policy that forbids requests.
TEST_F(HtmlOutput, NameEndingInHtmlInAnyCaseGivesOneSelfContainedPage) {
    for (const std::string name : {"scene.html", "scene.HTML", "scene.Html"}) {
        SCOPED_TRACE(name);
        const std::string page = convert(kExamples / "karate.3dlayout", name);
        EXPECT_TRUE(page.starts_with("<!DOCTYPE html>\n"));
        EXPECT_NE(
            page.find(R"(<meta http-equiv="Content-Security-Policy" content="default-src 'none';)"),
            std::string::npos);
        EXPECT_EQ(page.find("http:"), std::string::npos);
        EXPECT_EQ(page.find("https:"), std::string::npos);
        EXPECT_EQ(page.find("{{"), std::string::npos) << "a placeholder was left in the page";
        EXPECT_TRUE(page.ends_with("</html>\n"));
    }
    EXPECT_EQ(convert(kExamples / "karate.3dlayout", "scene.htm").substr(0, 10), "#VRML V2.0");
}

// The data: header, float32 positions equal to the VRML scene's, run lengths, and the edges in
// the VRML scene's order; the switches as flags.
TEST_F(HtmlOutput, DataHoldsTheFittedSceneInTheVrmlOrder) {
    const fs::path layout = kExamples / "karate.3dlayout";
    const std::string data = pageData(convert(layout, "scene.html", {"-showlabel", "true"}));
    const auto positions = vrmlPositions(convert(layout, "scene.wrl"));
    ASSERT_EQ(positions.size(), 34U);
    ASSERT_GE(data.size(), 24U);
    EXPECT_EQ(data.substr(0, 4), "L2VG");
    EXPECT_EQ(valueAt<std::uint32_t>(data, 4), 1U);
    const auto nodes = valueAt<std::uint32_t>(data, 8);
    const auto edges = valueAt<std::uint32_t>(data, 12);
    EXPECT_EQ(nodes, 34U);
    EXPECT_EQ(edges, 78U);
    EXPECT_EQ(valueAt<std::uint32_t>(data, 16), 3U) << "labels and edges shown";
    ASSERT_EQ(data.size(), 24 + 16 * std::size_t{nodes} + 8 * std::size_t{edges});
    for (std::size_t i = 0; i < nodes; ++i) {
        for (std::size_t axis = 0; axis < 3; ++axis) {
            const auto value = valueAt<float>(data, 24 + 12 * i + 4 * axis);
            EXPECT_NEAR(value, positions[i][axis], 1e-5) << "node " << i << " axis " << axis;
        }
    }
    const std::size_t counts = 24 + 12 * std::size_t{nodes};
    EXPECT_EQ(valueAt<std::uint32_t>(data, counts), 17U) << "node 0: 16 references";
    const std::size_t pairs = counts + 4 * std::size_t{nodes};
    // Node 0's run starts "2 3 4": the first edges join it to nodes 1, 2 and 3.
    for (std::uint32_t k = 0; k < 3; ++k) {
        EXPECT_EQ(valueAt<std::uint32_t>(data, pairs + 8 * k), 0U);
        EXPECT_EQ(valueAt<std::uint32_t>(data, pairs + 8 * k + 4), k + 1);
    }
    const std::string hidden = pageData(convert(layout, "hidden.html", {"-showedge", "false"}));
    EXPECT_EQ(valueAt<std::uint32_t>(hidden, 16), 0U) << "neither labels nor edges shown";
    EXPECT_EQ(valueAt<std::uint32_t>(hidden, 12), 78U) << "edges stay, for the neighbours";
}

// A name that is markup stays text: the page's title and heading show it, nothing runs it.
// Only the file's own name is shown, never the directories it lies in.
TEST_F(HtmlOutput, InputNameIsShownAsTextWithoutItsDirectories) {
    fs::create_directory(scratch / "private-dir");
    const fs::path layout = scratch / "private-dir" / "<img src=x onerror=alert(1)>.3dlayout";
    fs::copy_file(kExamples / "karate.3dlayout", layout);
    const std::string page = convert(layout, "scene.html");
    EXPECT_EQ(page.find("<img src=x"), std::string::npos);
    EXPECT_EQ(page.find("private-dir"), std::string::npos);
    EXPECT_NE(page.find("<title>&lt;img src=x onerror=alert(1)&gt;.3dlayout</title>"),
              std::string::npos);
}

// Positions that 32-bit floats cannot hold are refused as in a .glb, and nothing is written;
// VRML, written in double, takes them.
TEST_F(HtmlOutput, RefusesCoordinatesBeyondFloats) {
    writeFile(scratch / "wide.3dlayout", "2 1\n0 0 0 2\n1e39 0 1 1\n");
    const e2e::RunResult result = run(scratch / "wide.3dlayout", "wide.html");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, "coordinates in " + (scratch / "wide.3dlayout").string() +
                                 " are too far apart to fit.\n");
    EXPECT_FALSE(fs::exists(scratch / "wide.html"));
    EXPECT_EQ(run(scratch / "wide.3dlayout", "wide.wrl").status, 0);
}
