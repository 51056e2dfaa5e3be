#ifndef KELVO_TRIANGLE_H
#define KELVO_TRIANGLE_H

#include <array>
#include <memory>
#include <string>

#include "Exception.h"
#include "IndexMap.h"
#include "Point.h"
#include "Vector.h"

// A mesh's points by index, as the triangles refer to them.
typedef IndexMap<Point> PointMap;

// One triangle of a mesh: three point indices into the mesh's point map in drawing (winding)
// order, the surface that draws it, its face normal and where it came from. A plain value.
class Triangle {
public:
    typedef std::array<int, 3> PointIndices;
    // A surface name the triangles that carry it share, so that each holds a pointer, not a copy
    // of the text; null for the empty name.
    typedef std::shared_ptr<const std::string> SurfaceName;

    // The shared form of name, for a caller that gives many triangles the same one.
    static SurfaceName shareSurfaceName(const std::string& name);

    Triangle();
    // The corners; every other field at its default.
    explicit Triangle(const PointIndices& points);
    Triangle(const Triangle& other) = default;
    Triangle(Triangle&& other) = default;
    Triangle& operator=(const Triangle& other) = default;
    Triangle& operator=(Triangle&& other) = default;

    void setPoints(const PointIndices& points);
    // corner 0 to 2; other values are outside the contract.
    int getPoint(int corner) const { return points[corner]; }
    PointIndices getPoints() const { return points; }
    bool hasPoint(int point) const;

    void setSurfaceName(const std::string& name);
    void setSurfaceName(const SurfaceName& name) { surfaceName = name; }
    // The stored name itself, so that drawing looks surfaces up without copying it.
    const std::string& getSurfaceName() const { return surfaceName ? *surfaceName : noName(); }

    void setPolygonIndex(int index);
    int getPolygonIndex() const;

    void setNormal(const Vector& normal);
    Vector getNormal() const;

    void setSmoothingGroup(int mask);
    int getSmoothingGroup() const;

    // The unit face normal of the corners looked up in points (the owning mesh's point map); the
    // result is not stored. Throws TriangleException for a corner missing from points and for
    // corners that span no area.
    Vector calcNormal(const PointMap& points) const;

private:
    static const std::string& noName();

    // Laid out so that no padding comes between the fields: a large mesh holds millions.
    PointIndices points;      // -1 until set
    int polygonIndex;         // the source polygon this triangle was cut from; -1 for none
    SurfaceName surfaceName;  // null (the empty name) until set
    Vector normal;            // stored by the mesh after calcNormal
    int smoothingGroup;       // bit mask; -1 shares a bit with every non-zero mask
};

class TriangleException : public Exception {
public:
    explicit TriangleException(const std::string& message);
};

#endif
