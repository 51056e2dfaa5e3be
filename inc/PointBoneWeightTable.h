#ifndef KELVO_POINTBONEWEIGHTTABLE_H
#define KELVO_POINTBONEWEIGHTTABLE_H

#include <map>
#include <string>

#include "PointBoneWeightMap.h"

// The bone weights of every point of a skinned actor, by point index.
class PointBoneWeightTable {
public:
    typedef std::map<int, PointBoneWeightMap> PointMaps;

    // The point's map (created empty when absent) gets the weight unless it has one for the bone.
    void add(int point, const std::string& bone, float weight);
    // The point's map, created empty when absent.
    PointBoneWeightMap& get(int point);
    // The point's map, or null; for drawing, which must not insert.
    const PointBoneWeightMap* find(int point) const;
    // Every bone any of the three points depends on; a bone shared by several carries the
    // smallest of their weights. The three points need not have maps.
    PointBoneWeightMap getBoneUnion(int p0, int p1, int p2) const;

    const PointMaps& getMaps() const { return maps; }

private:
    PointMaps maps;
};

#endif
