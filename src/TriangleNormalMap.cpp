#include "TriangleNormalMap.h"

#include <algorithm>

void TriangleNormalMap::setNormal(int triangle, int point, const Vector& normal)
{
    triangles[triangle].setNormal(point, normal);
}

PointNormalMap TriangleNormalMap::getPointNormals(int triangle) const
{
    const PointNormalMap* normals = triangles.findValue(triangle);
    return normals ? *normals : PointNormalMap();
}

const PointNormalMap* TriangleNormalMap::findPointNormals(int triangle) const
{
    return triangles.findValue(triangle);
}

bool TriangleNormalMap::hasTriangle(int triangle) const
{
    return triangles.findValue(triangle) != nullptr;
}

int TriangleNormalMap::size() const
{
    return static_cast<int>(triangles.size());
}

void TriangleNormalMap::clear()
{
    triangles.clear();
}

void TriangleNormalMap::reserve(int count)
{
    triangles.reserveMore(static_cast<std::size_t>(std::max(count, 0)));
}
