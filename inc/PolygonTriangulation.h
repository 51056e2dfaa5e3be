#ifndef KELVO_POLYGONTRIANGULATION_H
#define KELVO_POLYGONTRIANGULATION_H

#include <array>
#include <vector>

#include "Vector.h"

// Cuts a polygon of n corners into n - 2 triangles that cover it exactly, concave or not, by ear
// clipping in the polygon's own plane (the plane of its Newell normal, so a slightly non-planar
// polygon is cut as its shadow on that plane). Every triangle is given in the engine's drawing
// order, which reverses the polygon's corner order. A convex polygon gives the fan from corner 0:
// (0, i + 1, i) for i from n - 2 down to 1. A polygon that encloses no area or crosses itself has
// no inside to cut along and gets that fan too.
class PolygonTriangulation {
public:
    // Three corner numbers (0 .. n - 1) of the polygon.
    using Corners = std::array<int, 3>;
    // A corner's place in the polygon's plane.
    struct Place {
        double x;
        double y;
    };

    // corners: the polygon's corner positions in file order. Fewer than three give nothing.
    static std::vector<Corners> triangulate(const std::vector<Vector>& corners);
    // The fan from corner 0 of a polygon of count corners.
    static std::vector<Corners> fan(int count);

    // The same cuts in storage this object keeps for the next polygon, valid until the next call:
    // a caller cutting many polygons allocates only for a polygon larger than any before.
    const std::vector<Corners>& cut(const Vector* corners, int count);
    const std::vector<Corners>& cutFan(int count);

private:
    std::vector<Corners> made;
    std::vector<Place> flat;  // the corners in the polygon's plane
    std::vector<int> previous, next;  // the neighbours of each corner left while ears are clipped
};

#endif
