#ifndef KELVO_MESH_H
#define KELVO_MESH_H

#include <map>
#include <set>
#include <string>
#include <vector>

#include "CommonObject.h"
#include "Exception.h"
#include "Factory.h"
#include "IndexMap.h"
#include "Surface.h"
#include "TextureCoordinate.h"
#include "TextureCoordinateMap.h"
#include "Triangle.h"
#include "TriangleIndex.h"
#include "TriangleNormalMap.h"
#include "UV.h"
#include "Vector.h"

class Environment;
class Matrix;

// A mesh's triangles by index.
typedef IndexMap<Triangle> TriangleMap;

class MeshException : public Exception {
public:
    explicit MeshException(const std::string& message);
};

// Indexed points and triangles, each triangle drawn with the surface it names from the mesh's own
// surface library, with smoothed vertex normals and per-corner texture coordinates. Built by its
// owner (loaders, sprites, glyphs, the sky), prepared once by initialize and drawn in immediate
// mode; StaticMesh records the same drawing in a display list. Positions are in the mesh's local
// frame, placed by the CommonObject transform.
class Mesh : public CommonObject {
public:
    // owner: the scene whose texture manager, lighting switch and current surface the mesh uses;
    // not owned.
    explicit Mesh(Environment* owner);
    // Frees the mesh's own maps and the surfaces of its library.
    ~Mesh() override;

    // Stores position under the first free index from the running search start on. Taken by value,
    // in registers: a loader hands over each point it has just put together.
    int addPoint(Vector position);
    void setPoint(int index, const Vector& position);  // inserts or replaces
    // Room for so many more points and triangles, for a loader that knows how many come.
    void reserve(int pointCount, int triangleCount);
    // Throw MeshException for an index that holds no point.
    Point getPoint(int index) const;
    Vector getPointVector(int index) const;
    bool hasPoint(int index) const { return points.contains(index); }
    // The stored point in place, or null; for a skinned actor, which moves its points every frame.
    Point* findPoint(int index);
    const PointMap& getPoints() const { return points; }
    // Brings every point back through m (rotation plus translation), e.g. from world coordinates
    // into the mesh's local frame.
    void inverseTransformPoints(const Matrix& m);

    // A triangle of three point indices in winding order under the first free triangle index;
    // polygonIndex names the source polygon, -1 for none. Returns the triangle index.
    int addTriangle(int p0, int p1, int p2, int polygonIndex = -1);
    int addTriangle(const Triangle::PointIndices& points, int polygonIndex);
    // Three new points and a triangle of them.
    int addTriangle(const Vector& a, const Vector& b, const Vector& c);
    // Stores a copy under index, inserting or replacing it.
    void setTriangle(int index, const Triangle& triangle);
    // The stored triangle, or null for an index that holds none. Its polygon index is changed
    // through setTriangle only, which keeps the polygon index of the mesh up to date.
    Triangle* getTriangle(int index) { return triangles.findValue(index); }
    bool hasTriangle(int index) const;
    const TriangleMap& getTriangles() const { return triangles; }
    int getTriangleCount() const { return static_cast<int>(triangles.size()); }
    // Ascending indices of the triangles cut from polygon, however the polygon was split; kept as
    // triangles are added, so a look-up does not walk the triangles.
    const std::vector<int>& getPolygonTriangles(int polygon) const;
    // The triangles registered with point; empty when it has none.
    std::set<int> getPointTriangles(int point) const;
    // The same triangles, ascending, without a copy.
    const std::vector<int>& getPointTriangleList(int point) const;
    // Every triangle is drawn with the surface of that name.
    void setSurfaceName(const std::string& name);
    // The surface library, which owns its surfaces.
    Factory<Surface>& getSurfaces() { return surfaces; }

    // A UV for every triangle of point that has none yet, spread by initialize; not range-tested
    // here.
    void setPointTextureCoordinate(int point, const UV& uv);
    // A flat rectangle in the z = 0 plane from (left, bottom) to (right, top) showing a whole
    // image, its first row along the top edge: points lower left, lower right, upper right, upper
    // left, and two triangles wound clockwise as the viewer sees them (whoever draws it sets the
    // front face to match). Returns the index of the lower-left point.
    int addImageQuad(float left, float bottom, float right, float top);
    // Range-tested against the mesh's UV range: TextureCoordinateException when outside.
    void setTriangleTextureCoordinate(int triangle, int point, const UV& uv);
    void setTriangleTextureCoordinates(int triangle, const TextureCoordinate& coordinates);
    TextureCoordinateMap getTextureCoordinateMap() const;
    // The triangle's corner UVs in place, or null when it has none.
    const TextureCoordinate* findTriangleTextureCoordinates(int triangle) const;
    void setTextureCoordinateMap(const TextureCoordinateMap& map);
    TriangleNormalMap getTriangleNormalMap() const;
    // The triangle's corner normals in place, or null before initialize has made them.
    const PointNormalMap* findTrianglePointNormals(int triangle) const;

    // Per-point UVs projected onto a plane through the named surface's texture centre and size:
    // axis 0 maps (z, y), 1 (x, z), 2 (x, y). Replaces every triangle's coordinates. Throws the
    // library's not-found error, and MeshException for another axis or a texture size of 0 along
    // the plane.
    void calcPlanarMapping(const std::string& surfaceName, int axis);
    // Per-corner UVs of the named surface's triangles from the direction of each corner seen from
    // the origin, the seam closed by moving a corner across it. Replaces every triangle's
    // coordinates.
    void calcSphericalMapping(const std::string& surfaceName);

    // The box around the corners of all triangles; (0, 0, 0) twice without triangles.
    void getBoundingBox(Vector& min, Vector& max) const;

    void setDrawBoundingBox(bool on) { drawBoundingBox = on; }
    void setDrawNormals(bool on) { drawNormals = on; }
    bool isTextured() const { return textured; }
    // Whether render draws more than the triangles: wireframe, normals or the bounding box.
    bool drawsDebugLines() const { return drawWireframe || drawNormals || drawBoundingBox; }

    // Face normals of every triangle; a triangle without one gets (0, 0, 1), counted in one
    // warning.
    void calcFaceNormals();
    // That warning, for count triangles without a face normal; nothing for none.
    void reportZeroFaceNormals(int count) const;
    // The normal of every triangle corner: the mean of the face normals of the point's triangles
    // whose smoothing groups share a bit with this triangle's, not normalised again. Time linear
    // in the corners: once more than 64 groups meet at one point (no modelled surface does), that
    // point's further groups count a triangle once for every bit it shares.
    void calcVertexNormals();
    // Spreads the per-point UVs onto the triangles that have none for the point; the mesh draws
    // textured only when then every triangle has coordinates.
    void initializeTextureCoordinates();

    // The "metal" surface's reflection map, normals, texture coordinates. Throws what loading
    // the reflection map or an out-of-range UV throws.
    void initialize() override;
    // Immediate mode; time is not used. Initialises first when needed. A mesh that is not textured
    // draws its surfaces' materials without their textures. Throws MeshException for a missing
    // surface, missing coordinates or an OpenGL error; the matrix stack is left as it was found and
    // no surface active.
    void render(double time) override;
    std::string toString() const override;

    // Draws every triangle as a wireframe; nothing sets it.
    static bool drawWireframe;

protected:
    // Called after every change of the points, triangles, surface names or texture coordinates,
    // so that a mesh that keeps a recording of its drawing can drop it. Nothing here.
    virtual void drawingChanged() {}

    Environment* owner;  // not owned

private:
    const Point& pointAt(int index, const char* operation) const;
    // Notes triangle index under each of its corners p0, p1, p2.
    void registerTriangle(int index, int p0, int p1, int p2);
    void drawTriangles();
    void renderBoundingBox() const;
    // Texturing off, and lighting while the scene is lit, around unlit debug drawing.
    void beginUnlit() const;
    void endUnlit() const;

    PointMap points;
    TriangleMap triangles;
    TriangleIndex pointTriangles;    // point index -> the triangles registered with it
    TriangleIndex polygonTriangles;  // polygon index -> its triangles
    // Per-point UVs waiting for initialize, by point: a table indexed by the point, so that a map
    // listing its points in any order stores each without moving the others.
    IndexMap<UV> pointTextureCoordinates;
    TextureCoordinateMap textureCoordinates;      // per triangle corner
    TriangleNormalMap vertexNormals;              // per triangle corner
    Factory<Surface> surfaces;
    bool drawBoundingBox;
    bool textured;  // every triangle had coordinates at the last initialize
    bool drawNormals;
    int nextPointIndex;     // where the search for a free point index starts
    int nextTriangleIndex;  // where the search for a free triangle index starts
};

#endif
