#include "coin_scene.hpp"

#include <Inventor/SbViewportRegion.h>
#include <Inventor/SoDB.h>
#include <Inventor/SoInput.h>
#include <Inventor/SoPath.h>
#include <Inventor/SoPrimitiveVertex.h>
#include <Inventor/VRMLnodes/SoVRMLAppearance.h>
#include <Inventor/VRMLnodes/SoVRMLCollision.h>
#include <Inventor/VRMLnodes/SoVRMLCylinder.h>
#include <Inventor/VRMLnodes/SoVRMLIndexedFaceSet.h>
#include <Inventor/VRMLnodes/SoVRMLMaterial.h>
#include <Inventor/VRMLnodes/SoVRMLShape.h>
#include <Inventor/VRMLnodes/SoVRMLSphere.h>
#include <Inventor/VRMLnodes/SoVRMLText.h>
#include <Inventor/VRMLnodes/SoVRMLWorldInfo.h>
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/actions/SoGetMatrixAction.h>
#include <Inventor/actions/SoSearchAction.h>
#include <Inventor/errors/SoDebugError.h>
#include <Inventor/errors/SoMemoryError.h>
#include <Inventor/errors/SoReadError.h>
#include <Inventor/nodes/SoSeparator.h>
#include <cmath>
#include <map>
#include <stdexcept>

namespace conformance {
namespace {

// Coin spreads one report over several indented lines; one line reads better in a test log.
std::string oneLine(const std::string& text) {
    std::string line;
    for (const char c : text) {
        const bool blank = c == '\n' || c == '\t' || c == ' ';
        if (!blank) {
            line += c;
        } else if (!line.empty() && line.back() != ' ') {
            line += ' ';
        }
    }
    if (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    return line;
}

void collectMessage(const SoError* error, void* messages) {
    static_cast<std::vector<std::string>*>(messages)->push_back(
        oneLine(error->getDebugString().getString()));
}

// Every kind of Coin diagnostic (errors, warnings, infos) goes to `messages` instead of stderr.
void captureMessages(std::vector<std::string>& messages) {
    SoError::setHandlerCallback(collectMessage, &messages);
    SoDebugError::setHandlerCallback(collectMessage, &messages);
    SoReadError::setHandlerCallback(collectMessage, &messages);
    SoMemoryError::setHandlerCallback(collectMessage, &messages);
}

void releaseMessages() {
    SoError::setHandlerCallback(nullptr, nullptr);
    SoDebugError::setHandlerCallback(nullptr, nullptr);
    SoReadError::setHandlerCallback(nullptr, nullptr);
    SoMemoryError::setHandlerCallback(nullptr, nullptr);
}

Vec3 toVec3(const SbVec3f& v) {
    return {v[0], v[1], v[2]};
}

double lengthOf(const SbVec3f& v) {
    return std::sqrt(double{v[0]} * v[0] + double{v[1]} * v[1] + double{v[2]} * v[2]);
}

SoPathList pathsTo(SoNode* root, SoType type) {
    SoSearchAction search;
    search.setType(type);
    search.setInterest(SoSearchAction::ALL);
    search.apply(root);
    return search.getPaths();
}

// The diffuse colour of the Shape a search path ends at; black when it has no Material, as
// VRML lights an unlit shape.
Vec3 shapeColour(SoPath* path) {
    const SoNode* tail = path->getTail();
    if (!tail->isOfType(SoVRMLShape::getClassTypeId())) {
        return {0, 0, 0};
    }
    const SoNode* appearance = static_cast<const SoVRMLShape*>(tail)->appearance.getValue();
    if (appearance == nullptr || !appearance->isOfType(SoVRMLAppearance::getClassTypeId())) {
        return {0, 0, 0};
    }
    const SoNode* material = static_cast<const SoVRMLAppearance*>(appearance)->material.getValue();
    if (material == nullptr || !material->isOfType(SoVRMLMaterial::getClassTypeId())) {
        return {0, 0, 0};
    }
    return toVec3(static_cast<const SoVRMLMaterial*>(material)->diffuseColor.getValue());
}

// Coin ends a search path at the VRML Shape that holds the geometry in its field, not at the
// geometry node itself; both forms are accepted.
template <typename Geometry> const Geometry* geometryAtTail(SoPath* path) {
    SoNode* tail = path->getTail();
    if (tail->isOfType(SoVRMLShape::getClassTypeId())) {
        tail = static_cast<SoVRMLShape*>(tail)->geometry.getValue();
    }
    if (tail == nullptr || !tail->isOfType(Geometry::getClassTypeId())) {
        throw std::runtime_error("a search for " +
                                 std::string(Geometry::getClassTypeId().getName().getString()) +
                                 " returned another kind of node");
    }
    return static_cast<const Geometry*>(tail);
}

// The accumulated model matrix from the root down to the path's tail.
SbMatrix worldMatrixOf(SoPath* path) {
    SoGetMatrixAction action{SbViewportRegion()};
    action.apply(path);
    return action.getMatrix();
}

Vec3 worldOrigin(const SbMatrix& world) {
    SbVec3f origin;
    world.multVecMatrix(SbVec3f(0, 0, 0), origin);
    return toVec3(origin);
}

// Scale along local x, which equals the radial scale for the rigid transforms expected here.
double radialScale(const SbMatrix& world) {
    SbVec3f image;
    world.multDirMatrix(SbVec3f(1, 0, 0), image);
    return lengthOf(image);
}

std::vector<WorldSphere> spheresIn(SoNode* root) {
    std::vector<WorldSphere> spheres;
    const SoPathList paths = pathsTo(root, SoVRMLSphere::getClassTypeId());
    for (int i = 0; i < paths.getLength(); ++i) {
        const SbMatrix world = worldMatrixOf(paths[i]);
        const auto* sphere = geometryAtTail<SoVRMLSphere>(paths[i]);
        spheres.push_back({worldOrigin(world), sphere->radius.getValue() * radialScale(world),
                           shapeColour(paths[i])});
    }
    return spheres;
}

std::vector<WorldCylinder> cylindersIn(SoNode* root) {
    std::vector<WorldCylinder> cylinders;
    const SoPathList paths = pathsTo(root, SoVRMLCylinder::getClassTypeId());
    for (int i = 0; i < paths.getLength(); ++i) {
        const SbMatrix world = worldMatrixOf(paths[i]);
        const auto* cylinder = geometryAtTail<SoVRMLCylinder>(paths[i]);
        SbVec3f axis;
        world.multDirMatrix(SbVec3f(0, 1, 0), axis);
        cylinders.push_back(
            {worldOrigin(world), toVec3(axis), cylinder->height.getValue() * lengthOf(axis),
             cylinder->radius.getValue() * radialScale(world), shapeColour(paths[i])});
    }
    return cylinders;
}

std::vector<WorldLabel> labelsIn(SoNode* root) {
    std::vector<WorldLabel> labels;
    const SoPathList paths = pathsTo(root, SoVRMLText::getClassTypeId());
    for (int i = 0; i < paths.getLength(); ++i) {
        const auto* text = geometryAtTail<SoVRMLText>(paths[i]);
        WorldLabel label{worldOrigin(worldMatrixOf(paths[i])), {}};
        for (int k = 0; k < text->string.getNum(); ++k) {
            label.lines.emplace_back(text->string[k].getString());
        }
        labels.push_back(label);
    }
    return labels;
}

std::vector<std::string> worldInfoIn(SoNode* root) {
    std::vector<std::string> lines;
    const SoPathList paths = pathsTo(root, SoVRMLWorldInfo::getClassTypeId());
    if (paths.getLength() > 0) {
        const auto* info = static_cast<const SoVRMLWorldInfo*>(paths[0]->getTail());
        for (int k = 0; k < info->info.getNum(); ++k) {
            lines.emplace_back(info->info[k].getString());
        }
    }
    return lines;
}

struct FaceSetCollector {
    std::vector<FaceSetTriangles>* sets;
    std::vector<FaceSetColours>* colours;
    std::vector<bool>* collides;
    std::map<const SoNode*, std::size_t> setOf;
};

bool insideNoCollisionGroup(const SoPath& path) {
    for (int i = 0; i < path.getLength(); ++i) {
        const SoNode* node = path.getNode(i);
        if (node->isOfType(SoVRMLCollision::getClassTypeId()) &&
            !static_cast<const SoVRMLCollision*>(node)->collide.getValue()) {
            return true;
        }
    }
    return false;
}

void collectTriangle(void* data, SoCallbackAction* action, const SoPrimitiveVertex* a,
                     const SoPrimitiveVertex* b, const SoPrimitiveVertex* c) {
    auto& collector = *static_cast<FaceSetCollector*>(data);
    const SoNode* node = action->getCurPathTail();
    auto [entry, added] = collector.setOf.emplace(node, collector.sets->size());
    if (added) {
        collector.sets->emplace_back();
        collector.colours->emplace_back();
        collector.collides->push_back(!insideNoCollisionGroup(*action->getCurPath()));
    }
    std::array<Vec3, 3> corners{};
    std::array<Vec3, 3> colours{};
    const SoPrimitiveVertex* vertices[3] = {a, b, c};
    for (std::size_t k = 0; k < 3; ++k) {
        SbVec3f world;
        action->getModelMatrix().multVecMatrix(vertices[k]->getPoint(), world);
        corners[k] = toVec3(world);
        SbColor ambient;
        SbColor diffuse;
        SbColor specular;
        SbColor emission;
        float shininess = 0;
        float transparency = 0;
        action->getMaterial(ambient, diffuse, specular, emission, shininess, transparency,
                            vertices[k]->getMaterialIndex());
        colours[k] = toVec3(diffuse);
    }
    (*collector.sets)[entry->second].push_back(corners);
    (*collector.colours)[entry->second].push_back(colours);
}

void collectFaceSets(SoNode* root, SceneContents& contents) {
    FaceSetCollector collector{
        &contents.faceSets, &contents.faceSetColours, &contents.faceSetCollides, {}};
    SoCallbackAction action;
    action.addTriangleCallback(SoVRMLIndexedFaceSet::getClassTypeId(), collectTriangle, &collector);
    action.apply(root);
}

void collectGeometry(SoNode* root, SceneContents& contents) {
    contents.spheres = spheresIn(root);
    contents.cylinders = cylindersIn(root);
    contents.labels = labelsIn(root);
    contents.worldInfo = worldInfoIn(root);
    collectFaceSets(root, contents);
}

// The input is closed before the caller stops capturing, so nothing it says is missed.
void readInto(const std::string& path, SceneContents& contents) {
    SoInput input;
    if (!input.openFile(path.c_str())) {
        return;
    }
    if (!input.isFileVRML2()) {
        contents.readerMessages.push_back("the file is not read as VRML 2.0");
    }
    SoSeparator* root = SoDB::readAll(&input);
    if (root == nullptr) {
        return;
    }
    root->ref();
    contents.loaded = true;
    collectGeometry(root, contents);
    root->unref();
}

} // namespace

SceneContents readSceneWithCoin(const std::string& path) {
    SoDB::init();
    SceneContents contents;
    captureMessages(contents.readerMessages);
    readInto(path, contents);
    releaseMessages();
    // Coin holds global state until shut down; leak checkers would report it otherwise.
    SoDB::finish();
    return contents;
}

} // namespace conformance
