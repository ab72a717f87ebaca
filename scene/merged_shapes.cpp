#include "scene/merged_shapes.hpp"

#include "scene/cylinder_placement.hpp"
#include "scene/geometry.hpp"

namespace l2v {
namespace {

Point scaled(const Point& axis, double factor) {
    return {axis.x * factor, axis.y * factor, axis.z * factor};
}

} // namespace

ShapeFrame sphereFrame(const Point& centre, double radius) {
    return {centre, {Point{radius, 0, 0}, Point{0, radius, 0}, Point{0, 0, radius}}};
}

std::array<Point, 3> cylinderRotation(const Point& from, const Point& to) {
    const Quaternion q = cylinderTurn(from, to);
    // The columns of the rotation matrix of q: the images of x, y and z.
    return {Point{1 - 2 * (q.y * q.y + q.z * q.z), 2 * (q.x * q.y + q.w * q.z),
                  2 * (q.x * q.z - q.w * q.y)},
            Point{2 * (q.x * q.y - q.w * q.z), 1 - 2 * (q.x * q.x + q.z * q.z),
                  2 * (q.y * q.z + q.w * q.x)},
            Point{2 * (q.x * q.z + q.w * q.y), 2 * (q.y * q.z - q.w * q.x),
                  1 - 2 * (q.x * q.x + q.y * q.y)}};
}

ShapeFrame cylinderFrame(const Point& from, const Point& to, double nodeRadius, double edgeRadius) {
    const std::array<Point, 3> rotation = cylinderRotation(from, to);
    const double height = cylinderHeight(from, to, nodeRadius);
    return {edgeMidpoint(from, to),
            {scaled(rotation[0], edgeRadius), scaled(rotation[1], height),
             scaled(rotation[2], edgeRadius)}};
}

} // namespace l2v
