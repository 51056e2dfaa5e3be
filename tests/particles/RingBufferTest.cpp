#include "RingBuffer.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {
int live = 0;

struct Item {
    explicit Item(int id) : id(id) { ++live; }
    ~Item() { --live; }
    int id;
};

std::vector<int> ids(const RingBuffer<Item>& ring)
{
    std::vector<int> result;
    for (int i = 0; i < ring.size(); ++i)
        result.push_back(ring[i]->id);
    return result;
}

void pushIds(RingBuffer<Item>& ring, int first, int last)
{
    for (int id = first; id <= last; ++id)
        ring.push(std::unique_ptr<Item>(new Item(id)));
}
}

TEST(RingBuffer, AFullRingDeletesItsOldestOnPushAndKeepsTheNewestInOrder)
{
    {
        RingBuffer<Item> ring(3);
        pushIds(ring, 1, 5);
        EXPECT_EQ(ids(ring), (std::vector<int>{3, 4, 5}));
        EXPECT_EQ(live, 3);
        ring.popFront();
        EXPECT_EQ(ids(ring), (std::vector<int>{4, 5}));
        EXPECT_EQ(live, 2);
    }
    EXPECT_EQ(live, 0);
}

TEST(RingBuffer, EraseDeletesOneElementAndKeepsTheOthersInOrderAcrossTheWrap)
{
    struct Case {
        int erased;
        std::vector<int> expected;
    } cases[] = {{0, {4, 5, 6}}, {1, {3, 5, 6}}, {3, {3, 4, 5}}};
    for (const Case& c : cases) {
        RingBuffer<Item> ring(4);
        pushIds(ring, 1, 6);  // slots now wrap: oldest is 3
        ring.erase(c.erased);
        EXPECT_EQ(ids(ring), c.expected) << "erased " << c.erased;
        pushIds(ring, 7, 7);
        EXPECT_EQ(ring[ring.size() - 1]->id, 7);
        EXPECT_EQ(ring.size(), 4);
    }
    EXPECT_EQ(live, 0);
}

TEST(RingBuffer, ACapacityOfZeroOrLessHoldsNothing)
{
    for (int capacity : {0, -4}) {
        RingBuffer<Item> ring(capacity);
        pushIds(ring, 1, 2);
        ring.popFront();
        EXPECT_EQ(ring.size(), 0);
        EXPECT_EQ(ring.getCapacity(), 0);
        EXPECT_TRUE(ring.isFull());
        EXPECT_EQ(live, 0);
    }
}
