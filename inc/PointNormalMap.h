#ifndef KELVO_POINTNORMALMAP_H
#define KELVO_POINTNORMALMAP_H

#include <array>
#include <vector>

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
    struct Entry {
        int point;
        Vector normal;
    };
    const Entry* find(int point) const;

    // A triangle has three corners: they are kept in place, so a mesh's normals cost no
    // allocation per triangle. Points past the third (not a corner's) go to extra.
    std::array<Entry, 3> corners{};
    int count = 0;
    std::vector<Entry> extra;
};

#endif
