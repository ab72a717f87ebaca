#pragma once

#include <string>
#include <vector>

namespace conformance {

struct LayoutNode {
    double x;
    double y;
    double z;
    std::vector<long> references; // 1-based node numbers as written, in file order
};

// A small reader for well-formed .3dlayout files: leading "%" comment lines, a header
// "nodeCount edgeCount", then one line "x y z n1 n2 ..." per node. Throws
// std::runtime_error on anything it cannot make sense of.
std::vector<LayoutNode> readLayoutFile(const std::string& path);

} // namespace conformance
