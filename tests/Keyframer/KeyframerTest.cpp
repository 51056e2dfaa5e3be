#include "Keyframer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <string>

#include "TestSupport.h"

namespace {

const float PI = 3.14159265f;

void expectMatrix(const Matrix& m, const float (&expected)[16], const char* what)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(m.get(i), expected[i], 1e-5) << what << ", element " << i;
}

void expectQuaternion(const Quaternion& q, const Quaternion& expected, const char* what)
{
    EXPECT_NEAR(q.x, expected.x, 1e-5) << what;
    EXPECT_NEAR(q.y, expected.y, 1e-5) << what;
    EXPECT_NEAR(q.z, expected.z, 1e-5) << what;
    EXPECT_NEAR(q.w, expected.w, 1e-5) << what;
}

const float IDENTITY[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

}  // namespace

TEST(Keyframer, NewKeyframerSamplesToTheIdentity)
{
    Keyframer k(nullptr);
    EXPECT_EQ(k.getName(), "Anonymous object");
    EXPECT_EQ(k.getId(), -1);
    EXPECT_EQ(k.getParent(), nullptr);
    for (float time : {-1.0f, 0.0f, 2.5f}) {
        expectMatrix(k.getMatrix(time), IDENTITY, "new keyframer");
        EXPECT_EQ(k.getScale(time).y, 1.0f);
        EXPECT_EQ(k.getRoll(time), 0.0f);
    }
}

TEST(Keyframer, RelativeRotationKeysAccumulate)
{
    Keyframer k(nullptr);
    const Quaternion q1(0.3f, 0, 0, 1), q2(0.5f, 0, 0, 1), q3(0.25f, 1, 0, 0);
    k.addRotationKey(0, q1, 0, 0, 0);
    k.addRotationKey(10, q2, 0, 0, 0);
    // No range was set: up to the first key the first key, afterwards the last key.
    expectQuaternion(k.getRotation(0), q1, "first key");
    expectQuaternion(k.getRotation(1), q1 * q2, "second key");
    expectQuaternion(k.getRotation(1), Quaternion(0.8f, 0, 0, 1), "second key as one turn");
    // An absolute key replaces the running product; later relative keys build on it.
    k.setRotationKey(20, q3, 0, 0, 0);
    k.addRotationKey(30, q3, 0, 0, 0);
    k.setRotationRange(0, 30);
    expectQuaternion(k.getRotation(20.0f / 24), q3, "absolute key");
    expectQuaternion(k.getRotation(30.0f / 24), q3 * q3, "relative key after the absolute one");
}

TEST(Keyframer, HeadingPitchBankKeysApplyOnlyWithoutRotationKeys)
{
    Keyframer k(nullptr);
    k.addHpbKey(0, 1.0f, 0.5f, 0.25f, 0, 0, 0);
    Matrix hpb;
    hpb.setHpbRotation(Vector(1.0f, 0.5f, 0.25f));
    float expected[16];
    hpb.toArray(expected);
    expectMatrix(k.getLocalRotationMatrix(0), expected, "hpb only");
    expectMatrix(k.getMatrix(0), expected, "hpb only, whole matrix");

    k.addRotationKey(0, Quaternion(), 0, 0, 0);
    expectMatrix(k.getLocalRotationMatrix(0), IDENTITY, "rotation keys win");
    expectMatrix(k.getMatrix(0), IDENTITY, "rotation keys win, whole matrix");
}

TEST(Keyframer, RotationRangeChangesBothRotationTracks)
{
    Keyframer k(nullptr);
    k.addHpbKey(0, 0, 0, 0, 0, 0, 0);
    k.addHpbKey(48, 1, 0, 0, 0, 0, 0);
    Keyframer q(nullptr);
    q.addRotationKey(0, Quaternion(), 0, 0, 0);
    q.addRotationKey(48, Quaternion(PI / 2, 0, 0, 1), 0, 0, 0);
    // Without a range both tracks jump to their last key after the first.
    EXPECT_NEAR(k.getHpb(1).x, 1, 1e-6);
    EXPECT_NEAR(q.getRotation(1).z, std::sin(PI / 4), 1e-6);
    k.setRotationRange(0, 48);
    q.setRotationRange(0, 48);
    EXPECT_NEAR(k.getHpb(1).x, 0.5f, 1e-6);
    EXPECT_NEAR(q.getRotation(1).z, std::sin(PI / 8), 1e-6);
}

TEST(Keyframer, ComposesItsMatrixInTheFixedOrder)
{
    struct Case {
        const char* name;
        Vector position, scale;
        float angle;          // rotation key about z, radians
        bool withParent;
        Vector parentPosition;
        float parentAngle;    // parent's rotation key about z, radians (0: none)
        float expected[16];
    } cases[] = {
        // Without a parent the position is neither scaled nor rotated: (scale with position) · R.
        {"quarter turn, scale 2, no parent", Vector(1, 0, 0), Vector(2, 2, 2), PI / 2, false, Vector(), 0,
         {0, -2, 0, 0, 2, 0, 0, 0, 0, 0, 2, 0, 1, 0, 0, 1}},
        // Under an identity parent the own scale scales the own position: P · S · (R with position).
        {"quarter turn, scale 2, identity parent", Vector(1, 0, 0), Vector(2, 2, 2), PI / 2, true, Vector(), 0,
         {0, -2, 0, 0, 2, 0, 0, 0, 0, 0, 2, 0, 2, 0, 0, 1}},
        {"child scale under an identity parent", Vector(1, 0, 0), Vector(2, 2, 2), 0, true, Vector(), 0,
         {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 2, 0, 0, 1}},
        {"same keyframer without a parent", Vector(1, 0, 0), Vector(2, 2, 2), 0, false, Vector(), 0,
         {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 1, 0, 0, 1}},
        {"parent position adds to the child's", Vector(1, 0, 0), Vector(2, 2, 2), 0, true, Vector(0, 5, 0), 0,
         {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 2, 5, 0, 1}},
        // The parent's rotation turns the child's position (by the conjugate, as OpenGL reads it).
        {"parent rotation turns the child's position", Vector(1, 0, 0), Vector(1, 1, 1), 0, true, Vector(), PI / 2,
         {0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 1}},
    };
    for (const Case& c : cases) {
        Keyframer parent(nullptr);
        parent.addPositionKey(0, c.parentPosition, 0, 0, 0);
        if (c.parentAngle != 0)
            parent.addRotationKey(0, Quaternion(c.parentAngle, 0, 0, 1), 0, 0, 0);
        Keyframer k(nullptr);
        k.addPositionKey(0, c.position, 0, 0, 0);
        k.addScaleKey(0, c.scale, 0, 0, 0);
        k.addRotationKey(0, Quaternion(c.angle, 0, 0, 1), 0, 0, 0);
        if (c.withParent)
            k.setParent(&parent);
        expectMatrix(k.getMatrix(0.5f), c.expected, c.name);
    }
}

TEST(Keyframer, TranslationAndScaleMatricesAndFrameRate)
{
    Keyframer k(nullptr);
    k.addPositionKey(0, Vector(0, 0, 0), 0, 0, 0);
    k.addPositionKey(30, Vector(30, 0, 0), 0, 0, 0);
    k.setPositionRange(0, 30);
    k.addScaleKey(0, Vector(1, 2, 3), 0, 0, 0);
    k.addRollKey(0, 0, 0, 0, 0);
    k.addRollKey(30, 3, 0, 0, 0);
    k.setRollRange(0, 30);
    // 24 frames per second: time 0.5 is frame 12, u = 0.4 on a spline with both tangents 15.
    EXPECT_NEAR(k.getTranslationMatrix(0.5f).get(12), 11.28f, 1e-4);
    k.setFrameRate(30);
    EXPECT_NEAR(k.getTranslationMatrix(0.5f).get(12), 15, 1e-4);
    EXPECT_NEAR(k.getRoll(0.5f), 1.5f, 1e-5);
    const Matrix s = k.getScaleMatrix(0);
    EXPECT_EQ(s.get(0), 1);
    EXPECT_EQ(s.get(5), 2);
    EXPECT_EQ(s.get(10), 3);
    EXPECT_EQ(s.get(12), 0);
}

TEST(Keyframer, SetFromMatrixGivesTheDefaults)
{
    const float elements[16] = {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 5, 6, 7, 1};
    Keyframer k(nullptr);
    k.setFromMatrix(Matrix(elements));
    EXPECT_EQ(k.getPosition(1).y, 6);
    EXPECT_EQ(k.getScale(1).z, 4);
    EXPECT_EQ(k.getRoll(1), 0);
}

TEST(Keyframer, KeysOutsideZeroToOneAreRefused)
{
    Keyframer k(nullptr);
    EXPECT_THROW(k.addPositionKey(0, Vector(1, 1, 1), 1.5f, 0, 0), InvalidParameterValueException);
    EXPECT_THROW(k.addScaleKey(0, Vector(3, 3, 3), 0, -1, 0), InvalidParameterValueException);
    EXPECT_THROW(k.addRollKey(0, 1, 0, 0, 2), InvalidParameterValueException);
    EXPECT_THROW(k.addHpbKey(0, 1, 1, 1, -0.5f, 0, 0), InvalidParameterValueException);
    EXPECT_THROW(k.addRotationKey(0, Quaternion(1, 0, 0, 1), 0, 0, 7), InvalidParameterValueException);
    expectMatrix(k.getMatrix(0), IDENTITY, "no key was added");
}

TEST(Keyframer, RefusesAParentThatWouldCloseALoop)
{
    Keyframer a(nullptr), b(nullptr), c(nullptr), d(nullptr);
    a.setName("a");
    b.setName("b");
    c.setName("c");
    b.setParent(&a);
    c.setParent(&b);
    a.addPositionKey(0, Vector(1, 0, 0), 0, 0, 0);

    LogCapture log;
    a.setParent(&a);
    a.setParent(&c);  // c descends from a
    b.setParent(&c);  // c is b's child
    EXPECT_EQ(log.warnings(), 3);
    EXPECT_TRUE(log.contains("[warning] keyframer::setParent(\"a\") - Refusing parent \"c\""));
    EXPECT_EQ(a.getParent(), nullptr);
    EXPECT_EQ(b.getParent(), &a);
    EXPECT_EQ(c.getParent(), &b);
    EXPECT_EQ(c.getMatrix(0).get(12), 1);

    a.setParent(&d);
    c.setParent(&a);
    b.setParent(nullptr);
    EXPECT_EQ(log.warnings(), 3);
    EXPECT_EQ(a.getParent(), &d);
    EXPECT_EQ(c.getParent(), &a);
    EXPECT_EQ(b.getParent(), nullptr);
}

TEST(Keyframer, ChainsOfParentsHoldAtMost128Keyframers)
{
    // A chain of upper keyframers, then the root of a chain of lower ones given the deepest upper
    // one as its parent. Every keyframer stands one unit along x from its parent's place.
    struct Case {
        int upper, lower;
        bool linked;
    } cases[] = {
        {127, 1, true}, {128, 1, false}, {64, 64, true}, {64, 65, false}, {1, 127, true}, {1, 128, false},
    };
    for (const Case& c : cases) {
        const std::string what = std::to_string(c.upper) + " above " + std::to_string(c.lower);
        std::deque<Keyframer> upper, lower;
        for (std::deque<Keyframer>* chain : {&upper, &lower}) {
            const int length = chain == &upper ? c.upper : c.lower;
            for (int i = 0; i < length; ++i) {
                chain->emplace_back(nullptr);
                chain->back().setName(std::to_string(i));
                chain->back().addPositionKey(0, Vector(1, 0, 0), 0, 0, 0);
                if (i > 0)
                    chain->back().setParent(&(*chain)[static_cast<size_t>(i - 1)]);
            }
        }
        LogCapture log;
        lower.front().setParent(&upper.back());
        EXPECT_EQ(lower.front().getParent(), c.linked ? &upper.back() : nullptr) << what;
        EXPECT_EQ(log.warnings(), c.linked ? 0 : 1) << what;
        if (!c.linked) {
            EXPECT_TRUE(log.contains("Refusing parent \"" + std::to_string(c.upper - 1) +
                                     "\": the chain of parents would hold more than 128 keyframers."))
                << log.text();
        }
        EXPECT_EQ(lower.back().getMatrix(0).get(12), static_cast<float>(c.linked ? c.upper + c.lower : c.lower))
            << what;
    }
}

TEST(Keyframer, WritesItsNamesPivotAndPositionKeys)
{
    Keyframer k(nullptr);
    k.setName("Box");
    k.addPositionKey(12, Vector(1, 2, 3), 0, 0, 0);
    LogCapture log;
    Log::getInstance()->setLevel(LogLevel::info);
    k.writeToLog();
    k.setTargetName("Target");
    k.writeToLog();
    EXPECT_EQ(log.text(), "[info] keyframer::writeToLog(\"Box\")\n"
                          "[info] keyframer::  * pivot: x=0, y=0, z=0\n"
                          "[info] keyframer::writeToLog(\"Box\") - Dumping position interpolator: \n"
                          "1 keys:  frame 12.00: DISABLED\n\n"
                          "[info] keyframer::writeToLog(\"Box.Target\")\n"
                          "[info] keyframer::  * pivot: x=0, y=0, z=0\n"
                          "[info] keyframer::writeToLog(\"Box\") - Dumping position interpolator: \n"
                          "1 keys:  frame 12.00: DISABLED\n\n");
}

TEST(Keyframer, RotationAnglesAreLoggedOnlyAtLevelFour)
{
    Keyframer k(nullptr);
    k.setName("Box");
    k.addRotationKey(0, Quaternion(PI / 2, 0, 0, 1), 0, 0, 0);
    {
        LogCapture log;
        Log::getInstance()->setLevel(LogLevel::debug);
        k.getMatrix(0);
        EXPECT_EQ(log.text(), "");
    }
    LogCapture log;
    Log::getInstance()->setLevel(LogLevel::frame);
    k.getLocalRotationMatrix(0);
    EXPECT_EQ(log.text(), "[debug_fdraw] keyframer::getLocalRotationMatrix(\"Box\") - x angle = 0, y angle = -0, "
                          "z angle = 90\n");
}
