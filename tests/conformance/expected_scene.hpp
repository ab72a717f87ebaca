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
    double sphereRadius; // 0.2 * sqrt(1 + number of references), times the size factor
};

struct ExpectedEdge {
    std::size_t from; // 0-based, from < to
    std::size_t to;
};

struct ExpectedScene {
    std::vector<ExpectedNode> nodes;
    std::vector<ExpectedEdge> edges; // in the order the blocks are written
    double size;                     // largest extent of the fitted positions, at least 1
    double cylinderRadius = 0.1;     // times the size factor
    // Cylinders are shortened by the base sphere diameter (times the size factor), so they end
    // inside the spheres they join.
    double cylinderShortening = 0.4;
};

// Reads a well-formed .3dlayout file and derives, on its own, what the converter's scene
// must show. Throws std::runtime_error when the file cannot be read or is malformed.
ExpectedScene expectedSceneFromLayout(const std::string& path);

// The factor that makes the median sphere a third of the median edge length wide when it is
// wider (1 otherwise, or without edges of any length): -size auto, worked out here from the
// expected scene. Medians of all edges and nodes, the upper one of an even count, which is what
// the converter samples in layouts of up to 100,001 edges and nodes; larger ones throw.
double automaticSizeFactor(const ExpectedScene& scene);

// The scene with every sphere and cylinder radius, and the cylinders' shortening, times
// `factor`: -size FACTOR.
void scaleSizes(ExpectedScene& scene, double factor);

// The checkers' --size word: "auto" (automaticSizeFactor) or a factor; throws
// std::invalid_argument on anything else.
void scaleSizes(ExpectedScene& scene, const std::string& sizeWord);

} // namespace conformance
