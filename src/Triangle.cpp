#include "Triangle.h"

#include <cmath>

#include "StringUtil.h"

void Triangle::setPoints(const PointIndices& points)
{
    this->points = points;
}

bool Triangle::hasPoint(int point) const
{
    return points[0] == point || points[1] == point || points[2] == point;
}

Triangle::SurfaceName Triangle::shareSurfaceName(const std::string& name)
{
    return name.empty() ? SurfaceName() : SurfaceName(name);
}

void Triangle::setSurfaceName(const std::string& name)
{
    if (getSurfaceName() != name)
        surfaceName = shareSurfaceName(name);
}

const std::string& Triangle::noName()
{
    static const std::string empty;
    return empty;
}

void Triangle::setPolygonIndex(int index)
{
    polygonIndex = index;
}

int Triangle::getPolygonIndex() const
{
    return polygonIndex;
}

void Triangle::setNormal(const Vector& normal)
{
    this->normal = normal;
}

Vector Triangle::getNormal() const
{
    return normal;
}

void Triangle::setSmoothingGroup(int mask)
{
    smoothingGroup = mask;
}

int Triangle::getSmoothingGroup() const
{
    return smoothingGroup;
}

Vector Triangle::calcNormal(const PointMap& pointMap) const
{
    Vector corner[3];
    for (int i = 0; i < 3; ++i) {
        const PointMap::const_iterator it = pointMap.find(points[i]);
        if (it == pointMap.end())
            throw TriangleException("calcNormal() - Point " + ::toString(points[i]) +
                                    " of the triangle is not in the point map.");
        corner[i] = it->second.toVector();
    }
    const Vector a = corner[1] - corner[0];
    const Vector b = corner[2] - corner[0];
    const Vector n(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
    // A cross product too small for its squared length (underflow to 0), or one that overflowed,
    // has no usable direction either: it would divide by zero or yield NaN.
    const float length = n.length();
    if ((n.x == 0.0f && n.y == 0.0f && n.z == 0.0f) || !(length > 0.0f) || !std::isfinite(length))
        throw TriangleException("calcNormal() - Zero normal detected. Possibly invalid Triangle.");
    return n / length;
}

TriangleException::TriangleException(const std::string& message)
{
    addSource("TriangleException");
    appendMessage(message);
}
