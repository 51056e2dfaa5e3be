#ifndef KELVO_SKINNEDVERTEXARRAYS_H
#define KELVO_SKINNEDVERTEXARRAYS_H

#include <map>
#include <string>
#include <vector>

#include "Matrix.h"
#include "Triangle.h"
#include "Vector.h"

class Bone;
class Environment;
class Mesh;
class PointBoneWeightTable;
class Surface;

// The skinned mesh of an actor as flat arrays, sized once when the actor is prepared: every frame
// its points are blended from their bones' frames, its face and corner normals made again, and it
// is drawn with OpenGL 1.1 vertex arrays in the mesh's triangle order with the mesh's surfaces, so
// it shows the very pixels the mesh would draw in immediate mode, without a heap allocation.
class SkinnedVertexArrays {
public:
    SkinnedVertexArrays();

    // Takes what stays fixed from mesh (the skinned mesh, initialised: points, triangles, smoothing
    // groups, surfaces, texture coordinates), the actor's rest points, its weights (normalised)
    // and its bones by name; mesh must keep its points and triangles while the arrays are used.
    // False, leaving the arrays empty, for a mesh they cannot draw as it would draw itself (a
    // triangle without a surface, a point or texture coordinates, debug drawing switched on).
    bool build(Mesh& mesh, const PointMap& rest, const PointBoneWeightTable& weights,
               const std::map<std::string, Bone*>& bones);
    bool empty() const { return triangleCount == 0; }
    void clear();

    // The frame's points: each bound point the weighted sum of its bones' current frames, each
    // point bound to no bone through unbound (the actor's own modelview); written into the mesh's
    // points too. Then the face normals (also into the mesh's triangles) and the corner normals.
    // Returns the number of triangles without a face normal, given (0, 0, 1).
    int blend(const Matrix& unbound);
    // Draws the blended triangles in the current modelview as Mesh::render draws a mesh of
    // meshName in scene, leaving no surface of the scene active. Throws MeshException for an
    // OpenGL error.
    void draw(const std::string& meshName, bool textured, Environment* scene);

private:
    struct Weight {
        int bone;  // into frames
        float weight;
    };
    // Consecutive triangles of one surface, drawn with one call.
    struct Run {
        Surface* surface;  // not owned
        int firstCorner;  // into cornerVertex
        int cornerCount;
        int firstTriangle;  // the mesh's index of its first triangle, for error messages
    };

    void drawRunImmediate(const Run& run) const;

    int triangleCount;
    std::vector<const Bone*> bones;         // whose frames are read; not owned
    std::vector<Matrix> frames;             // each bone's worldMatrix of this frame
    std::vector<Vector> pivots;             // each bone's rest start
    std::vector<Vector> restPoints;         // per point of the mesh, in index order
    enum PointKind : char { UNBOUND, BOUND, KEPT };
    std::vector<PointKind> kinds;           // per point: KEPT for a point the rest lacks
    std::vector<int> weightStart;           // per point, into weights; one more at the end
    std::vector<Weight> weights;            // in bone-name order per point
    std::vector<Point*> meshPoints;         // the mesh's own points, moved every frame; not owned
    std::vector<Vector> points;             // blended positions, per point
    std::vector<Triangle*> meshTriangles;   // the mesh's own triangles, given their normals
    std::vector<int> cornerPoints;          // per corner (3 per triangle), into points
    std::vector<Vector> faceNormals;        // per triangle
    std::vector<int> smoothStart;           // per smoothing set, into smoothTriangles; one more
    std::vector<int> smoothTriangles;       // the triangles whose face normals a set averages
    std::vector<Vector> smoothNormals;      // per smoothing set
    // Corners with the same point, normal and texture coordinate share one vertex, so OpenGL
    // transforms and lights it once rather than once per corner.
    std::vector<int> vertexPoint;           // per vertex, into points
    std::vector<int> vertexNormal;          // per vertex: a smoothing set, or -1 - its triangle
    std::vector<unsigned> cornerVertex;     // per corner, its vertex: the drawn indices
    std::vector<float> vertexPositions;     // 3 floats per vertex, as drawn
    std::vector<float> vertexNormals;       // 3 floats per vertex
    std::vector<float> vertexUVs;           // 2 floats per vertex
    std::vector<Run> runs;
};

#endif
