#include "PointBoneWeightTable.h"

void PointBoneWeightTable::add(int point, const std::string& bone, float weight)
{
    maps[point].setWeight(bone, weight);
}

PointBoneWeightMap& PointBoneWeightTable::get(int point)
{
    return maps[point];
}

const PointBoneWeightMap* PointBoneWeightTable::find(int point) const
{
    const PointMaps::const_iterator it = maps.find(point);
    return it == maps.end() ? nullptr : &it->second;
}

PointBoneWeightMap PointBoneWeightTable::getBoneUnion(int p0, int p1, int p2) const
{
    PointBoneWeightMap result;
    if (const PointBoneWeightMap* first = find(p0))
        result = *first;
    if (const PointBoneWeightMap* second = find(p1))
        result.merge(*second, PointBoneWeightMap::KEEP_SMALLER);
    if (const PointBoneWeightMap* third = find(p2))
        result.merge(*third, PointBoneWeightMap::KEEP_SMALLER);
    return result;
}
