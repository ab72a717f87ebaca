#include "app/command_line.hpp"
#include "common/failure.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using l2v::RunOptions;

namespace {

RunOptions parse(std::vector<std::string_view> words) {
    words.insert(words.begin(), "layout2vrml");
    return l2v::parseCommandLine(words);
}

std::string refusal(std::vector<std::string_view> words) {
    try {
        parse(std::move(words));
    } catch (const l2v::Failure& failure) {
        return failure.what();
    }
    return "accepted";
}

} // namespace

TEST(CommandLine, Defaults) {
    const RunOptions options = parse({"-in", "g.3dlayout"});
    EXPECT_EQ(options.inputPath, "g.3dlayout");
    EXPECT_EQ(options.outputPath, "g.wrl");
    EXPECT_TRUE(options.showEdges);
    EXPECT_FALSE(options.showLabels);
}

TEST(CommandLine, PrefixesCountAsTheOption) {
    const RunOptions options =
        parse({"-input", "a.3dlayout", "-output", "b", "-showlabels", "true", "-showedges", "no"});
    EXPECT_EQ(options.inputPath, "a.3dlayout");
    EXPECT_EQ(options.outputPath, "b");
    EXPECT_TRUE(options.showLabels);
    EXPECT_FALSE(options.showEdges);
    EXPECT_EQ(parse({"-in=x.3dlayout", "g.3dlayout"}).inputPath, "g.3dlayout");
}

TEST(CommandLine, OnlyExactTrueSwitchesOn) {
    for (const char* value : {"false", "TRUE", "1", "yes", ""}) {
        EXPECT_FALSE(parse({"-in", "g.3dlayout", "-showedge", value}).showEdges) << value;
        EXPECT_FALSE(parse({"-in", "g.3dlayout", "-showlabel", value}).showLabels) << value;
    }
    EXPECT_TRUE(parse({"-in", "g.3dlayout", "-showedge", "false", "-showedge", "true"}).showEdges);
}

TEST(CommandLine, LabelsCanOnlyBeSwitchedOn) {
    EXPECT_TRUE(
        parse({"-in", "g.3dlayout", "-showlabel", "true", "-showlabel", "false"}).showLabels);
}

TEST(CommandLine, LaterPathsWinUnlessBlank) {
    EXPECT_EQ(parse({"-in", "a.3dlayout", "-in", "b.3dlayout"}).inputPath, "b.3dlayout");
    EXPECT_EQ(parse({"-in", "a.3dlayout", "-in", "  \t"}).inputPath, "a.3dlayout");
    EXPECT_EQ(parse({"-in", "g.3dlayout", "-out", "x.wrl", "-out", ""}).outputPath, "x.wrl");
}

TEST(CommandLine, PathValueIsTheWholeTrimmedWord) {
    const RunOptions options = parse({"-in", " my graph.3dlayout\t", "-out", " my scene.wrl "});
    EXPECT_EQ(options.inputPath, "my graph.3dlayout");
    EXPECT_EQ(options.outputPath, "my scene.wrl");
}

TEST(CommandLine, UnknownWordsAreSkippedOneAtATime) {
    EXPECT_EQ(parse({"-v", "-in", "g.3dlayout"}).inputPath, "g.3dlayout");
}

TEST(CommandLine, OptionAsLastWordIsIgnored) {
    EXPECT_EQ(parse({"-in", "g.3dlayout", "-out"}).outputPath, "g.wrl");
    EXPECT_EQ(parse({"-in", "g.3dlayout", "-showedge"}).showEdges, true);
}

TEST(CommandLine, OptionWordCanBeAValue) {
    // "-in" consumes the next word whatever it is.
    EXPECT_EQ(parse({"-out", "-in", "-in", "g.3dlayout"}).outputPath, "-in");
}

TEST(CommandLine, DerivedOutputCutsAtTheLastDot) {
    EXPECT_EQ(parse({"-in", "data/graph.3dlayout"}).outputPath, "data/graph.wrl");
    EXPECT_EQ(parse({"-in", "a.b.3dlayout"}).outputPath, "a.b.wrl");
    EXPECT_EQ(parse({"-in", "dir.old/graph.3dlayout"}).outputPath, "dir.old/graph.wrl");
    EXPECT_EQ(parse({"-in", ".3dlayout"}).outputPath, ".wrl");
}

TEST(CommandLine, Refusals) {
    EXPECT_EQ(refusal({}), "no input file.");
    EXPECT_EQ(refusal({"-out", "x.wrl"}), "no input file.");
    for (const char* name : {"g.3DLAYOUT", "g.3dlayout.bak", "g", "dir.old/g", "g.3dlayou"}) {
        EXPECT_EQ(refusal({"-in", name}), "file type errors. please input 3dlayout file.") << name;
    }
}

TEST(CommandLine, ColourWordsAndPartitionPaths) {
    using l2v::ColourBy;
    EXPECT_EQ(parse({"-in", "g.3dlayout"}).colour.by, ColourBy::none);
    EXPECT_EQ(parse({"-in", "g.3dlayout", "-color", "community"}).colour.by, ColourBy::community);
    EXPECT_EQ(parse({"-in", "g.3dlayout", "-colors", "component"}).colour.by, ColourBy::component);
    const RunOptions file =
        parse({"-in", "g.3dlayout", "-color", "degree", "-color", " groups.clu "});
    EXPECT_EQ(file.colour.by, ColourBy::partitionFile);
    EXPECT_EQ(file.colour.partitionPath, "groups.clu");
    const RunOptions blank = parse({"-in", "g.3dlayout", "-color", "degree", "-color", " "});
    EXPECT_EQ(blank.colour.by, ColourBy::degree);
    // "-colour" is no prefix match: it is skipped, and its value with it as an unknown word.
    EXPECT_EQ(parse({"-in", "g.3dlayout", "-colour", "degree"}).colour.by, ColourBy::none);
    EXPECT_EQ(parse({"-in", "g.3dlayout", "-color", "Community"}).colour.partitionPath,
              "Community");
}

TEST(CommandLine, NamesFileAndColumnColouring) {
    using l2v::ColourBy;
    const RunOptions named = parse(
        {"-in", "g.3dlayout", "-namesfile", "a.csv", "-names", "b.tsv", "-color", "column:Group"});
    EXPECT_EQ(named.namesPath, "b.tsv"); // matched by prefix; the later one holds
    EXPECT_EQ(named.colour.by, ColourBy::column);
    EXPECT_EQ(named.colour.column, "Group");
    // No other option is a prefix of -names: "-n" and "-name" are skipped with their values.
    EXPECT_EQ(parse({"-in", "g.3dlayout", "-name", "x.csv"}).namesPath, "");
    EXPECT_EQ(refusal({"-in", "g.3dlayout", "-color", "column:group"}),
              "-color column:group needs a node table: -names FILE.csv.");
    const RunOptions file = parse({"-in", "g.3dlayout", "-color", "./column:x"});
    EXPECT_EQ(file.colour.by, ColourBy::partitionFile);
    EXPECT_EQ(file.colour.partitionPath, "./column:x");
}

// A word is the option whose name it begins with; were one name the start of another, the
// longer option could never be given.
TEST(CommandLine, NoOptionNameBeginsAnother) {
    for (const std::string_view name : l2v::kOptionNames) {
        for (const std::string_view other : l2v::kOptionNames) {
            if (name != other) {
                EXPECT_FALSE(other.starts_with(name)) << other << " begins with " << name;
            }
        }
    }
}

TEST(CommandLine, SizeIsAutoOrAFactorAndTheLastOneCounts) {
    using l2v::SizeBy;
    EXPECT_EQ(parse({"-in", "g.3dlayout"}).size.by, SizeBy::file);
    EXPECT_EQ(parse({"-in", "g.3dlayout", "-size", "auto"}).size.by, SizeBy::automatic);
    const RunOptions factor = parse({"-in", "g.3dlayout", "-sizes", "0.25"});
    EXPECT_EQ(factor.size.by, SizeBy::factor);
    EXPECT_EQ(factor.size.factor, 0.25);
    EXPECT_EQ(parse({"-in", "g.3dlayout", "-size", "2e-2"}).size.factor, 0.02);
    EXPECT_EQ(parse({"-in", "g.3dlayout", "-size", "1000000"}).size.factor, 1e6);
    EXPECT_EQ(parse({"-in", "g.3dlayout", "-size", "0.00001"}).size.factor, 1e-5);
    EXPECT_EQ(parse({"-in", "g.3dlayout", "-size", "auto", "-size", "3"}).size.factor, 3.0);
    EXPECT_EQ(parse({"-in", "g.3dlayout", "-size", "3", "-size", "auto"}).size.by,
              SizeBy::automatic);
    // Only the last value is checked: an earlier one it replaces is never used.
    EXPECT_EQ(parse({"-in", "g.3dlayout", "-size", "big", "-size", "0.5"}).size.factor, 0.5);
    // "-s" and "-show" are no option; the size is left alone by its neighbours.
    const RunOptions others = parse({"-in", "g.3dlayout", "-s", "2", "-showedge", "false"});
    EXPECT_EQ(others.size.by, SizeBy::file);
    EXPECT_FALSE(others.showEdges);
    EXPECT_EQ(parse({"-in", "g.3dlayout", "-size"}).size.by, SizeBy::file) << "no value word";
}

TEST(CommandLine, SizeRefusesAnythingButAutoOrAFactorInRange) {
    for (const char* value :
         {"0", "-1", "-0", "1e-400", "1e999", "inf", "nan", "Auto", "", " 2", "2 ", "0x10", "+2",
          "2x", "1000000.5", ".", "e3", "0.0000099", "1e-300"}) {
        EXPECT_EQ(refusal({"-in", "g.3dlayout", "-size", value}),
                  "-size \"" + std::string(value) +
                      "\" is neither auto nor a number from 0.00001 to 1000000.")
            << value;
    }
    EXPECT_EQ(refusal({"-in", "g.3dlayout", "-size", "auto", "-size", "0"}).substr(0, 9),
              "-size \"0\"");
    // Asking for the usage wins over a value that would be refused.
    EXPECT_EQ(parse({"-in", "g.3dlayout", "-size", "0", "--help"}).request,
              l2v::Request::showUsage);
}
