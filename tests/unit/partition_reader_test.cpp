#include "common/failure.hpp"
#include "layout/partition_reader.hpp"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Classes = std::vector<std::int64_t>;

// The classes, or the refusal, that `read` gives.
template <class Read> std::string outcomeOf(const Read& read) {
    try {
        std::string text;
        for (const std::int64_t value : read()) {
            text += std::to_string(value) + " ";
        }
        return text;
    } catch (const l2v::Failure& failure) {
        return failure.what();
    }
}

class PartitionBytes : public ::testing::Test {
  protected:
    std::string path_ = (std::filesystem::path(::testing::TempDir()) / "classes.clu").string();

    // The file reader's outcome on `bytes`, which the bytes reader must give too.
    std::string bothRead(const std::string& bytes, std::uint64_t nodeCount) {
        std::ofstream(path_, std::ios::binary) << bytes;
        std::string fromFile = outcomeOf([&] { return l2v::readPartitionFile(path_, nodeCount); });
        EXPECT_EQ(outcomeOf([&] { return l2v::parsePartition(bytes, path_, nodeCount); }),
                  fromFile);
        return fromFile;
    }

    void TearDown() override { std::filesystem::remove(path_); }
};

TEST_F(PartitionBytes, SplitLinesAsTheFileReaderDoes) {
    EXPECT_EQ(bothRead("*Vertices 3\n1\n% note\n\n-2\r\n+3", 3), "1 -2 3 ");
    EXPECT_EQ(bothRead("1\n2\n\n", 2), "1 2 ");
    EXPECT_EQ(bothRead("", 0), "");
    EXPECT_EQ(bothRead("\n", 1),
              "partition file " + path_ + " ends after 0 of 1 classes at line 1.");
    EXPECT_EQ(bothRead("1\n2\n", 3),
              "partition file " + path_ + " ends after 2 of 3 classes at line 2.");
    EXPECT_EQ(bothRead("1\n2\n3\n", 2),
              "more classes than the layout's 2 nodes in " + path_ + " at line 3.");
}

TEST_F(PartitionBytes, RefusesASignAfterThePlus) {
    EXPECT_EQ(bothRead("1\n+-2\n", 2), "class +-2 is not an integer in " + path_ + " at line 2.");
    EXPECT_EQ(bothRead("*Vertices +-2\n", 2),
              "vertex count +-2 is not a number in " + path_ + " at line 1.");
    EXPECT_EQ(bothRead("+0\n-0\n", 2), "0 0 ");
}

} // namespace
