#ifndef KELVO_POINTBONEWEIGHTMAP_H
#define KELVO_POINTBONEWEIGHTMAP_H

#include <map>
#include <string>

#include "Vector.h"

class Bone;

// The bone weights of one point of a skinned actor: bone name -> weight, in name order. Once
// normalised only weights of at least 0.1 remain and they sum to 1 (unless none is left).
class PointBoneWeightMap {
public:
    typedef std::map<std::string, float> WeightMap;
    typedef std::map<std::string, Bone*> BoneMap;

    // How merge settles a bone both maps have.
    enum MergeMode { KEEP_SMALLER = 0, KEEP_OWN = 1 };

    // Inserts the pair when the bone has no weight yet; an existing weight stays.
    void setWeight(const std::string& bone, float weight);
    // 0 when the bone has no weight here.
    float getWeight(const std::string& bone) const;
    // Drops the bone's weight; nothing when it has none.
    void removeWeight(const std::string& bone);
    // Every bone of other joins this map; for a bone both have, mode 0 keeps the smaller weight,
    // mode 1 this map's and any other mode other's.
    void merge(const PointBoneWeightMap& other, int mode);
    // Drops weights below 0.1 (and any not above 0), then scales the rest to sum to 1.
    void normalize();
    // The rest position moved by every weighted bone's current frame: the sum of
    // weight * (worldMatrix * (rest - pivot)). Bones missing from bones contribute nothing.
    // Called every frame per skinned point: it allocates nothing.
    Vector blend(const Vector& rest, const BoneMap& bones) const;
    // 0, 1, or 2 for two bones or more.
    int getBoneCountClass() const;

    const WeightMap& getWeights() const { return weights; }
    bool empty() const { return weights.empty(); }

private:
    WeightMap weights;
};

#endif
