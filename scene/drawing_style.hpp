#pragma once

#include <cmath>
#include <cstdint>
#include <string>

namespace l2v {

// Sizes, colours and transparencies of the scene. Colours are VRML colour texts (red, green
// and blue from 0 to 1) written exactly as stored.
struct DrawingStyle {
    double labelSize = 0.6;
    std::string labelColour = "0 0 1";
    double nodeRadius = 0.2;
    std::string nodeColour = "1 0.95 0.7";
    double nodeTransparency = 0.5;
    double edgeRadius = 0.1;
    std::string edgeColour = "0.5 0.5 1";
    double edgeTransparency = 0.5;
};

// A node's sphere grows with its run length `count` (1 + its references): sqrt(count) times
// the node radius.
inline double sphereRadius(std::int32_t count, double nodeRadius) {
    return std::sqrt(static_cast<double>(count)) * nodeRadius;
}

} // namespace l2v
