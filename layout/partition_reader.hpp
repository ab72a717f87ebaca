#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace l2v {

// Reads a partition file: one integer class per node, one per line, in node order, either
// plain or in the .clu form that opens with "*Vertices N". Blank lines and lines starting
// with "%" are skipped. Throws Failure, naming the file and the line, when the file cannot be
// read, a line is not an integer, or the classes do not number `nodeCount`.
std::vector<std::int64_t> readPartitionFile(const std::string& path, std::uint64_t nodeCount);

// The same from the file's bytes; `path` names the file in messages.
std::vector<std::int64_t> parsePartition(std::string_view bytes, const std::string& path,
                                         std::uint64_t nodeCount);

} // namespace l2v
