#include "KeyframerController.h"

#include <gtest/gtest.h>

#include <malloc.h>

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's count of the bytes its allocator hands out.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

#include "Keyframer.h"
#include "TestSupport.h"

TEST(KeyframerController, InitializeWarnsOnlyWithoutKeyframers)
{
    KeyframerController controller(nullptr);
    {
        LogCapture log;
        Log::getInstance()->setLevel(LogLevel::info);
        controller.initialize();
        EXPECT_EQ(log.text(), "[warning] keyframercontroller::initialize() - No keyframers available.\n");
        EXPECT_EQ(log.warnings(), 1);
    }
    controller.createKeyframer();
    LogCapture log;
    Log::getInstance()->setLevel(LogLevel::info);
    controller.initialize();
    EXPECT_EQ(log.text(), "[info] keyframercontroller::initialize() - Initializing keyframers.\n");
    EXPECT_EQ(log.warnings(), 0);
}

TEST(KeyframerController, FindsTheFirstKeyframerWithAnId)
{
    KeyframerController controller(nullptr);
    Keyframer* first = controller.createKeyframer();
    Keyframer* second = controller.createKeyframer();
    Keyframer* other = controller.createKeyframer();
    first->setId(4);
    second->setId(4);
    other->setId(0);
    EXPECT_EQ(controller.getKeyframerCount(), 3);

    LogCapture log;
    EXPECT_EQ(controller.findKeyframer(4), first);
    EXPECT_EQ(controller.findKeyframer(0), other);
    EXPECT_EQ(log.warnings(), 0);
    EXPECT_EQ(controller.findKeyframer(7), nullptr);
    EXPECT_EQ(controller.findKeyframer(-1), nullptr);
    EXPECT_EQ(log.warnings(), 2);
    EXPECT_EQ(log.text(), "[warning] keyframercontroller::findKeyframer() - Didn't find keyframer (id 7) \n"
                          "[warning] keyframercontroller::findKeyframer() - Didn't find keyframer (id -1) \n");
}

TEST(KeyframerController, FrameRateReachesEarlierAndLaterKeyframers)
{
    KeyframerController controller(nullptr);
    Keyframer* before = controller.createKeyframer();
    controller.setFrameRate(30);
    Keyframer* after = controller.createKeyframer();
    for (Keyframer* k : {before, after}) {
        k->addPositionKey(0, Vector(0, 0, 0), 0, 0, 0);
        k->addPositionKey(30, Vector(30, 0, 0), 0, 0, 0);
        k->setPositionRange(0, 30);
        // Frame 15 of 30 at 30 frames per second (frame 12 would give 11.28).
        EXPECT_NEAR(k->getPosition(0.5f).x, 15, 1e-4);
    }
}

TEST(KeyframerController, ListsItsKeyframers)
{
    KeyframerController controller(nullptr);
    controller.createKeyframer()->setName("One");
    controller.createKeyframer()->setName("Two");
    LogCapture log;
    Log::getInstance()->setLevel(LogLevel::info);
    controller.toString();
    EXPECT_EQ(log.text(), "[info] keyframercontroller::toString() - Listing 2 keyframers:\n"
                          "[info] keyframer::writeToLog(\"One\")\n"
                          "[info] keyframer::  * pivot: x=0, y=0, z=0\n"
                          "[info] keyframer::writeToLog(\"One\") - Dumping position interpolator: \n\n"
                          "[info] keyframer::writeToLog(\"Two\")\n"
                          "[info] keyframer::  * pivot: x=0, y=0, z=0\n"
                          "[info] keyframer::writeToLog(\"Two\") - Dumping position interpolator: \n\n");
}

namespace {
// Bytes the process holds from the heap now, from whichever allocator serves it.
std::size_t heapBytesInUse()
{
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}
}

// The keyframers and their tracks go with the controller (with their scene): a scene thrown away
// leaves nothing of them behind.
TEST(KeyframerController, ItsKeyframersGoWithIt)
{
    const std::size_t before = heapBytesInUse();
    std::size_t filled = 0;
    {
        KeyframerController controller(nullptr);
        for (int i = 0; i < 200; ++i) {
            Keyframer* keyframer = controller.createKeyframer();
            for (int frame = 0; frame < 50; ++frame)
                keyframer->addPositionKey(static_cast<float>(frame), Vector(static_cast<float>(frame), 0, 0), 0, 0, 0);
        }
        filled = heapBytesInUse();
    }
    // 10,000 keys of at least 24 bytes each were held.
    ASSERT_GT(filled, before + 200000);
    EXPECT_LT(heapBytesInUse(), before + 4096);
}
