#include "PointBoneWeightMap.h"

#include "Bone.h"
#include "Log.h"
#include "StringUtil.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {
// Weights below this (single precision) are noise of the painting tool, not a binding.
const float MINIMUM_WEIGHT = 0.1f;
}

void PointBoneWeightMap::setWeight(const std::string& bone, float weight)
{
    weights.insert(WeightMap::value_type(bone, weight));
}

float PointBoneWeightMap::getWeight(const std::string& bone) const
{
    const WeightMap::const_iterator it = weights.find(bone);
    return it == weights.end() ? 0.0f : it->second;
}

void PointBoneWeightMap::removeWeight(const std::string& bone)
{
    weights.erase(bone);
}

void PointBoneWeightMap::merge(const PointBoneWeightMap& other, int mode)
{
    for (const auto& entry : other.weights) {
        const WeightMap::iterator own = weights.find(entry.first);
        if (own == weights.end()) {
            weights.insert(entry);
            continue;
        }
        if (mode == KEEP_SMALLER) {
            if (entry.second < own->second)
                own->second = entry.second;
        } else if (mode != KEEP_OWN) {
            own->second = entry.second;
        }
    }
}

void PointBoneWeightMap::normalize()
{
    float sum = 0.0f;
    int removed = 0;
    for (WeightMap::iterator it = weights.begin(); it != weights.end();) {
        if (it->second > 0.0f && it->second >= MINIMUM_WEIGHT) {
            sum += it->second;
            ++it;
        } else {
            it = weights.erase(it);
            ++removed;
        }
    }
    KELVO_LOG(LogLevel::debug) << "normalize() - Removed " << ::toString(removed)
                 << " near-zero elements." << logEnd;
    if (sum != 0.0f)
        for (auto& entry : weights)
            entry.second /= sum;
}

Vector PointBoneWeightMap::blend(const Vector& rest, const BoneMap& bones) const
{
    Vector result;
    for (const auto& entry : weights) {
        const BoneMap::const_iterator bone = bones.find(entry.first);
        if (bone == bones.end() || !bone->second)
            continue;
        // In the bone's own frame, then through the modelview its last render captured.
        Vector v = rest - bone->second->getPivot();
        v.transform(bone->second->getWorldMatrix());
        result += v * entry.second;
    }
    return result;
}

int PointBoneWeightMap::getBoneCountClass() const
{
    return weights.size() >= 2 ? 2 : static_cast<int>(weights.size());
}
