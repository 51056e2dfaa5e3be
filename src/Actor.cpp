#include "Actor.h"

#include <GL/gl.h>

#include "Environment.h"
#include "GLMatrixScope.h"
#include "Log.h"
#include "Matrix.h"
#include "PolygonTriangulation.h"
#include "StringUtil.h"
#include "Surface.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {

bool debugging()
{
    return Log::getInstance()->getLevel() >= LogLevel::debug;
}

std::string twoDecimals(float value)
{
    return ::toString(static_cast<double>(value));
}
}

Actor::Actor(Environment* owner)
    : Mesh(owner), prepared(false), staticMeshes("Actor::Factory<StaticMesh>"), rigidBaseMesh(owner),
      skinnedMesh(owner), enabled(true)
{
}

Actor::~Actor() = default;

std::vector<int> Actor::addPolygon(const int* points, int count, int polygonIndex)
{
    std::vector<int> made;
    addPolygonTriangles(points, count, polygonIndex, &made);
    return made;
}

int Actor::addPolygonTriangles(const int* points, int count, int polygonIndex, std::vector<int>* made)
{
    if (!points || count < 3)
        return 0;
    // A triangle is its own fan: only a larger polygon needs its corners' places to be cut.
    if (count == 3) {
        const int triangle = addTriangle(points[0], points[2], points[1], polygonIndex);
        if (made)
            made->push_back(triangle);
        return 1;
    }
    // A corner without a point has no place to cut by: such a polygon gets the plain fan.
    polygonCorners.clear();
    for (int i = 0; i < count; ++i) {
        const Point* point = findPoint(points[i]);
        if (!point)
            break;
        polygonCorners.push_back(point->toVector());
    }
    const std::vector<PolygonTriangulation::Corners>& pieces =
        static_cast<int>(polygonCorners.size()) == count ? triangulation.cut(polygonCorners.data(), count)
                                                         : triangulation.cutFan(count);
    for (const PolygonTriangulation::Corners& piece : pieces) {
        const int triangle = addTriangle(points[piece[0]], points[piece[1]], points[piece[2]], polygonIndex);
        if (made)
            made->push_back(triangle);
    }
    return static_cast<int>(pieces.size());
}

int Actor::addBone(const Vector& start, const Vector& end)
{
    bones.emplace_back(new Bone(start, end));
    prepared = false;
    return static_cast<int>(bones.size()) - 1;
}

Bone* Actor::getBone(int index) const
{
    if (index < 0 || index >= static_cast<int>(bones.size()))
        return nullptr;
    return bones[static_cast<std::size_t>(index)].get();
}

void Actor::setBoneName(int index, const std::string& name)
{
    Bone* bone = getBone(index);
    if (!bone) {
        KELVO_LOG(LogLevel::warning) << "setBoneName() - Actor \"" << this->name
                     << "\" has no bone " << ::toString(index) << " to name \"" << name << "\"." << logEnd;
        return;
    }
    bone->setName(name);
    boneNames[name] = bone;
}

Bone* Actor::findBone(const std::string& name) const
{
    for (const auto& bone : bones)
        if (bone->getName() == name)
            return bone.get();
    return nullptr;
}

void Actor::addPointWeight(int point, const std::string& bone, float weight)
{
    pointWeights.add(point, bone, weight);
}

void Actor::collectRootBones()
{
    rootBones.clear();
    for (const auto& bone : bones)
        if (!bone->getParent())
            rootBones.push_back(bone.get());
}

void Actor::printBoneHierarchy(int depth)
{
    collectRootBones();
    KELVO_LOG(LogLevel::info) << "printBoneHierarchy() - Printing bone hierarchy: ("
                 << ::toString(static_cast<int>(rootBones.size())) << " root bones)" << logEnd;
    for (const Bone* bone : rootBones)
        bone->printHierarchy(depth);
}

std::string Actor::toString() const
{
    return Mesh::toString() + "\n Actor::toString() - Bone group. " + ::toString(getBoneCount()) + " bones.";
}

void Actor::initialize()
{
    Mesh::initialize();
    cpPolToBones();
    collectRootBones();
    for (const auto& bone : bones)
        bone->CommonObject::initialize();
    prepared = true;
    rigidBaseMesh.initialize();
    // The blended points already hold the camera: the skinned mesh is drawn without a transform.
    skinnedMesh.setTransformEnabled(false);
    skinnedMesh.initialize();
    skinnedArrays.build(skinnedMesh, getPoints(), pointWeights, boneNames);
    KELVO_LOG(LogLevel::debug) << "initialize() - Actor \"" << name
                 << "\" Triangles: " << ::toString(skinnedMesh.getTriangleCount()) << " skinned, "
                 << ::toString(rigidBaseMesh.getTriangleCount()) << " rigid, "
                 << ::toString(getTriangleCount()) << " total." << logEnd;
}

void Actor::render(double time)
{
    if (!enabled)
        return;
    if (!prepared)
        initialize();
    if (rigidBaseMesh.getTriangleCount() > 0)
        rigidBaseMesh.render(time);
    for (Bone* bone : rootBones)
        bone->render(time);
    if (skinnedMesh.getTriangleCount() > 0)
        renderSkinned(time);
}

void Actor::copyUVRange(Mesh& target) const
{
    const TextureCoordinateMap own = getTextureCoordinateMap();
    TextureCoordinateMap map = target.getTextureCoordinateMap();
    map.setRange(own.getMin(), own.getMax());
    target.setTextureCoordinateMap(map);
}

void Actor::dropUnknownBoneWeights()
{
    // A weight map that names no bone (LightWave uses weight maps for more than skinning) binds
    // nothing: blending and the per-bone meshes need the bone.
    std::map<std::string, int> unknown;  // bone name -> points weighted to it
    for (const auto& entry : pointWeights.getMaps())
        for (const auto& weight : entry.second.getWeights())
            if (boneNames.find(weight.first) == boneNames.end() && !findBone(weight.first))
                ++unknown[weight.first];
    for (const auto& entry : unknown) {
        for (const auto& point : pointWeights.getMaps())
            pointWeights.get(point.first).removeWeight(entry.first);
        KELVO_LOG(LogLevel::warning) << "cpPolToBones() - Actor \"" << name
                     << "\" has no bone \"" << entry.first << "\"; its weights on "
                     << ::toString(entry.second) << " points are ignored." << logEnd;
    }
}

void Actor::cpPolToBones()
{
    copyUVRange(rigidBaseMesh);
    copyUVRange(skinnedMesh);
    dropUnknownBoneWeights();
    for (const auto& entry : getPoints()) {
        PointBoneWeightMap& weights = pointWeights.get(entry.first);
        weights.normalize();
        if (debugging()) {
            std::string list;
            for (const auto& weight : weights.getWeights())
                list += " [" + weight.first + ", " + twoDecimals(weight.second) + "]";
            KELVO_LOG(LogLevel::debug) << "cpPolToBones() - Point " << ::toString(entry.first)
                         << ": (" << entry.second.toVector().toString() << ") has weights: " << list << logEnd;
        }
    }
    for (const auto& entry : getTriangles())
        addToBones(entry.first);
}

void Actor::addToBones(int triangle)
{
    const Triangle* t = getTriangle(triangle);
    if (!t)
        return;
    const PointBoneWeightMap bonesOfTriangle =
        pointWeights.getBoneUnion(t->getPoint(0), t->getPoint(1), t->getPoint(2));
    switch (bonesOfTriangle.getBoneCountClass()) {
    case 0:
        KELVO_LOG(LogLevel::debug) << "addToBones() - Triangle " << ::toString(triangle)
                     << ": Empty (leave here)" << logEnd;
        addToRigidBaseMesh(triangle);
        break;
    case 1: {
        const std::string& bone = bonesOfTriangle.getWeights().begin()->first;
        KELVO_LOG(LogLevel::debug) << "addToBones() - Triangle " << ::toString(triangle)
                     << ": Rigid, Attach to " << bone << logEnd;
        addToBoneMesh(triangle, bone);
        break;
    }
    default:
        if (debugging()) {
            std::string list;
            for (const auto& weight : bonesOfTriangle.getWeights())
                list += "[" + weight.first + " " + twoDecimals(weight.second) + "] ";
            KELVO_LOG(LogLevel::debug) << "addToBones() - Triangle " << ::toString(triangle)
                         << ": Skinned, bound to " << list << logEnd;
        }
        addToSkinnedMesh(triangle);
        break;
    }
}

void Actor::copyTriangle(Mesh& target, int triangle, const Vector& offset)
{
    const Triangle& t = *getTriangle(triangle);
    for (int corner = 0; corner < 3; ++corner) {
        const int point = t.getPoint(corner);
        if (!target.hasPoint(point))
            target.setPoint(point, getPointVector(point) - offset);
    }
    target.setTriangle(triangle, t);
    if (const TextureCoordinate* coordinates = findTriangleTextureCoordinates(triangle))
        target.setTriangleTextureCoordinates(triangle, *coordinates);
    const std::string& surfaceName = t.getSurfaceName();
    Factory<Surface>& library = target.getSurfaces();
    if (!library.exists(surfaceName)) {
        Surface* original = getSurfaces().find(surfaceName);
        library.store(surfaceName, original ? std::make_unique<Surface>(*original) : nullptr);
    }
}

void Actor::addToRigidBaseMesh(int triangle)
{
    if (rigidBaseMesh.getTriangleCount() == 0)
        rigidBaseMesh.setName("rigidbasemesh_" + name);
    copyTriangle(rigidBaseMesh, triangle, Vector());
}

void Actor::addToBoneMesh(int triangle, const std::string& boneName)
{
    Bone* bone = findBone(boneName);
    if (!bone) {
        const auto registered = boneNames.find(boneName);
        if (registered != boneNames.end())
            bone = registered->second;
    }
    if (!bone) {
        // Only reachable for a bone that lost its name after the weights were checked.
        addToRigidBaseMesh(triangle);
        return;
    }
    StaticMesh* mesh = getBoneMesh(boneName);
    if (!mesh) {
        const std::string meshName = boneName + "Mesh";
        if (staticMeshes.exists(meshName))
            throw ComponentAlreadyExistsException(staticMeshes.getFactoryName(),
                                                  "create() - Unable to create new component. Component \"" +
                                                      meshName + "\" already exists in this factory!.");
        mesh = staticMeshes.store(meshName, std::make_unique<StaticMesh>(owner));
        mesh->setName(meshName);
        boneMeshes[boneName] = mesh;
        copyUVRange(*mesh);
        bone->setAttachedMesh(mesh);
    }
    // The bone draws its mesh in its own frame, whose origin is its pivot at rest.
    copyTriangle(*mesh, triangle, bone->getPivot());
}

void Actor::addToSkinnedMesh(int triangle)
{
    copyTriangle(skinnedMesh, triangle, Vector());
}

StaticMesh* Actor::getBoneMesh(const std::string& bone) const
{
    const auto it = boneMeshes.find(bone);
    return it == boneMeshes.end() ? nullptr : it->second;
}

void Actor::renderSkinned(double time)
{
    if (skinnedMesh.getTriangleCount() == 0)
        return;
    // A corner bound to no bone stays where the actor itself puts it: the blended points are in
    // eye space, so it goes through the actor's own modelview, read once a frame.
    float actorFrame[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, actorFrame);
    const Matrix unbound(actorFrame);
    if (skinnedArrays.empty() || skinnedMesh.drawsDebugLines()) {
        renderSkinnedMesh(time, unbound);
        return;
    }
    skinnedMesh.reportZeroFaceNormals(skinnedArrays.blend(unbound));
    const GLMatrixScope matrix;
    glLoadIdentity();
    skinnedArrays.draw(skinnedMesh.getName(), skinnedMesh.isTextured(), owner);
}

void Actor::renderSkinnedMesh(double time, const Matrix& unbound)
{
    const PointMap& rest = getPoints();
    for (const auto& entry : skinnedMesh.getPoints()) {
        const PointBoneWeightMap* weights = pointWeights.find(entry.first);
        const PointMap::const_iterator restPoint = rest.find(entry.first);
        if (restPoint == rest.end())
            continue;
        Vector point = restPoint->second.toVector();
        if (weights && weights->getBoneCountClass() > 0) {
            point = weights->blend(point, boneNames);
        } else {
            point.transform(unbound);
        }
        skinnedMesh.setPoint(entry.first, point);
    }
    skinnedMesh.calcFaceNormals();
    skinnedMesh.calcVertexNormals();
    const GLMatrixScope matrix;
    glLoadIdentity();
    skinnedMesh.render(time);
}
