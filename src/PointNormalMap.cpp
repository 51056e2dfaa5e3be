#include "PointNormalMap.h"

void PointNormalMap::setNormal(int point, const Vector& normal)
{
    normals[point] = normal;
}

Vector PointNormalMap::getNormal(int point) const
{
    const std::map<int, Vector>::const_iterator it = normals.find(point);
    return it == normals.end() ? Vector() : it->second;
}

bool PointNormalMap::isComplete() const
{
    return normals.size() == 3;
}
