#ifndef KELVO_TRIANGLE_H
#define KELVO_TRIANGLE_H

#include <array>
#include <utility>
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

    // A surface name the triangles that carry it share, so that each holds a counted reference,
    // not a copy of the text; nothing for the empty name. The count is a plain one, not atomic:
    // a mesh is built and drawn by one thread, and every face it reads takes a reference.
    class SurfaceName {
    public:
        SurfaceName() = default;
        SurfaceName(const SurfaceName& other) : shared(other.shared)
        {
            if (shared)
                ++shared->references;
        }
        SurfaceName(SurfaceName&& other) noexcept : shared(other.shared) { other.shared = nullptr; }
        SurfaceName& operator=(SurfaceName other) noexcept
        {
            std::swap(shared, other.shared);
            return *this;
        }
        ~SurfaceName()
        {
            if (shared && --shared->references == 0)
                delete shared;
        }
        // The text; "" for the empty name.
        const std::string& text() const { return shared ? shared->text : noName(); }
        bool empty() const { return shared == nullptr; }

    private:
        friend class Triangle;
        struct Shared {
            std::string text;
            long references;
        };
        explicit SurfaceName(const std::string& text) : shared(new Shared{text, 1}) {}

        Shared* shared = nullptr;  // owned with the other references to it; null for ""
    };

    // The shared form of name, for a caller that gives many triangles the same one.
    static SurfaceName shareSurfaceName(const std::string& name);

    Triangle() : points{{-1, -1, -1}}, polygonIndex(-1), smoothingGroup(-1) {}
    // The corners; every other field at its default.
    explicit Triangle(const PointIndices& points) : points(points), polygonIndex(-1), smoothingGroup(-1) {}
    // The corners p0, p1, p2 in winding order and the source polygon; the rest at its default.
    Triangle(int p0, int p1, int p2, int polygonIndex)
        : points{{p0, p1, p2}}, polygonIndex(polygonIndex), smoothingGroup(-1)
    {
    }
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
    const std::string& getSurfaceName() const { return surfaceName.text(); }
    bool hasSurfaceName() const { return !surfaceName.empty(); }

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
