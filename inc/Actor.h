#ifndef KELVO_ACTOR_H
#define KELVO_ACTOR_H

#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Bone.h"
#include "Factory.h"
#include "Mesh.h"
#include "PointBoneWeightTable.h"
#include "PolygonTriangulation.h"
#include "SkinnedVertexArrays.h"
#include "StaticMesh.h"

class Environment;
class Surface;

// A LightWave object: a mesh with a skeleton of bones and bone weights per point. When it is
// prepared its triangles are split once into three drawables: a rigid base mesh for triangles
// bound to no bone, one display-list mesh per bone for those bound to exactly one (drawn in the
// bone's frame), and a skinned mesh for those bound to two or more, whose points are blended from
// their bones' frames every frame. Drawn through a keyframed actor, which places it and turns its
// bones; its own position and orientation are not applied.
class Actor : public Mesh {
public:
    // owner: the scene, for textures, surfaces and the lighting switch; not owned.
    explicit Actor(Environment* owner);
    // Deletes the bones, the per-bone meshes and the surface copies of the drawables.
    ~Actor() override;
    Actor(const Actor&) = delete;
    Actor& operator=(const Actor&) = delete;

    // Cuts the polygon of count point indices into count - 2 triangles that cover it, each
    // carrying polygonIndex and wound against the polygon's order (PolygonTriangulation); returns
    // their triangle indices. A convex polygon gives the fan (v0, v[i+1], v[i]) for i from
    // count - 2 down to 1. Fewer than three points make nothing.
    std::vector<int> addPolygon(const int* points, int count, int polygonIndex);
    // The same for a loader: returns how many triangles were added and, when made is given,
    // appends their indices to it. Allocates nothing of its own for a polygon no larger than the
    // largest before.
    int addPolygonTriangles(const int* points, int count, int polygonIndex, std::vector<int>* made = nullptr);

    // A new root bone from start extending by end (actor units); returns its index. The actor is
    // prepared again at its next render.
    int addBone(const Vector& start, const Vector& end);
    // Null for an index outside the bones.
    Bone* getBone(int index) const;
    int getBoneCount() const { return static_cast<int>(bones.size()); }
    // Renames bone index and registers it under name (a name given twice keeps the later bone).
    // An index outside the bones is refused with a warning.
    void setBoneName(int index, const std::string& name);
    // The first bone of that name in creation order, or null.
    Bone* findBone(const std::string& name) const;
    // The point's weight for the bone; a bone already weighted for the point keeps its first one.
    void addPointWeight(int point, const std::string& bone, float weight);
    PointBoneWeightTable& getPointWeights() { return pointWeights; }

    Environment* getEnvironment() const { return owner; }
    // A disabled actor draws nothing, not even its skeleton.
    void setEnabled(bool on) { enabled = on; }
    bool isEnabled() const { return enabled; }
    bool isPrepared() const { return prepared; }

    // Rebuilds the list of bones without a parent, in creation order.
    void collectRootBones();
    const std::list<Bone*>& getRootBones() const { return rootBones; }
    void printBoneHierarchy(int depth);

    // Normals and texture coordinates of the whole object, the split into the three drawables,
    // then the bones and the drawables themselves. Throws the surface library's not-found error
    // when a triangle names a surface the actor lacks.
    void initialize() override;
    // Prepares the actor when needed, then draws the rigid base mesh, the bones from the roots
    // down (each with its mesh) and the skinned mesh, in the current modelview. Time in seconds.
    void render(double time) override;
    std::string toString() const override;

    // The split: weights normalised per point, then every triangle to its drawable.
    void cpPolToBones();
    void addToBones(int triangle);
    void addToRigidBaseMesh(int triangle);
    void addToBoneMesh(int triangle, const std::string& bone);
    void addToSkinnedMesh(int triangle);
    // Blends the skinned mesh's points from the bones' frames of this frame and draws it; the
    // bones must have rendered in this frame first. Allocates nothing: the points, normals and
    // coordinates live in flat arrays sized when the actor was prepared, drawn as vertex arrays.
    // The skinned mesh's points and face normals follow the frame; its corner normals stay those
    // of its preparation.
    void renderSkinned(double time);

    Mesh& getRigidBaseMesh() { return rigidBaseMesh; }
    Mesh& getSkinnedMesh() { return skinnedMesh; }
    // The bone's own mesh, or null when no triangle is bound to that bone alone.
    StaticMesh* getBoneMesh(const std::string& bone) const;
    Factory<StaticMesh>& getStaticMeshes() { return staticMeshes; }

private:
    // Copies triangle into target with its points moved by -offset (a bone's pivot, or none), its
    // coordinates and a copy of its surface.
    void copyTriangle(Mesh& target, int triangle, const Vector& offset);
    // The actor's UV range onto target's coordinate map.
    void copyUVRange(Mesh& target) const;
    // The skinned mesh blended through the maps of the mesh and drawn in immediate mode, for a
    // mesh the vertex arrays cannot draw.
    void renderSkinnedMesh(double time, const Matrix& unbound);
    // Drops the weights of bones the actor does not have, with one warning per bone name.
    void dropUnknownBoneWeights();

    PolygonTriangulation triangulation;  // room for cutting the next polygon
    std::vector<Vector> polygonCorners;  // room for the corner positions of the next polygon
    std::vector<std::unique_ptr<Bone>> bones;  // creation order; owned
    std::map<std::string, Bone*> boneNames;    // registered names; point into bones
    std::list<Bone*> rootBones;                // bones without parent; point into bones
    bool prepared;                             // cleared by addBone
    PointBoneWeightTable pointWeights;
    std::map<std::string, StaticMesh*> boneMeshes;  // by bone name; point into staticMeshes
    Factory<StaticMesh> staticMeshes;               // the per-bone meshes by mesh name; owns them
    Mesh rigidBaseMesh;                             // triangles bound to no bone
    Mesh skinnedMesh;                               // triangles bound to two or more bones
    SkinnedVertexArrays skinnedArrays;              // skinnedMesh as drawn each frame; built by initialize
    bool enabled;
};

#endif
