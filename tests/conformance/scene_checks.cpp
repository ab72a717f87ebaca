#include "scene_checks.hpp"

#include "component_colours.hpp"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace conformance {
namespace {

constexpr double kRelativeTolerance = 1e-5;

Vec3 minus(const Vec3& a, const Vec3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3 midpoint(const Vec3& a, const Vec3& b) {
    return {(a.x + b.x) * 0.5, (a.y + b.y) * 0.5, (a.z + b.z) * 0.5};
}
Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double norm(const Vec3& v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}
double distance(const Vec3& a, const Vec3& b) {
    return norm(minus(a, b));
}

std::string text(const Vec3& v) {
    std::ostringstream out;
    out.precision(6);
    out << std::fixed << "(" << v.x << ", " << v.y << ", " << v.z << ")";
    return out.str();
}

std::string text(double value) {
    std::ostringstream out;
    out.precision(6);
    out << std::fixed << value;
    return out.str();
}

class Checker {
  public:
    Checker(const ExpectedScene& expected, const SceneContents& actual, const SceneOptions& options)
        : expected_(expected), actual_(actual), options_(options),
          tolerance_(kRelativeTolerance * expected.size) {}

    std::vector<std::string> run() {
        for (const std::string& message : actual_.readerMessages) {
            fail("Coin reported: " + message);
        }
        if (!actual_.loaded) {
            fail("Coin could not read the scene");
            return failures_;
        }
        checkCounts();
        checkSpheres();
        checkLabels();
        checkInfo();
        checkCylinders();
        if (options_.componentColours) {
            checkColours();
        }
        return failures_;
    }

  private:
    void fail(const std::string& message) { failures_.push_back(message); }

    void checkCount(const char* what, std::size_t found, std::size_t wanted) {
        if (found != wanted) {
            fail(std::string(what) + ": found " + std::to_string(found) + ", expected " +
                 std::to_string(wanted));
        }
    }

    void checkCounts() {
        const std::size_t nodeCount = expected_.nodes.size();
        checkCount("spheres", actual_.spheres.size(), nodeCount);
        checkCount("labels", actual_.labels.size(), options_.labels ? nodeCount : 0);
        checkCount("cylinders", actual_.cylinders.size(),
                   options_.edges ? expected_.edges.size() : 0);
    }

    void checkSpheres() {
        const std::size_t count = std::min(actual_.spheres.size(), expected_.nodes.size());
        for (std::size_t i = 0; i < count; ++i) {
            const WorldSphere& sphere = actual_.spheres[i];
            const ExpectedNode& node = expected_.nodes[i];
            const std::string name = "sphere " + std::to_string(i);
            if (distance(sphere.centre, node.position) > tolerance_) {
                fail(name + ": centre " + text(sphere.centre) + ", expected " +
                     text(node.position));
            }
            if (std::fabs(sphere.radius - node.sphereRadius) > tolerance_) {
                fail(name + ": radius " + text(sphere.radius) + ", expected " +
                     text(node.sphereRadius));
            }
        }
    }

    void checkInfo() {
        for (const std::string& line : options_.infoLines) {
            if (std::find(actual_.worldInfo.begin(), actual_.worldInfo.end(), line) ==
                actual_.worldInfo.end()) {
                fail("WorldInfo holds no line \"" + line + "\"");
            }
        }
    }

    void checkLabels() {
        const std::size_t count = std::min(actual_.labels.size(), expected_.nodes.size());
        for (std::size_t i = 0; i < count; ++i) {
            const WorldLabel& label = actual_.labels[i];
            const std::string name = "label " + std::to_string(i);
            const std::string wanted = i < options_.names.size() && !options_.names[i].empty()
                                           ? options_.names[i]
                                           : std::to_string(i);
            if (label.lines != std::vector<std::string>{wanted}) {
                std::string message = name;
                message.append(": text is not \"").append(wanted).append("\"");
                fail(message);
            }
            if (distance(label.origin, expected_.nodes[i].position) > tolerance_) {
                fail(name + ": origin " + text(label.origin) + ", expected " +
                     text(expected_.nodes[i].position));
            }
        }
    }

    void checkCylinders() {
        const std::size_t count = std::min(actual_.cylinders.size(), expected_.edges.size());
        for (std::size_t k = 0; k < count; ++k) {
            checkCylinder(k, actual_.cylinders[k], expected_.edges[k]);
        }
    }

    void checkCylinder(std::size_t k, const WorldCylinder& cylinder, const ExpectedEdge& edge) {
        const Vec3& from = expected_.nodes[edge.from].position;
        const Vec3& to = expected_.nodes[edge.to].position;
        const Vec3 segment = minus(to, from);
        const double length = norm(segment);
        const std::string name = "cylinder " + std::to_string(k) + " (nodes " +
                                 std::to_string(edge.from) + "-" + std::to_string(edge.to) + ")";
        if (distance(cylinder.centre, midpoint(from, to)) > tolerance_) {
            fail(name + ": centre " + text(cylinder.centre) + ", expected the midpoint " +
                 text(midpoint(from, to)));
        }
        // |unit axis x segment| is how far one end of the segment strays from the axis line
        // through the other, so the tolerance stays a distance in scene units.
        const double axisLength = norm(cylinder.axis);
        const Vec3 unitAxis{cylinder.axis.x / axisLength, cylinder.axis.y / axisLength,
                            cylinder.axis.z / axisLength};
        if (norm(cross(unitAxis, segment)) > tolerance_) {
            fail(name + ": axis " + text(unitAxis) + " is not parallel to the segment " +
                 text(segment));
        }
        const double height = length - expected_.cylinderShortening;
        if (std::fabs(cylinder.height - height) > tolerance_) {
            fail(name + ": height " + text(cylinder.height) + ", expected " + text(height));
        }
        if (std::fabs(cylinder.radius - expected_.cylinderRadius) > tolerance_) {
            fail(name + ": radius " + text(cylinder.radius) + ", expected " +
                 text(expected_.cylinderRadius));
        }
    }

    void checkColours() {
        const ComponentColours wanted = expectedComponentColours(expected_, actual_.worldInfo);
        for (const std::string& failure : wanted.failures) {
            fail(failure);
        }
        const std::size_t spheres = std::min(actual_.spheres.size(), wanted.nodes.size());
        for (std::size_t i = 0; i < spheres; ++i) {
            checkColour("sphere " + std::to_string(i), actual_.spheres[i].colour, wanted.nodes[i]);
        }
        const std::size_t cylinders = std::min(actual_.cylinders.size(), wanted.edges.size());
        for (std::size_t k = 0; k < cylinders; ++k) {
            checkColour("cylinder " + std::to_string(k), actual_.cylinders[k].colour,
                        wanted.edges[k]);
        }
    }

    void checkColour(const std::string& name, const Vec3& colour, const Vec3& wanted) {
        if (!sameColour(colour, wanted)) {
            fail(name + ": colour " + describeColour(colour) + ", expected " +
                 describeColour(wanted));
        }
    }

    const ExpectedScene& expected_;
    const SceneContents& actual_;
    const SceneOptions& options_;
    const double tolerance_;
    std::vector<std::string> failures_;
};

} // namespace

std::vector<std::string> compareScene(const ExpectedScene& expected, const SceneContents& actual,
                                      const SceneOptions& options) {
    return Checker(expected, actual, options).run();
}

} // namespace conformance
