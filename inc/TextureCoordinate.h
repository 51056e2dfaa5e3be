#ifndef KELVO_TEXTURECOORDINATE_H
#define KELVO_TEXTURECOORDINATE_H

#include <utility>
#include <vector>

#include "UV.h"

// The texture coordinates of one triangle's corners, by point index.
class TextureCoordinate {
public:
    struct Record {
        int point;
        float u, v;
    };

    TextureCoordinate();
    // The three points, each at (0, 0).
    TextureCoordinate(int p0, int p1, int p2);

    // Each of the three points set to (0, 0), replacing a value it had.
    void setPoints(int p0, int p1, int p2);
    // Inserts or replaces.
    void setCoordinate(int point, const UV& uv);
    // The point's coordinates; (0, 0) for a point that has none.
    UV getCoordinate(int point) const;
    // Every point with its coordinates, in ascending point order.
    std::vector<Record> getCoordinateList() const;
    // True when it holds exactly three points.
    bool isComplete() const;
    bool hasPoint(int point) const;

private:
    typedef std::vector<std::pair<int, UV>> Coordinates;
    // The entry of point, or where it would go.
    Coordinates::iterator position(int point);
    Coordinates::const_iterator position(int point) const;

    // Ascending by point: a triangle has three, so one small block beats a node per point.
    Coordinates coordinates;
};

#endif
