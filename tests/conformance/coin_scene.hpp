#pragma once

#include "expected_scene.hpp"

#include <array>
#include <string>
#include <vector>

namespace conformance {

// Geometry as a viewer places it: every value is in world coordinates, after all the
// enclosing transforms.
struct WorldSphere {
    Vec3 centre;
    double radius;
    Vec3 colour; // the Material's diffuse colour
};

struct WorldCylinder {
    Vec3 centre;
    Vec3 axis; // image of the cylinder's local unit y axis; its length is the axial scale
    double height;
    double radius;
    Vec3 colour;
};

struct WorldLabel {
    Vec3 origin;
    std::vector<std::string> lines;
};

// The triangles of one IndexedFaceSet (a merged scene's mesh), corners in world coordinates.
using FaceSetTriangles = std::vector<std::array<Vec3, 3>>;
// The diffuse colour of each corner of those triangles, as Coin binds the mesh's colours.
using FaceSetColours = std::vector<std::array<Vec3, 3>>;

struct SceneContents {
    bool loaded = false;
    std::vector<std::string> readerMessages; // anything Coin reported while reading or walking
    std::vector<WorldSphere> spheres;        // in traversal (file) order
    std::vector<WorldCylinder> cylinders;
    std::vector<WorldLabel> labels;
    std::vector<FaceSetTriangles> faceSets;     // in traversal (file) order, as Coin triangulates
    std::vector<FaceSetColours> faceSetColours; // matching faceSets triangle by triangle
    std::vector<std::string> worldInfo;         // the info lines of the WorldInfo node, if any
    std::vector<bool> faceSetCollides; // per face set: not inside a Collision { collide FALSE }
};

// Reads a VRML 2.0 file with Coin and collects its spheres, cylinders and text nodes.
// Starts and shuts down Coin, so it can be called only once per process.
SceneContents readSceneWithCoin(const std::string& path);

} // namespace conformance
