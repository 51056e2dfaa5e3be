#include "PointNormalMap.h"

const PointNormalMap::Entry* PointNormalMap::find(int point) const
{
    for (int i = 0; i < count; ++i)
        if (corners[i].point == point)
            return &corners[i];
    for (const Entry& entry : extra)
        if (entry.point == point)
            return &entry;
    return nullptr;
}

void PointNormalMap::setNormal(int point, const Vector& normal)
{
    for (int i = 0; i < count; ++i)
        if (corners[i].point == point) {
            corners[i].normal = normal;
            return;
        }
    for (Entry& entry : extra)
        if (entry.point == point) {
            entry.normal = normal;
            return;
        }
    if (count < static_cast<int>(corners.size()))
        corners[count++] = Entry{point, normal};
    else
        extra.push_back(Entry{point, normal});
}

Vector PointNormalMap::getNormal(int point) const
{
    const Entry* entry = find(point);
    return entry ? entry->normal : Vector();
}

bool PointNormalMap::isComplete() const
{
    return count + extra.size() == 3;
}
