#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace conformance {

struct Vec3 {
    double x;
    double y;
    double z;
};

struct ExpectedNode {
    Vec3 position;       // after fitting into the 20-unit scene
    double sphereRadius; // 0.2 * sqrt(1 + number of references)
};

struct ExpectedEdge {
    std::size_t from; // 0-based, from < to
    std::size_t to;
};

struct ExpectedScene {
    std::vector<ExpectedNode> nodes;
    std::vector<ExpectedEdge> edges; // in the order the blocks are written
    double size;                     // largest extent of the fitted positions, at least 1
};

// Reads a well-formed .3dlayout file and derives, on its own, what the converter's scene
// must show. Throws std::runtime_error when the file cannot be read or is malformed.
ExpectedScene expectedSceneFromLayout(const std::string& path);

} // namespace conformance
