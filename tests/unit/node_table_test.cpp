#include "common/failure.hpp"
#include "layout/node_table_reader.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using l2v::NodeTable;
using l2v::TableForm;

NodeTable parsed(const std::string& bytes, TableForm form, std::uint32_t nodes) {
    return l2v::parseNodeTable(bytes, form, "dir/t.csv", nodes);
}

std::vector<std::string> column(const NodeTable& table, std::size_t at, std::uint32_t nodes) {
    std::vector<std::string> cells;
    for (std::uint32_t node = 0; node < nodes; ++node) {
        cells.emplace_back(table.cell(node, at));
    }
    return cells;
}

std::string refusal(const std::string& bytes, TableForm form, std::uint32_t nodes) {
    try {
        parsed(bytes, form, nodes);
    } catch (const l2v::Failure& failure) {
        return failure.what();
    }
    return "accepted";
}

TEST(NodeTable, ReadsQuotedFieldsAsRfc4180Says) {
    const NodeTable table = parsed("\xEF\xBB\xBFid,Label,kind\r\n"
                                   "a,\"x, \"\"y\"\"\",plain\r\n"
                                   "b,\"two\r\nlines\",\"\"\r\n"
                                   "c,,\"q\"\n",
                                   TableForm::csv, 3);
    EXPECT_EQ(table.sourceName, "t.csv");
    ASSERT_EQ(table.headers, (std::vector<std::string>{"id", "Label", "kind"}));
    EXPECT_EQ(table.nameColumn, 1U);
    EXPECT_EQ(column(table, 1, 3), (std::vector<std::string>{"x, \"y\"", "two\r\nlines", ""}));
    EXPECT_EQ(column(table, 2, 3), (std::vector<std::string>{"plain", "", "q"}));
    EXPECT_EQ(table.name(0), "x, \"y\"");
}

TEST(NodeTable, PlacesRowsByTheirNodeColumnAndDropsIt) {
    const NodeTable table = parsed("group,node,name\n1,3,c\n2,1,a\n3,2,b", TableForm::csv, 3);
    ASSERT_EQ(table.headers, (std::vector<std::string>{"group", "name"}));
    EXPECT_EQ(column(table, table.nameColumn, 3), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(column(table, 0, 3), (std::vector<std::string>{"2", "3", "1"}));
}

TEST(NodeTable, TakesTheFirstColumnBesidesNodeWithoutANameHeader) {
    const NodeTable table =
        parsed("node\tgene\tscore\n1\tp53\t0.5\n2\t\"x\t1.5\n", TableForm::tsv, 2);
    EXPECT_EQ(table.headers[table.nameColumn], "gene");
    EXPECT_EQ(table.name(1), "\"x"); // no quoting in tab-separated text
}

TEST(NodeTable, TakesEveryLineOfAListAsAName) {
    const NodeTable table = parsed("% not a comment\n\n# nor this\r\n<b>", TableForm::nameList, 4);
    EXPECT_EQ(column(table, 0, 4),
              (std::vector<std::string>{"% not a comment", "", "# nor this", "<b>"}));
    EXPECT_EQ(l2v::tableFormOf("a/B.CSV"), TableForm::csv);
    EXPECT_EQ(l2v::tableFormOf("b.Tsv"), TableForm::tsv);
    EXPECT_EQ(l2v::tableFormOf("names.txt"), TableForm::nameList);
}

TEST(NodeTable, RefusesWithTheFileAndTheLine) {
    EXPECT_EQ(refusal("name\na\nb\n", TableForm::csv, 3),
              "dir/t.csv ends after 2 of 3 rows at line 4.");
    EXPECT_EQ(refusal("a\nb\nc\n", TableForm::nameList, 2),
              "more names than the layout's 2 nodes in dir/t.csv at line 3.");
    EXPECT_EQ(refusal("name,x\na,1\nb\n", TableForm::csv, 2),
              "row of fewer fields than the header's 2 in dir/t.csv at line 3.");
    EXPECT_EQ(refusal("name,x\na,1,2\nb,3\n", TableForm::csv, 2),
              "row of more fields than the header's 2 in dir/t.csv at line 2.");
    EXPECT_EQ(refusal("name\n\"a\n\"b\n", TableForm::csv, 2),
              "text after a closing quote in dir/t.csv at line 3.");
    EXPECT_EQ(refusal("name\na\n\"b\nc\n", TableForm::csv, 2),
              "unterminated quote in dir/t.csv at line 3.");
    EXPECT_EQ(refusal("node,name\n1,a\n3,b\n", TableForm::csv, 2),
              "node 3 is not one of the layout's 1 to 2 in dir/t.csv at line 3.");
    EXPECT_EQ(refusal("node,name\n1,a\nx\x01,b\n", TableForm::csv, 2),
              "node x? is not one of the layout's 1 to 2 in dir/t.csv at line 3.");
    EXPECT_EQ(refusal("node,name\n2,a\n2,b\n", TableForm::csv, 2),
              "node 2 repeats in dir/t.csv at line 3.");
    EXPECT_EQ(refusal("name\na\n\xC3\x28\n", TableForm::csv, 2),
              "bytes that are not UTF-8 in dir/t.csv at line 3.");
    EXPECT_EQ(refusal("name\n\xED\xA0\x80\n", TableForm::csv, 1), // a surrogate
              "bytes that are not UTF-8 in dir/t.csv at line 2.");
    EXPECT_EQ(refusal("", TableForm::csv, 1), "node table dir/t.csv has no header row.");
    EXPECT_EQ(refusal("node\n1\n", TableForm::csv, 1),
              "node table dir/t.csv has no column besides node.");
}

TEST(NodeTable, RefusesAMissingFile) {
    try {
        l2v::readNodeTable("no/such\x1b[31m.csv", 1);
        FAIL() << "accepted";
    } catch (const l2v::Failure& failure) {
        EXPECT_STREQ(failure.what(), "cannot read names file no/such?[31m.csv.");
    }
}

} // namespace
