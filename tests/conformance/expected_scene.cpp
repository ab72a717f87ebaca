#include "expected_scene.hpp"

#include "layout_file.hpp"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace conformance {
namespace {

constexpr double kSceneDepth = 20.0;
constexpr double kBaseRadius = 0.2;

struct Span {
    double low;
    double high;
};

Span spanOf(const std::vector<LayoutNode>& nodes, double LayoutNode::*axis) {
    Span span{nodes.front().*axis, nodes.front().*axis};
    for (const LayoutNode& node : nodes) {
        span.low = std::min(span.low, node.*axis);
        span.high = std::max(span.high, node.*axis);
    }
    return span;
}

// The z range sets the scale for all three axes so the proportions survive; a flat layout
// falls back to its wider in-plane range, and a layout that is a single point collapses.
std::vector<Vec3> scaledPositions(const std::vector<LayoutNode>& nodes) {
    const Span x = spanOf(nodes, &LayoutNode::x);
    const Span y = spanOf(nodes, &LayoutNode::y);
    const Span z = spanOf(nodes, &LayoutNode::z);
    double divisor = z.high - z.low;
    if (divisor == 0.0) {
        divisor = std::max(x.high - x.low, y.high - y.low);
    }
    std::vector<Vec3> positions;
    for (const LayoutNode& node : nodes) {
        if (divisor == 0.0) {
            positions.push_back({0.0, 0.0, 0.0});
        } else {
            positions.push_back({(node.x - x.low) * kSceneDepth / divisor,
                                 (node.y - y.low) * kSceneDepth / divisor,
                                 (node.z - z.low) * kSceneDepth / divisor});
        }
    }
    return positions;
}

void centre(std::vector<Vec3>& positions) {
    Vec3 sum{0.0, 0.0, 0.0};
    for (const Vec3& p : positions) {
        sum = {sum.x + p.x, sum.y + p.y, sum.z + p.z};
    }
    const double count = static_cast<double>(positions.size());
    for (Vec3& p : positions) {
        p = {p.x - sum.x / count, p.y - sum.y / count, p.z - sum.z / count};
    }
}

double extentOf(const std::vector<Vec3>& positions) {
    double extent = 1.0;
    for (const Vec3& p : positions) {
        extent = std::max({extent, 2 * std::fabs(p.x), 2 * std::fabs(p.y), 2 * std::fabs(p.z)});
    }
    return extent;
}

// Each reference to a higher-numbered node gives one edge, in file order; references back,
// to the node itself, or to 0 and below give none.
std::vector<ExpectedEdge> edgesOf(const std::vector<LayoutNode>& nodes) {
    std::vector<ExpectedEdge> edges;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        for (const long number : nodes[i].references) {
            const long j = number - 1;
            if (j > static_cast<long>(i)) {
                edges.push_back({i, static_cast<std::size_t>(j)});
            }
        }
    }
    return edges;
}

double upperMedian(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

double automaticSizeFactor(const ExpectedScene& scene) {
    constexpr std::size_t kWholeSample = 100001;
    if (scene.edges.size() > kWholeSample || scene.nodes.size() > kWholeSample) {
        throw std::runtime_error("the automatic size is worked out here for small layouts only");
    }
    std::vector<double> lengths;
    for (const ExpectedEdge& edge : scene.edges) {
        const Vec3& a = scene.nodes[edge.from].position;
        const Vec3& b = scene.nodes[edge.to].position;
        lengths.push_back(std::hypot(a.x - b.x, a.y - b.y, a.z - b.z));
    }
    std::vector<double> radii;
    for (const ExpectedNode& node : scene.nodes) {
        radii.push_back(node.sphereRadius);
    }
    // The radius grows with the run length, so the median sphere is that of the median node.
    const double edgeLength = upperMedian(lengths);
    const double sphereWidth = 2 * upperMedian(radii);
    if (lengths.empty() || edgeLength <= 0 || sphereWidth <= edgeLength / 3) {
        return 1;
    }
    return edgeLength / 3 / sphereWidth;
}

void scaleSizes(ExpectedScene& scene, double factor) {
    for (ExpectedNode& node : scene.nodes) {
        node.sphereRadius *= factor;
    }
    scene.cylinderRadius *= factor;
    scene.cylinderShortening *= factor;
}

void scaleSizes(ExpectedScene& scene, const std::string& sizeWord) {
    scaleSizes(scene, sizeWord == "auto" ? automaticSizeFactor(scene) : std::stod(sizeWord));
}

ExpectedScene expectedSceneFromLayout(const std::string& path) {
    const std::vector<LayoutNode> nodes = readLayoutFile(path);
    std::vector<Vec3> positions = scaledPositions(nodes);
    centre(positions);
    ExpectedScene scene;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const double count = 1.0 + static_cast<double>(nodes[i].references.size());
        scene.nodes.push_back({positions[i], kBaseRadius * std::sqrt(count)});
    }
    scene.edges = edgesOf(nodes);
    scene.size = extentOf(positions);
    return scene;
}

} // namespace conformance
