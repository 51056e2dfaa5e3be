#include "keyframer/TCBFloatInterpolator.h"

#include <gtest/gtest.h>

#include "keyframer/HPBInterpolator.h"
#include "keyframer/QuaternionInterpolator.h"
#include "keyframer/TCBVectorInterpolator.h"

#include <cmath>
#include <limits>
#include <vector>

#include "TestSupport.h"

namespace {

struct Key {
    float frame, value, tension, continuity, bias;
};

struct TrackCase {
    const char* name;
    std::vector<Key> keys;  // in add order
    bool hasRange;
    float start, end;       // frames
    bool loop;
    float fps;
    float time;             // seconds
    float expected;
};

const bool NO_RANGE = false;
const bool RANGE = true;

template <typename Track> auto valueOf(float v);
template <> auto valueOf<TCBFloatInterpolator>(float v)
{
    return v;
}
template <> auto valueOf<TCBVectorInterpolator>(float v)
{
    return Vector(v, 2 * v, -v);
}
template <> auto valueOf<HPBInterpolator>(float v)
{
    return Vector(v, 2 * v, -v);
}

void expectVectorNear(const Vector& actual, const Vector& expected, const char* name)
{
    EXPECT_NEAR(actual.x, expected.x, 2e-4) << name;
    EXPECT_NEAR(actual.y, expected.y, 2e-4) << name;
    EXPECT_NEAR(actual.z, expected.z, 2e-4) << name;
}

template <typename Track> Track buildTrack(const TrackCase& c)
{
    Track track(c.fps);
    for (const Key& k : c.keys)
        track.addKey(k.frame, valueOf<Track>(k.value), k.tension, k.continuity, k.bias);
    if (c.hasRange)
        track.setRange(c.start, c.end);
    track.setLoop(c.loop);
    return track;
}

}  // namespace

TEST(TCBTrack, EvaluatesTheTableOfCases)
{
    const std::vector<Key> rising48 = {{0, 0, 0, 0, 0}, {48, 10, 0, 0, 0}};
    const std::vector<Key> falling48 = {{48, 10, 0, 0, 0}, {0, 0, 0, 0, 0}};
    const std::vector<Key> rising10 = {{0, 0, 0, 0, 0}, {10, 10, 0, 0, 0}};
    const std::vector<Key> tense10 = {{0, 0, 1, 0, 0}, {10, 10, 0, 0, 0}};
    const std::vector<Key> tenseEnd10 = {{0, 0, 0, 0, 0}, {10, 10, 1, 0, 0}};
    const std::vector<Key> loop5 = {{0, 0, 0, 0, 0}, {5, 10, 0, 0, 0}};
    const std::vector<Key> step = {{0, 0, 0, 0, 0}, {10, 0, 0, 1, 0}, {20, 10, 0, 0, 0}, {30, 10, 0, 0, 0}};
    const std::vector<Key> peak = {{0, 0, 0, 0, 0}, {10, 10, 0, 0, 1}, {20, 0, 0, 0, 0}};
    const std::vector<Key> three = {{0, 0, 0, 0, 0}, {4, 10, 0, 0, 0}, {8, 20, 0, 0, 0}};
    const std::vector<Key> late = {{5, 3, 0, 0, 0}, {8, 7, 0, 0, 0}};
    const std::vector<Key> tie = {{0, 0, 0, 0, 0}, {10, 10, 0, 0, 0}, {10, 5, 0, 0, 0}};

    const TrackCase cases[] = {
        {"no keys gives the default", {}, RANGE, 0, 10, false, 24, 1, 0},
        {"range start gives the first key", rising48, RANGE, 0, 48, false, 24, 0, 0},
        {"range end gives the last key", rising48, RANGE, 0, 48, false, 24, 2, 10},
        {"midway is the spline at u = 0.5", rising48, RANGE, 0, 48, false, 24, 1, 5},
        // Catmull-Rom at u = 0.25 with both tangents 5: 10·h01 + 5·(h10 + h11).
        {"quarter way is the spline at u = 0.25", rising48, RANGE, 0, 48, false, 24, 0.5f, 2.03125f},
        {"before the range gives the first key", rising48, RANGE, 0, 48, false, 24, -1, 0},
        {"after the range gives the last key", rising48, RANGE, 0, 48, false, 24, 3, 10},

        // Added 48 then 0: the range only grows from the key at 48, so it stays [48, 48].
        {"descending keys up to the first key", falling48, NO_RANGE, 0, 0, false, 24, 0, 0},
        {"descending keys before the first key", falling48, NO_RANGE, 0, 0, false, 24, -2, 0},
        {"descending keys mid track hold the last", falling48, NO_RANGE, 0, 0, false, 24, 1, 10},
        {"descending keys after the track", falling48, NO_RANGE, 0, 0, false, 24, 3, 10},

        // Ascending keys keep the range at the first key's frame.
        {"ascending keys without range at the first key", rising10, NO_RANGE, 0, 0, false, 1, 0, 0},
        {"ascending keys without range mid track", rising10, NO_RANGE, 0, 0, false, 1, 5, 10},

        {"two keys at u = 0.5, tangents 5 and 5", rising10, RANGE, 0, 10, false, 1, 5, 5},
        {"tension 1 at u = 0.5", tense10, RANGE, 0, 10, false, 1, 5, 5},
        {"tension 1 at u = 0.25 is 10·h01(0.25)", tense10, RANGE, 0, 10, false, 1, 2.5f, 1.5625f},
        {"the end key's tension takes no part", tenseEnd10, RANGE, 0, 10, false, 1, 2.5f, 2.03125f},
        // Continuity 1 on the key at 10: T1 = T2 = 10, so 10·h01 + 10·(h10 + h11) at u = 0.25.
        {"continuity 1 opens both tangents", step, RANGE, 0, 30, false, 1, 12.5f, 2.5f},
        // Bias 1 on the key at 10: T1 = 10, T2 = -10 in the segment down to 0.
        {"bias 1 weights the incoming differences", peak, RANGE, 0, 20, false, 1, 15, 7.5f},

        // Looping [0, 10] with keys at 0 and 5: at frame 2 u = 0.4 and both tangents are 0.
        {"looping at frame 2", loop5, RANGE, 0, 10, true, 24, 2.0f / 24, 3.52f},
        {"looping one period later", loop5, RANGE, 0, 10, true, 24, 12.0f / 24, 3.52f},
        // Frame 9 lies in the last segment, from the key at 5 back to the first value at 10.
        {"looping at frame 9", loop5, RANGE, 0, 10, true, 24, 9.0f / 24, 1.04f},
        {"looping frame -1 wraps to frame 9", loop5, RANGE, 0, 10, true, 24, -1.0f / 24, 1.04f},
        {"looping frame 19 wraps to frame 9", loop5, RANGE, 0, 10, true, 24, 19.0f / 24, 1.04f},
        {"looping at the range end", loop5, RANGE, 0, 10, true, 24, 10.0f / 24, 0},
        // The first segment's p0 is the last key: T1 = 0.5·((0 - 20) + (10 - 0)) = -5, T2 = 10.
        {"looping first segment takes the last key before it", three, RANGE, 0, 12, true, 1, 2, 3.125f},
        {"looping range with start >= end stays at its start", rising10, RANGE, 5, 5, true, 1, 0, 10},
        {"looping range with start > end stays at its start", rising10, RANGE, 5, 2, true, 1, 7, 10},

        // A range that starts before the first key holds the first value until that key.
        {"before the first key inside the range", late, RANGE, 0, 10, false, 1, 2, 3},
        {"looping before the first key inside the range", late, RANGE, 0, 10, true, 1, 12, 3},
        {"looping last segment returns to the first value", late, RANGE, 0, 10, true, 1, 9, 5},

        // A key on an existing frame goes in front of it, and the range widens to [0, 10].
        {"tied frame is inserted in front", tie, NO_RANGE, 0, 0, false, 1, 5, 2.1875f},
        {"tied frame leaves the older key last", tie, NO_RANGE, 0, 0, false, 1, 10, 10},
    };
    // The vector tracks run every case too, with each value v spread as (v, 2v, -v): every
    // component follows the same spline.
    for (const TrackCase& c : cases) {
        EXPECT_NEAR(buildTrack<TCBFloatInterpolator>(c).interpolateValue(c.time), c.expected, 1e-4) << c.name;
        const Vector expected = valueOf<TCBVectorInterpolator>(c.expected);
        expectVectorNear(buildTrack<TCBVectorInterpolator>(c).interpolateValue(c.time), expected, c.name);
        expectVectorNear(buildTrack<HPBInterpolator>(c).interpolateValue(c.time), expected, c.name);
    }
}

TEST(TCBTrack, AnEmptyTrackGivesTheDefaultValueItWasGiven)
{
    TCBFloatInterpolator track(24);
    track.setDefaultValue(3);
    EXPECT_EQ(track.interpolateValue(1), 3);
}

TEST(TCBTrack, RangeFollowsTheKeysAsTheyWereBeforeInsertion)
{
    TCBFloatInterpolator track(24);
    track.addKey(48, 10);
    EXPECT_EQ(track.getStartFrame(), 48);
    EXPECT_EQ(track.getEndFrame(), 48);
    track.addKey(0, 0);
    EXPECT_EQ(track.getStartFrame(), 48);
    EXPECT_EQ(track.getEndFrame(), 48);
    track.addKey(24, 5);
    EXPECT_EQ(track.getStartFrame(), 0);
    EXPECT_EQ(track.getEndFrame(), 48);
    EXPECT_EQ(track.toString(), "3 keys:  frame 0.00: 0.00\n  frame 24.00: 5.00\n  frame 48.00: 10.00\n");
}

TEST(TCBTrack, TimeToFrameWrapsInBothDirections)
{
    struct Case {
        float start, end, time, fps;
        bool loop;
        float frame;
    } cases[] = {
        {0, 10, 2, 24, false, 48}, {0, 10, -1, 24, false, -24}, {0, 10, 12, 1, true, 2},
        {0, 10, -1, 1, true, 9},   {0, 10, -10, 1, true, 0},    {5, 15, 3, 1, true, 13},
        {5, 15, 25, 1, true, 5},   {7, 7, 100, 1, true, 7},     {8, 2, 1, 1, true, 8},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(TCBFloatInterpolator::timeToFrame(c.start, c.end, c.time, c.fps, c.loop), c.frame, 1e-5)
            << c.start << " " << c.end << " " << c.time;
}

TEST(TCBKey, RefusesSplineParametersOutsideZeroToOne)
{
    const std::string prefix = "KelvoEngineException::::InvalidParameterValueException::TCBKey<keyType>::Constructor - "
                               "Unable to create key. Spline flags contain illegal ";
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float tension, continuity, bias;
        const char* message;  // null when the key is allowed
    } cases[] = {
        {-0.1f, 0, 1.5f, "(below zero) values"},
        {1.5f, 0, 0, "(above one) values"},
        {0, 2, -1, "(below zero) values"},
        {0, 0, 1.01f, "(above one) values"},
        {nan, 0, 0, "(below zero) values"},
        {0, 0, 0, nullptr},
        {1, 1, 1, nullptr},
    };
    for (const Case& c : cases) {
        TCBFloatInterpolator track(24);
        try {
            track.addKey(3, 1, c.tension, c.continuity, c.bias);
            EXPECT_EQ(c.message, nullptr) << c.tension << " " << c.continuity << " " << c.bias;
            EXPECT_EQ(track.getKeyCount(), 1);
        } catch (const InvalidParameterValueException& e) {
            ASSERT_NE(c.message, nullptr) << e.getMessage();
            EXPECT_EQ(e.getMessage(), prefix + c.message);
            EXPECT_EQ(track.getKeyCount(), 0);
        }
    }
}

TEST(TCBTrack, FloatTextListsEveryKey)
{
    TCBFloatInterpolator track(24);
    EXPECT_EQ(track.toString(), "");
    track.addKey(48, 10);
    track.addKey(0, 0.5f);
    EXPECT_EQ(track.toString(), "2 keys:  frame 0.00: 0.50\n  frame 48.00: 10.00\n");
}

TEST(TCBTrack, FrameDebugLinesOnlyAtLevelFour)
{
    TCBFloatInterpolator track(24);
    track.addKey(0, 0);
    track.addKey(48, 10);
    track.setRange(0, 48);
    {
        LogCapture log;
        Log::getInstance()->setLevel(LogLevel::debug);
        track.interpolateValue(1);
        EXPECT_EQ(log.text(), "");
    }
    LogCapture log;
    Log::getInstance()->setLevel(LogLevel::frame);
    EXPECT_NEAR(track.interpolateValue(1), 5, 1e-4);
    EXPECT_EQ(log.text(), "[debug_fdraw] tcbinterpolator::interpolateValue() - Frame 24 of [0,48]\n"
                          "[debug_fdraw] tcbfloatinterpolator::interpolate() calc data. u: 0.5, k0: 0, k1: 0, "
                          "k2: 10, k3: 10,  t: 0, c: 0, b: 0\n");
}

TEST(TCBTrack, VectorDefaultIsZeroAndVectorTextsHideValues)
{
    TCBVectorInterpolator track(24);
    expectVectorNear(track.interpolateValue(3), Vector(0, 0, 0), "default");
    EXPECT_EQ(track.toString(), "");
    track.addKey(12, Vector(1, 2, 3));
    EXPECT_EQ(track.toString(), "1 keys:  frame 12.00: DISABLED\n");

    HPBInterpolator angles(1);
    angles.addKey(5, 0.1f, 0.2f, 0.3f);
    EXPECT_EQ(angles.toString(), "1 keys:  frame 5.00: DISABLED\n");
    expectVectorNear(angles.interpolateValue(5), Vector(0.1f, 0.2f, 0.3f), "hpb key");
    EXPECT_THROW(angles.addKey(6, 0, 0, 0, 0, 0, -1), InvalidParameterValueException);
    EXPECT_EQ(angles.getKeyCount(), 1);
}

TEST(TCBTrack, QuaternionTrackSlerpsBetweenTheSegmentKeysOnly)
{
    const float pi = 3.14159265f;
    const Quaternion quarterTurn(pi / 2, 0, 0, 1);
    // Every spline setting, and a third key after the segment, leaves the result alone.
    const float settings[][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0.3f, 0.7f, 0.2f}};
    for (const auto& p : settings) {
        QuaternionInterpolator track(1);
        track.addKey(0, Quaternion(), p[0], p[1], p[2]);
        track.addKey(10, quarterTurn, p[0], p[1], p[2]);
        track.addKey(20, Quaternion(pi, 1, 0, 0), p[0], p[1], p[2]);
        track.setRange(0, 20);
        const Quaternion q = track.interpolateValue(5);
        // Half of the quarter turn about z.
        EXPECT_NEAR(q.x, 0, 1e-5);
        EXPECT_NEAR(q.y, 0, 1e-5);
        EXPECT_NEAR(q.z, std::sin(pi / 8), 1e-5);
        EXPECT_NEAR(q.w, std::cos(pi / 8), 1e-5);
        const Quaternion slerped = Quaternion().slerp(quarterTurn, 0.5f);
        EXPECT_EQ(q.z, slerped.z);
        EXPECT_EQ(q.w, slerped.w);
    }
    QuaternionInterpolator empty(24);
    EXPECT_EQ(empty.interpolateValue(1).w, 1.0f);
    EXPECT_EQ(empty.toString(), "");
}
