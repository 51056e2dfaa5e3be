#include "TriangleNormalMap.h"

void TriangleNormalMap::setNormal(int triangle, int point, const Vector& normal)
{
    triangles[triangle].setNormal(point, normal);
}

PointNormalMap TriangleNormalMap::getPointNormals(int triangle) const
{
    const std::map<int, PointNormalMap>::const_iterator it = triangles.find(triangle);
    return it == triangles.end() ? PointNormalMap() : it->second;
}

const PointNormalMap* TriangleNormalMap::findPointNormals(int triangle) const
{
    const std::map<int, PointNormalMap>::const_iterator it = triangles.find(triangle);
    return it == triangles.end() ? nullptr : &it->second;
}

bool TriangleNormalMap::hasTriangle(int triangle) const
{
    return triangles.find(triangle) != triangles.end();
}

int TriangleNormalMap::size() const
{
    return static_cast<int>(triangles.size());
}

void TriangleNormalMap::clear()
{
    triangles.clear();
}
