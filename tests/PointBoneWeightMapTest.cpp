#include <gtest/gtest.h>

#include <map>
#include <string>

#include "Log.h"
#include "PointBoneWeightMap.h"
#include "PointBoneWeightTable.h"
#include "TestSupport.h"

// Bone weights of single points and of the actor's point table: cleaning, merging and the union
// a triangle is sorted by.
namespace {
PointBoneWeightMap weightsOf(const std::map<std::string, float>& pairs)
{
    PointBoneWeightMap map;
    for (const auto& pair : pairs)
        map.setWeight(pair.first, pair.second);
    return map;
}
}

TEST(PointBoneWeightMap, NormalizeDropsNearZeroWeightsAndScalesTheRestToOne)
{
    struct Case {
        const char* what;
        std::map<std::string, float> in;
        std::map<std::string, float> out;
        int removed;
    } cases[] = {
        {"one weight below 0.1", {{"a", 0.05f}, {"b", 0.3f}, {"c", 0.6f}}, {{"b", 0.3f / 0.9f}, {"c", 0.6f / 0.9f}}, 1},
        {"only a zero weight", {{"a", 0.0f}}, {}, 1},
        {"negative and exactly 0.1", {{"a", -0.5f}, {"b", 0.1f}}, {{"b", 1.0f}}, 1},
        {"nothing to remove", {{"a", 2.0f}, {"b", 2.0f}}, {{"a", 0.5f}, {"b", 0.5f}}, 0},
    };
    for (const Case& c : cases) {
        PointBoneWeightMap map = weightsOf(c.in);
        LogCapture log;
        Log::getInstance()->setLevel(LogLevel::debug);
        map.normalize();
        EXPECT_EQ(log.text(), "[debug] pointboneweightmap::normalize() - Removed " + std::to_string(c.removed) +
                                  " near-zero elements.\n")
            << c.what;
        ASSERT_EQ(map.getWeights().size(), c.out.size()) << c.what;
        for (const auto& expected : c.out)
            EXPECT_NEAR(map.getWeight(expected.first), expected.second, 1e-6) << c.what << ": " << expected.first;
    }
}

TEST(PointBoneWeightMap, FirstWeightOfABoneStaysAndAMissingBoneWeighsNothing)
{
    PointBoneWeightMap map;
    map.setWeight("arm", 0.4f);
    map.setWeight("arm", 0.9f);
    EXPECT_FLOAT_EQ(map.getWeight("arm"), 0.4f);
    EXPECT_FLOAT_EQ(map.getWeight("leg"), 0.0f);
}

TEST(PointBoneWeightMap, MergeSettlesSharedBonesByMode)
{
    struct Case {
        int mode;
        float shared;
    } cases[] = {{0, 0.4f}, {1, 0.4f}, {2, 0.7f}};
    for (const Case& c : cases) {
        PointBoneWeightMap map = weightsOf({{"a", 0.4f}});
        map.merge(weightsOf({{"a", 0.7f}, {"b", 0.2f}}), c.mode);
        EXPECT_FLOAT_EQ(map.getWeight("a"), c.shared) << "mode " << c.mode;
        EXPECT_FLOAT_EQ(map.getWeight("b"), 0.2f) << "mode " << c.mode << ": a bone only the other has joins";
    }
    // Mode 0 keeps the smaller weight whichever map holds it.
    PointBoneWeightMap map = weightsOf({{"a", 0.7f}});
    map.merge(weightsOf({{"a", 0.4f}}), 0);
    EXPECT_FLOAT_EQ(map.getWeight("a"), 0.4f);
}

TEST(PointBoneWeightMap, CountClassIsTheNumberOfBonesUpToTwo)
{
    EXPECT_EQ(weightsOf({}).getBoneCountClass(), 0);
    EXPECT_EQ(weightsOf({{"a", 1.0f}}).getBoneCountClass(), 1);
    EXPECT_EQ(weightsOf({{"a", 0.5f}, {"b", 0.5f}}).getBoneCountClass(), 2);
    EXPECT_EQ(weightsOf({{"a", 0.3f}, {"b", 0.3f}, {"c", 0.4f}}).getBoneCountClass(), 2);
}

TEST(PointBoneWeightTable, UnionOfATrianglesPointsHoldsEveryBoneWithItsSmallestWeight)
{
    PointBoneWeightTable table;
    table.add(0, "a", 0.8f);
    table.add(0, "a", 0.1f);  // the first weight of a bone stays
    table.add(1, "a", 0.5f);
    table.add(1, "b", 0.5f);
    table.add(2, "c", 1.0f);
    const PointBoneWeightMap u = table.getBoneUnion(0, 1, 2);
    EXPECT_EQ(u.getWeights().size(), 3u);
    EXPECT_FLOAT_EQ(u.getWeight("a"), 0.5f);
    EXPECT_FLOAT_EQ(u.getWeight("b"), 0.5f);
    EXPECT_FLOAT_EQ(u.getWeight("c"), 1.0f);

    EXPECT_EQ(table.find(7), nullptr);
    EXPECT_TRUE(table.get(7).empty()) << "get makes an empty map";
    EXPECT_NE(table.find(7), nullptr);
    EXPECT_EQ(table.getBoneUnion(7, 7, 9).getBoneCountClass(), 0);
}
