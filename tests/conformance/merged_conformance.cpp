// Reads a merged scene (-merge true) with Coin, an independent VRML97 reader, splits its two
// meshes into connected components (triangles sharing a corner position) and checks that
// every component is a sphere or a cylinder the layout asks for: same centre and radius, the
// cylinder along its edge with the shortened length, every corner on the shape's surface.
//
// With --colour component, every triangle corner must also be in its shape's component colour.
//
//   merged_conformance LAYOUT.3dlayout MERGED.wrl --edges true|false [--colour component|none]
//                      [--size auto|FACTOR]
//
// --size says what the scene was converted with -size (auto: the factor is worked out here).
//
// Exit status: 0 when every check passes, 1 when any fails, 2 on bad usage or input.

#include "coin_scene.hpp"
#include "component_colours.hpp"
#include "expected_scene.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <exception>
#include <functional>
#include <map>
#include <numeric>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

using conformance::FaceSetColours;
using conformance::FaceSetTriangles;
using conformance::Vec3;

constexpr double kSphereTriangles = 80;
constexpr double kCylinderTriangles = 28; // an 8-sided prism: 16 on the side, 6 per cap

Vec3 minus(const Vec3& a, const Vec3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
double dot(const Vec3& a, const Vec3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
double length(const Vec3& a) {
    return std::sqrt(dot(a, a));
}

// A shape of the layout: its centre and a function telling how far a point lies off its
// surface.
struct Shape {
    Vec3 centre;
    std::function<double(const Vec3&)> miss;
    std::optional<Vec3> colour; // when colours are checked
};

struct Component {
    std::vector<Vec3> corners; // distinct positions
    std::vector<std::array<Vec3, 3>> triangles;
    std::vector<std::array<Vec3, 3>> colours; // of each triangle's corners
    Vec3 centre{0, 0, 0};
};

std::vector<Component> componentsOf(const FaceSetTriangles& triangles,
                                    const FaceSetColours& colours) {
    std::map<std::tuple<double, double, double>, std::size_t> indexOf;
    std::vector<Vec3> corners;
    std::vector<std::size_t> parent;
    const auto find = [&parent](std::size_t i) {
        while (parent[i] != i) {
            parent[i] = parent[parent[i]];
            i = parent[i];
        }
        return i;
    };
    std::vector<std::size_t> firstCorner;
    for (const auto& triangle : triangles) {
        std::size_t ids[3];
        for (std::size_t k = 0; k < 3; ++k) {
            const Vec3& p = triangle[k];
            const auto [entry, added] = indexOf.emplace(std::tuple{p.x, p.y, p.z}, corners.size());
            if (added) {
                corners.push_back(p);
                parent.push_back(parent.size());
            }
            ids[k] = entry->second;
        }
        parent[find(ids[1])] = find(ids[0]);
        parent[find(ids[2])] = find(ids[0]);
        firstCorner.push_back(ids[0]);
    }
    std::map<std::size_t, Component> byRoot;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        byRoot[find(i)].corners.push_back(corners[i]);
    }
    for (std::size_t t = 0; t < triangles.size(); ++t) {
        Component& component = byRoot[find(firstCorner[t])];
        component.triangles.push_back(triangles[t]);
        component.colours.push_back(colours[t]);
    }
    std::vector<Component> components;
    for (auto& [root, component] : byRoot) {
        Vec3 sum{0, 0, 0};
        for (const Vec3& p : component.corners) {
            sum = {sum.x + p.x, sum.y + p.y, sum.z + p.z};
        }
        const auto count = static_cast<double>(component.corners.size());
        component.centre = {sum.x / count, sum.y / count, sum.z / count};
        components.push_back(std::move(component));
    }
    return components;
}

// Every component must be made of whole shapes of the layout, each used once: one shape (or
// several identical ones) around its centre, or shapes that touch (collinear edges meeting at
// a node share a cap ring), every corner on a claimed shape's surface.
int matchComponents(const char* kind, const std::vector<Component>& components,
                    const std::vector<Shape>& shapes, double trianglesPerShape, double tolerance) {
    std::vector<bool> used(shapes.size(), false);
    std::size_t matched = 0;
    int failures = 0;
    const auto report = [&failures, kind](const Component& component, const char* what) {
        if (++failures <= 10) {
            std::printf("%s component at (%g, %g, %g), %zu triangles: %s\n", kind,
                        component.centre.x, component.centre.y, component.centre.z,
                        component.triangles.size(), what);
        }
    };
    for (const Component& component : components) {
        std::vector<std::size_t> near;
        for (std::size_t i = 0; i < shapes.size(); ++i) {
            if (!used[i] && length(minus(shapes[i].centre, component.centre)) <= tolerance) {
                near.push_back(i);
            }
        }
        std::vector<std::size_t> claimed;
        for (const Vec3& corner : component.corners) {
            const auto on = std::find_if(near.begin(), near.end(), [&](std::size_t i) {
                return shapes[i].miss(corner) <= tolerance;
            });
            if (on == near.end()) {
                // Touching shapes: look among every unused shape.
                std::size_t other = 0;
                while (other < shapes.size() &&
                       (used[other] || shapes[other].miss(corner) > tolerance)) {
                    ++other;
                }
                if (other == shapes.size()) {
                    report(component, "a corner lies on no shape of the layout");
                    break;
                }
                near.push_back(other);
                claimed.push_back(other);
            }
        }
        // A triangle joins corners of one shape: one spanning two shapes has a wrong index.
        bool whole = true;
        bool coloured = true;
        for (std::size_t t = 0; t < component.triangles.size(); ++t) {
            const auto& triangle = component.triangles[t];
            const auto holder = std::find_if(near.begin(), near.end(), [&](std::size_t i) {
                return std::all_of(triangle.begin(), triangle.end(),
                                   [&](const Vec3& p) { return shapes[i].miss(p) <= tolerance; });
            });
            if (holder == near.end()) {
                whole = false;
            } else if (const auto& colour = shapes[*holder].colour) {
                coloured =
                    coloured && std::all_of(component.colours[t].begin(),
                                            component.colours[t].end(), [&](const Vec3& corner) {
                                                return conformance::sameColour(corner, *colour);
                                            });
            }
        }
        if (!whole) {
            report(component, "a triangle joins corners of different shapes");
        }
        if (!coloured) {
            report(component, "a corner is not in its shape's colour");
        }
        // Identical shapes (coincident nodes, an edge listed twice) share every corner.
        const double copies = static_cast<double>(component.triangles.size()) / trianglesPerShape;
        std::size_t needed = static_cast<std::size_t>(copies);
        if (copies != static_cast<double>(needed) || needed == 0 || needed > near.size()) {
            report(component, "is not made of whole shapes of the layout");
            continue;
        }
        for (std::size_t k = 0; k < needed; ++k) {
            used[near[k]] = true;
        }
        matched += needed;
    }
    if (matched != shapes.size()) {
        std::printf("%zu %ss in the scene, %zu in the layout\n", matched, kind, shapes.size());
        ++failures;
    }
    return failures;
}

struct Arguments {
    std::string layoutPath;
    std::string scenePath;
    bool edges = true;
    bool colours = false;
    std::string size = "1";
};

int check(const Arguments& arguments) {
    const std::string& scenePath = arguments.scenePath;
    const bool colours = arguments.colours;
    conformance::ExpectedScene expected =
        conformance::expectedSceneFromLayout(arguments.layoutPath);
    conformance::scaleSizes(expected, arguments.size);
    const double edgeRadius = expected.cylinderRadius;
    const conformance::SceneContents scene = conformance::readSceneWithCoin(scenePath);
    if (!scene.loaded) {
        std::printf("Coin could not read %s\n", scenePath.c_str());
        return 1;
    }
    const conformance::ComponentColours wanted =
        conformance::expectedComponentColours(expected, scene.worldInfo);
    int failures = 0;
    if (colours) {
        for (const std::string& failure : wanted.failures) {
            std::printf("%s\n", failure.c_str());
            ++failures;
        }
    }
    const auto colourOf = [colours](const std::vector<Vec3>& all, std::size_t k) {
        return colours ? std::optional<Vec3>(all[k]) : std::nullopt;
    };
    // Corners are written with four decimals; fitted scenes may be far wider than 20 units.
    const double tolerance = 2e-4 + 1e-6 * expected.size;
    std::vector<Shape> spheres;
    for (std::size_t i = 0; i < expected.nodes.size(); ++i) {
        const auto& node = expected.nodes[i];
        spheres.push_back({node.position,
                           [node](const Vec3& p) {
                               return std::fabs(length(minus(p, node.position)) -
                                                node.sphereRadius);
                           },
                           colourOf(wanted.nodes, i)});
    }
    std::vector<Shape> cylinders;
    for (std::size_t k = 0; arguments.edges && k < expected.edges.size(); ++k) {
        const auto& edge = expected.edges[k];
        const Vec3 a = expected.nodes[edge.from].position;
        const Vec3 b = expected.nodes[edge.to].position;
        const Vec3 centre{(a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2};
        const Vec3 axis = minus(b, a);
        const double height = std::fabs(length(axis) - expected.cylinderShortening);
        cylinders.push_back({centre,
                             [centre, axis, height, edgeRadius](const Vec3& p) {
                                 const Vec3 offset = minus(p, centre);
                                 const double full = length(axis);
                                 if (full == 0) {
                                     // Coincident ends: the cylinder stands upright.
                                     return std::max(
                                         std::fabs(std::fabs(offset.y) - height / 2),
                                         std::fabs(std::hypot(offset.x, offset.z) - edgeRadius));
                                 }
                                 const double along = dot(offset, axis) / full;
                                 const double across =
                                     std::sqrt(std::max(0.0, dot(offset, offset) - along * along));
                                 return std::max(std::fabs(std::fabs(along) - height / 2),
                                                 std::fabs(across - edgeRadius));
                             },
                             colourOf(wanted.edges, k)});
    }
    const std::size_t meshes = cylinders.empty() ? 1 : 2;
    if (scene.faceSets.size() != meshes) {
        std::printf("%zu meshes in the scene, %zu expected\n", scene.faceSets.size(), meshes);
        return 1;
    }
    for (std::size_t i = 0; i < meshes; ++i) {
        if (scene.faceSetCollides[i]) {
            // Viewers would build a collision structure over every one of its triangles.
            std::printf("mesh %zu is not in a Collision group with collide FALSE\n", i);
            ++failures;
        }
    }
    failures += matchComponents("sphere", componentsOf(scene.faceSets[0], scene.faceSetColours[0]),
                                spheres, kSphereTriangles, tolerance);
    if (!cylinders.empty()) {
        failures +=
            matchComponents("cylinder", componentsOf(scene.faceSets[1], scene.faceSetColours[1]),
                            cylinders, kCylinderTriangles, tolerance);
    }
    if (failures > 0) {
        return 1;
    }
    std::printf("ok: %zu spheres, %zu cylinders\n", spheres.size(), cylinders.size());
    return 0;
}

std::optional<Arguments> parseArguments(const std::vector<std::string>& words) {
    if (words.size() < 4 || words.size() % 2 != 0 || words[2] != "--edges") {
        return std::nullopt;
    }
    Arguments arguments{words[0], words[1], words[3] == "true", false, "1"};
    for (std::size_t k = 4; k < words.size(); k += 2) {
        if (words[k] == "--colour" && (words[k + 1] == "component" || words[k + 1] == "none")) {
            arguments.colours = words[k + 1] == "component";
        } else if (words[k] == "--size") {
            arguments.size = words[k + 1];
        } else {
            return std::nullopt;
        }
    }
    return arguments;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Arguments> arguments =
        parseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!arguments) {
        std::fputs("usage: merged_conformance LAYOUT MERGED.wrl --edges true|false "
                   "[--colour component|none] [--size auto|FACTOR]\n",
                   stderr);
        return 2;
    }
    try {
        return check(*arguments);
    } catch (const std::exception& error) {
        std::printf("%s\n", error.what());
        return 2;
    }
}
