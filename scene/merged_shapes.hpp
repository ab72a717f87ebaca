#pragma once

#include "layout/layout.hpp"
#include "scene/drawing_style.hpp"
#include "scene/edge_geometry.hpp"
#include "scene/scene_walk.hpp"

#include <array>

namespace l2v {

// Where a unit mesh's vertices land in the scene when every sphere and every cylinder is
// copied into one mesh per kind: a centre and three scaled axes, so that a unit vertex u goes
// to centre + u.x * axes[0] + u.y * axes[1] + u.z * axes[2].
struct ShapeFrame {
    Point centre;
    std::array<Point, 3> axes;

    Point place(const std::array<float, 3>& unit) const {
        return {centre.x + unit[0] * axes[0].x + unit[1] * axes[1].x + unit[2] * axes[2].x,
                centre.y + unit[0] * axes[0].y + unit[1] * axes[1].y + unit[2] * axes[2].y,
                centre.z + unit[0] * axes[0].z + unit[1] * axes[1].z + unit[2] * axes[2].z};
    }
};

// A node's sphere: the unit sphere scaled by `radius` around the node.
ShapeFrame sphereFrame(const Point& centre, double radius);

// An edge's cylinder: the unit cylinder (radius 1, height 1 along y) placed, turned and
// scaled exactly as the per-element scene places it: radius `edgeRadius`, height
// |length - 2 x nodeRadius|.
ShapeFrame cylinderFrame(const Point& from, const Point& to, double nodeRadius, double edgeRadius);

// Calls visit(frame) for every node's sphere, in node order.
template <class Visit>
void forEachSphereFrame(const Layout& layout, const DrawingStyle& style, Visit&& visit) {
    forEachNode(layout, [&](const Point& at, std::int32_t count, std::uint32_t) {
        visit(sphereFrame(at, sphereRadius(count, style.nodeRadius)));
    });
}

// Calls visit(frame) for every edge's cylinder, in drawing order.
template <class Visit>
void forEachCylinderFrame(const Layout& layout, const DrawingStyle& style, Visit&& visit) {
    forEachEdge(layout, [&](const Point& from, const Point& to) {
        visit(cylinderFrame(from, to, style.nodeRadius, style.edgeRadius));
    });
}

} // namespace l2v
