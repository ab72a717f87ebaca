#pragma once

#include <cmath>
#include <cstdint>

namespace l2v {

// A colour: red, green and blue from 0 to 1. Floats, as glTF stores them; every encoder
// writes each component as the shortest text that reads back as the same float.
struct Rgb {
    float red = 0;
    float green = 0;
    float blue = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Sizes, colours and transparencies of the scene.
struct DrawingStyle {
    double labelSize = 0.6;
    Rgb labelColour{0, 0, 1};
    double nodeRadius = 0.2;
    Rgb nodeColour{1, 0.95F, 0.7F};
    double nodeTransparency = 0.5;
    double edgeRadius = 0.1;
    Rgb edgeColour{0.5F, 0.5F, 1};
    double edgeTransparency = 0.5;
};

// The style with every sphere's and cylinder's radius times `sizeFactor` (-size); the edges'
// cylinders, shortened by twice the node radius, still run between the spheres. Labels keep
// their size.
inline DrawingStyle sizedStyle(double sizeFactor) {
    DrawingStyle style;
    style.nodeRadius *= sizeFactor;
    style.edgeRadius *= sizeFactor;
    return style;
}

// A node's sphere grows with its run length `count` (1 + its references): sqrt(count) times
// the node radius.
inline double sphereRadius(std::int32_t count, double nodeRadius) {
    return std::sqrt(static_cast<double>(count)) * nodeRadius;
}

} // namespace l2v
