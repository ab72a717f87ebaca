#pragma once

namespace l2v {

// A position or direction in the layout's and the scene's space.
struct Point {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

} // namespace l2v
