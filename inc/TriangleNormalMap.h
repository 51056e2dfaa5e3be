#ifndef KELVO_TRIANGLENORMALMAP_H
#define KELVO_TRIANGLENORMALMAP_H

#include "IndexMap.h"
#include "PointNormalMap.h"
#include "Vector.h"

// The vertex normals of every triangle of a mesh, by triangle index: a point shared by triangles of
// different smoothing groups carries a different normal in each.
class TriangleNormalMap {
public:
    // Creates the triangle's entry when absent, then inserts or replaces the point's normal.
    void setNormal(int triangle, int point, const Vector& normal);
    // A copy of the triangle's corner normals; empty for a triangle that has none.
    PointNormalMap getPointNormals(int triangle) const;
    // The triangle's corner normals in place, or null; for drawing, which must not copy per frame.
    const PointNormalMap* findPointNormals(int triangle) const;
    bool hasTriangle(int triangle) const;
    int size() const;
    void clear();
    // Room for triangles entries, for a mesh that sets the normals of all its triangles at once.
    void reserve(int triangles);

private:
    IndexMap<PointNormalMap> triangles;
};

#endif
