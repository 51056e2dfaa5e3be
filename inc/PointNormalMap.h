#ifndef KELVO_POINTNORMALMAP_H
#define KELVO_POINTNORMALMAP_H

#include <map>

#include "Vector.h"

// The smoothed vertex normals of one triangle's corners, by point index.
class PointNormalMap {
public:
    // Inserts or replaces the point's normal.
    void setNormal(int point, const Vector& normal);
    // The point's normal; (0, 0, 0) for a point that has none.
    Vector getNormal(int point) const;
    // True when it holds the normals of exactly three points.
    bool isComplete() const;

private:
    std::map<int, Vector> normals;
};

#endif
