#include "IndexMap.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <vector>

namespace {

// Every (key, value) of the map in the order it visits them.
std::vector<std::pair<int, int>> visited(const IndexMap<int>& map)
{
    std::vector<std::pair<int, int>> entries;
    for (const auto& entry : map)
        entries.push_back(entry);
    return entries;
}

}  // namespace

// Whatever order and spread of keys, the map holds and visits what a std::map would: negative keys,
// keys far beyond the entries (kept beside the vector) and keys the vector later grows over.
TEST(IndexMap, HoldsAndVisitsKeysInAscendingOrderAsAStdMap)
{
    struct Case {
        const char* what;
        std::vector<int> keys;  // inserted in this order, each with the value key / 3 + 1
        int fillTo;  // then every third key below this that is not there yet
        std::vector<int> erased;
    } cases[] = {
        {"in order", {0, 1, 2, 3}, 0, {}},
        {"with gaps and backwards", {9, 4, 7, 0}, 0, {}},
        {"negative keys first", {2, -1, -7, 0}, 0, {}},
        {"far keys, then the vector grows over some", {0, 5000, 1, 2, 3000, 1500}, 1600, {}},
        {"far keys only", {100000, 2000000000, 50000}, 0, {}},
        {"erased ones leave no entry", {0, 1, 2, -3, 90000, 3}, 0, {1, -3, 90000, 8}},
    };
    for (const Case& c : cases) {
        IndexMap<int> map;
        // The same keys stored as new ones, made in place where they come in order.
        IndexMap<int> emplaced;
        std::map<int, int> expected;
        for (int key : c.keys) {
            map[key] = key / 3 + 1;
            if (!emplaced.contains(key))
                emplaced.emplaceAbsent(key, key / 3 + 1);
            expected[key] = key / 3 + 1;
        }
        // The vector reaching them takes the far keys over with their values.
        for (int key = 0; key < c.fillTo; key += 3)
            if (expected.count(key) == 0) {
                map[key] = key / 3 + 1;
                expected[key] = key / 3 + 1;
            }
        for (int key = 0; key < c.fillTo; key += 3)
            if (!emplaced.contains(key))
                emplaced.emplaceAbsent(key, key / 3 + 1);
        for (int key : c.erased) {
            map.erase(key);
            emplaced.erase(key);
            expected.erase(key);
        }
        const std::vector<std::pair<int, int>> inOrder(expected.begin(), expected.end());
        EXPECT_EQ(visited(map), inOrder) << c.what;
        EXPECT_EQ(visited(emplaced), inOrder) << c.what;
        EXPECT_EQ(map.size(), expected.size()) << c.what;
        for (int key : {-7, -3, -1, 0, 1, 2, 3, 4, 8, 1500, 3000, 5000, 90000, 2000000000}) {
            const bool held = expected.count(key) == 1;
            EXPECT_EQ(map.count(key), held ? 1u : 0u) << c.what << ", key " << key;
            EXPECT_EQ(map.find(key) != map.end(), held) << c.what << ", key " << key;
            if (held) {
                EXPECT_EQ(map.find(key)->second, expected[key]) << c.what << ", key " << key;
                EXPECT_EQ(map.at(key), expected[key]) << c.what << ", key " << key;
            } else {
                EXPECT_THROW(map.at(key), std::out_of_range) << c.what << ", key " << key;
            }
        }
    }
}

// A value taken from the map itself is stored whole even when storing it grows the vector it lay
// in (the sanitizer build reports a read of the freed vector).
TEST(IndexMap, AValueFromTheMapItselfSurvivesTheGrowthItCauses)
{
    IndexMap<std::vector<int>> map;
    map[0] = std::vector<int>(100, 7);
    for (int key = 1; key < 40; ++key) {
        const std::vector<int>& first = map.at(0);
        map.insertAbsent(key * 2, first);
    }
    map.insertAbsent(1, map.at(0));
    for (int key = 0; key < 80; key += 2)
        EXPECT_EQ(map.at(key), std::vector<int>(100, 7)) << "key " << key;
    EXPECT_EQ(map.at(1), std::vector<int>(100, 7));
}
