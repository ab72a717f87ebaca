// -names end to end: a node table's names and attributes in every format, colouring by a
// column, and the refusals that leave nothing written.
#include "run_binary.hpp"
#include "tests/support/page_data.hpp"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using e2e::readFile;
using e2e::runConverter;
using e2e::writeFile;

namespace {

// Four nodes in a path 0-1-2-3.
const std::string kPath = "4 3\n"
                          "0 0 0 2\n"
                          "1 0 0 3\n"
                          "2 0 0 4\n"
                          "3 0 0\n";

// Rows out of node order, names that are markup, quotes, backslashes, lines and right-to-left
// text, and a group column with one empty value.
const std::string kTable = "group,node,name\n"
                           "b,3,\"say \"\"hi\"\" \\ \"\"]}\"\n"
                           "a,1,<img src=x onerror=alert(1)>\n"
                           ",4,\"two\nlines\"\n"
                           "a,2,\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D\n";
const std::vector<std::string> kNames = {"<img src=x onerror=alert(1)>",
                                         "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", "say \"hi\" \\ \"]}",
                                         "two\nlines"};

class Names : public ::testing::Test {
  protected:
    Names() {
        writeFile(scratch / "path.3dlayout", kPath);
        writeFile(scratch / "nodes.csv", kTable);
    }

    e2e::RunResult run(const std::string& output, const std::vector<std::string>& options) {
        std::vector<std::string> arguments = {"-in", "path.3dlayout", "-out", output};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return runConverter(arguments, scratch.path());
    }

    std::string convert(const std::string& output, const std::vector<std::string>& options) {
        const e2e::RunResult result = run(output, options);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.output + result.errors, "");
        return readFile(scratch / output);
    }

    e2e::ScratchDirectory scratch;
};

TEST_F(Names, PageCarriesEveryNodesNameAndAttributesInNodeOrder) {
    const std::string page = convert("p.html", {"-names", "nodes.csv", "-color", "column:group"});
    const auto names = l2v::testing::pageNames(page, 4);
    ASSERT_TRUE(names.has_value());
    EXPECT_EQ(names->headersJson, R"(["name","group"])");
    ASSERT_EQ(names->cells.size(), 4U);
    for (std::size_t node = 0; node < 4; ++node) {
        EXPECT_EQ(names->cells[node][0], kNames[node]) << "node " << node;
    }
    EXPECT_EQ(names->cells[0][1], "a");
    EXPECT_EQ(names->cells[3][1], "");
    EXPECT_EQ(page.find("<img src=x"), std::string::npos);
}

// The names are a block of their own, read after the first frame: the scene's data is that of
// the page without names but for the flag that says so. Lengths of any size read back.
TEST_F(Names, PageKeepsTheSceneDataAndTheNamesApart) {
    const std::string longName(300, 'n');
    writeFile(scratch / "long.txt", "a\n" + longName + "\n\nd\n");
    const std::string named = convert("named.html", {"-names", "long.txt"});
    const std::string plain = convert("plain.html", {});
    auto namedData = l2v::testing::pageData(named);
    const auto plainData = l2v::testing::pageData(plain);
    ASSERT_TRUE(namedData.has_value() && plainData.has_value());
    ASSERT_EQ(l2v::testing::valueAt<std::uint32_t>(*namedData, 16), 2U | 8U);
    (*namedData)[16] = static_cast<char>(2);
    EXPECT_EQ(*namedData, *plainData);
    const auto names = l2v::testing::pageNames(named, 4);
    ASSERT_TRUE(names.has_value());
    EXPECT_EQ(names->headersJson, R"([""])");
    EXPECT_EQ(names->cells[1][0], longName);
    EXPECT_EQ(names->cells[2][0], "");
    EXPECT_FALSE(l2v::testing::pageNames(plain, 4).has_value());
}

TEST_F(Names, VrmlLabelsAreTheNamesEscaped) {
    const std::string scene = convert("s.wrl", {"-names", "nodes.csv", "-showlabel", "true"});
    EXPECT_NE(scene.find("string [ \"say \\\"hi\\\" \\\\ \\\"]}\" ]"), std::string::npos);
    EXPECT_NE(scene.find("string [ \"two\nlines\" ]"), std::string::npos);
    // Without labels the names change nothing.
    EXPECT_EQ(convert("plain.wrl", {"-names", "nodes.csv"}), convert("bare.wrl", {}));
}

TEST_F(Names, CategoricalColumnRanksValuesAndGreysTheEmptyOnes) {
    const std::string scene = convert("c.wrl", {"-names", "nodes.csv", "-color", "column:Group"});
    EXPECT_NE(scene.find("\"colour by group in nodes.csv\"\n"
                         "        \"a: 0.95 0.3 0.3, 2 nodes\"\n"
                         "        \"b: 0.35 0.7 1, 1 nodes\"\n"
                         "        \"no value: 0.6 0.6 0.6, 1 nodes\""),
              std::string::npos)
        << scene.substr(0, 600);
}

TEST_F(Names, NumericColumnFollowsTheMapWithItsRange) {
    writeFile(scratch / "n.tsv", "name\tyear\nw\t1990\nx\t2000\ny\t\nz\t2010.5\n");
    const std::string scene = convert("n.wrl", {"-names", "n.tsv", "-color", "column:year"});
    EXPECT_NE(scene.find("\"year 1990: "), std::string::npos);
    EXPECT_NE(scene.find("\"year 2010.5: "), std::string::npos);
    EXPECT_NE(scene.find("\"no value: 0.6 0.6 0.6, 1 nodes\""), std::string::npos);
}

TEST_F(Names, GlbLabelledNodesCarryNamesAndAttributes) {
    const std::string file = convert("g.glb", {"-names", "nodes.csv", "-showlabel", "true"});
    EXPECT_NE(file.find(R"("name":"say \"hi\" \\ \"]}")"), std::string::npos);
    EXPECT_NE(file.find(R"("name":"two\u000alines","extras":{"group":""})"), std::string::npos);
    EXPECT_NE(file.find(R"("extras":{"group":"a"})"), std::string::npos);
}

TEST_F(Names, RefusalsNameTheFileAndWriteNothing) {
    struct Case {
        std::vector<std::string> options;
        std::string message;
    };
    writeFile(scratch / "short.txt", "a\nb\n");
    writeFile(scratch / "column:x", "1\n1\n1\n1\n");
    const std::vector<Case> cases = {
        {{"-color", "column:group"}, "-color column:group needs a node table: -names FILE.csv."},
        {{"-names", "nodes.csv", "-color", "column:year"},
         "no column year in node table nodes.csv."},
        {{"-names", "short.txt"}, "short.txt ends after 2 of 4 names at line 3."},
        {{"-names", "missing.csv"}, "cannot read names file missing.csv."},
    };
    for (const Case& each : cases) {
        const e2e::RunResult result = run("out.html", each.options);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.output, each.message + "\n");
        EXPECT_FALSE(fs::exists(scratch / "out.html"));
    }
    // A partition file really named "column:x" is still reached by its path.
    EXPECT_EQ(run("x.wrl", {"-color", "./column:x"}).status, 0);
}

} // namespace
