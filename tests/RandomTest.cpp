#include "Random.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Random, SpansFifteenBitsAndRepeatsForASeed)
{
    Random::seed(1);
    // The classic sequence of the C standard's portable generator for seed 1.
    EXPECT_EQ(Random::next(), 16838);
    EXPECT_EQ(Random::next(), 5758);
    EXPECT_EQ(Random::next(), 10113);
    Random::seed(12345);
    std::vector<int> first;
    int low = Random::MAX, high = 0;
    for (int i = 0; i < 100000; ++i) {
        int value = Random::next();
        if (i < 10)
            first.push_back(value);
        low = std::min(low, value);
        high = std::max(high, value);
    }
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 32767);
    Random::seed(12345);
    for (int expected : first)
        EXPECT_EQ(Random::next(), expected);
}
