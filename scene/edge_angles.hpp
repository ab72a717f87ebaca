#pragma once

namespace l2v {

// The two angles of an edge's rotations. They are evaluated faster than the math library
// does it, yet print, with the six decimals of a scene, exactly what the library's values
// print: where the two could print differently, the library's value is returned.

// std::asin(sine), for a sine within [-1, 1].
double swingAngle(double sine);

// -std::atan2(-(dz / dy), 1.0), the tilt about x, for dy and dz not both zero.
double tiltAngle(double dy, double dz);

} // namespace l2v
