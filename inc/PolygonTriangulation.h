#ifndef KELVO_POLYGONTRIANGULATION_H
#define KELVO_POLYGONTRIANGULATION_H

#include <array>
#include <cstdint>
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
    // a caller cutting many polygons allocates only for a polygon larger than any before, and for
    // the nodes of the sweep that looks for crossings in a concave polygon of many corners.
    const std::vector<Corners>& cut(const Vector* corners, int count);
    const std::vector<Corners>& cutFan(int count);

private:
    std::vector<Corners> made;
    std::vector<Place> flat;  // the corners in the polygon's plane
    std::vector<int> previous, next;  // the neighbours of each corner left while ears are clipped
    // For a polygon of many corners: the sweep that looks for crossings (the corners turned and
    // in the order it meets them), the cells over the plane that test the edges near each other
    // when the sweep is unsure (per cell where its list starts in cellItems, one more at the end;
    // the lists; the (cell, edge) notes they are sorted from), and the tree of the corners that
    // ear tests look through (its order of corners, each corner's place in it, per node a box
    // and the count of corners left).
    std::vector<Place> slanted;
    std::vector<int> sweepOrder;
    std::vector<int> cellFirst, cellItems;
    std::vector<std::uint64_t> cellNotes;
    std::vector<int> treeOrder, treePosition, treeLeft;
    std::vector<double> treeBoxes;
    std::vector<char> clipped;  // per corner, whether its ear has been cut off
};

#endif
