#include "Quaternion.h"

#include <gtest/gtest.h>

#include <cmath>

#include "Matrix.h"
#include "Vector.h"

namespace {
const float pi = static_cast<float>(M_PI);
const float root = std::sqrt(0.5f);

Quaternion make(float x, float y, float z, float w)
{
    Quaternion q;
    q.x = x;
    q.y = y;
    q.z = z;
    q.w = w;
    return q;
}

void expectQuaternion(const Quaternion& q, float x, float y, float z, float w, float tolerance = 1e-6f)
{
    EXPECT_NEAR(q.x, x, tolerance);
    EXPECT_NEAR(q.y, y, tolerance);
    EXPECT_NEAR(q.z, z, tolerance);
    EXPECT_NEAR(q.w, w, tolerance);
}

void expectQuaternion(const Quaternion& q, const Quaternion& e, float tolerance = 1e-6f)
{
    expectQuaternion(q, e.x, e.y, e.z, e.w, tolerance);
}
}

TEST(Quaternion, AxisAngleTakesHalfAnglesAndKeepsTheAxisUnnormalised)
{
    expectQuaternion(Quaternion(), 0, 0, 0, 1);
    expectQuaternion(Quaternion(pi / 2, 0, 0, 1), 0, 0, root, root);
    expectQuaternion(Quaternion(pi, Vector(0, 2, 0)), 0, 2, 0, 0);
    Quaternion q(1.0f, 1, 1, 1);
    q.setIdentity();
    expectQuaternion(q, 0, 0, 0, 1);
}

TEST(Quaternion, ProductIsTheHamiltonProduct)
{
    // i·j = k, j·i = -k
    expectQuaternion(make(1, 0, 0, 0) * make(0, 1, 0, 0), 0, 0, 1, 0);
    expectQuaternion(make(0, 1, 0, 0) * make(1, 0, 0, 0), 0, 0, -1, 0);

    const Quaternion p = make(0.1f, 0.2f, 0.3f, 0.9f), q = make(-0.4f, 0.5f, 0.2f, 0.7f);
    const double w = 0.9 * 0.7 - 0.1 * -0.4 - 0.2 * 0.5 - 0.3 * 0.2;
    const double x = 0.9 * -0.4 + 0.1 * 0.7 + 0.2 * 0.2 - 0.3 * 0.5;
    const double y = 0.9 * 0.5 - 0.1 * 0.2 + 0.2 * 0.7 + 0.3 * -0.4;
    const double z = 0.9 * 0.2 + 0.1 * 0.5 - 0.2 * -0.4 + 0.3 * 0.7;
    expectQuaternion(p * q, x, y, z, w, 1e-6f);
    Quaternion r = p;
    r *= q;
    expectQuaternion(r, p * q, 0);

    // Turns about one axis add up.
    expectQuaternion(Quaternion(0.5f, 0, 0, 1) * Quaternion(0.7f, 0, 0, 1), Quaternion(1.2f, 0, 0, 1));

    r += make(1, 1, 1, 1);
    expectQuaternion(r, (p * q).x + 1, (p * q).y + 1, (p * q).z + 1, (p * q).w + 1);
}

TEST(Quaternion, SlerpFollowsTheArc)
{
    const Quaternion from, to(pi / 2, 0, 0, 1);
    expectQuaternion(from.slerp(to, 0), from);
    expectQuaternion(from.slerp(to, 1), to);
    expectQuaternion(from.slerp(to, 0.5f), Quaternion(pi / 4, 0, 0, 1));
    expectQuaternion(from.slerp(to, 0.25f), Quaternion(pi / 8, 0, 0, 1));
}

TEST(Quaternion, SlerpTakesTheShorterWayBetweenQAndMinusQ)
{
    const Quaternion q(1.3f, 0.48f, 0.6f, 0.64f);
    const Quaternion minus = make(-q.x, -q.y, -q.z, -q.w);
    for (float t : {0.0f, 0.3f, 0.5f, 1.0f})
        expectQuaternion(q.slerp(minus, t), q, 1e-6f);

    // Far apart with a negative dot product: the end point is -q, the nearer of the two.
    const Quaternion opposite = make(0, 0, -std::sin(1.4f), -std::cos(1.4f));  // -(2.8 rad about z)
    expectQuaternion(Quaternion().slerp(opposite, 1), 0, 0, std::sin(1.4f), std::cos(1.4f), 1e-6f);
}

TEST(Quaternion, SlerpOfCloseQuaternionsIsLinearAndNotNormalised)
{
    const Quaternion to(0.4f, 0, 0, 1);  // dot with the identity is cos(0.2) > 0.9
    const Quaternion mid = Quaternion().slerp(to, 0.5f);
    expectQuaternion(mid, 0, 0, 0.5f * std::sin(0.2f), 0.5f * (1 + std::cos(0.2f)));
    EXPECT_LT(mid.x * mid.x + mid.y * mid.y + mid.z * mid.z + mid.w * mid.w, 0.995f);
}

TEST(Quaternion, FromHpbComposesHeadingPitchAndBank)
{
    expectQuaternion(Quaternion::fromHpb(0, 0, 0), 0, 0, 0, 1);
    expectQuaternion(Quaternion::fromHpb(0.8f, 0, 0), Quaternion(0.8f, 0, 1, 0));
    // Heading a quarter turn: the pitch axis (1, 0, 0) becomes (0, 0, 1).
    expectQuaternion(Quaternion::fromHpb(pi / 2, pi / 2, 0), Quaternion(pi / 2, 0, 1, 0) * Quaternion(pi / 2, 0, 0, 1));
    expectQuaternion(Quaternion::fromHpb(pi / 2, pi / 2, 0), 0.5f, 0.5f, 0.5f, 0.5f);
    // ... and the bank axis (0, 0, -1) becomes (0, -1, 0).
    expectQuaternion(Quaternion::fromHpb(pi / 2, pi / 2, pi / 2), root, 0, 0, root);
    // Pitch alone is about x, bank alone about -z.
    expectQuaternion(Quaternion::fromHpb(0, 0.6f, 0), Quaternion(0.6f, 1, 0, 0));
    expectQuaternion(Quaternion::fromHpb(0, 0, 0.6f), Quaternion(0.6f, 0, 0, -1));
}

TEST(Quaternion, EulerConstructorComposesZThenYThenX)
{
    expectQuaternion(Quaternion(0.5f, 0.0f, 0.0f), Quaternion(0.5f, 1, 0, 0));
    expectQuaternion(Quaternion(0.0f, 0.5f, 0.0f), Quaternion(0.5f, 0, 1, 0));
    expectQuaternion(Quaternion(0.0f, 0.0f, 0.5f), Quaternion(0.5f, 0, 0, 1));
    expectQuaternion(Quaternion(0.3f, -0.4f, 0.9f),
                     Quaternion(0.9f, 0, 0, 1) * Quaternion(-0.4f, 0, 1, 0) * Quaternion(0.3f, 1, 0, 0));
}

TEST(Quaternion, ToEulerReturnsAnglesAndClampsNearAQuarterPitch)
{
    const Vector zero = Quaternion().toEuler();
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
    EXPECT_EQ(zero.z, 0.0f);
    const Vector e = Quaternion(0.3f, -0.4f, 0.9f).toEuler();
    EXPECT_NEAR(e.x, 0.3f, 1e-5f);
    EXPECT_NEAR(e.y, -0.4f, 1e-5f);
    EXPECT_NEAR(e.z, 0.9f, 1e-5f);

    // 2·0.7072² is just above 1: the pitch is a quarter turn, not NaN.
    const Vector steep = make(0, 0.7072f, 0, 0.7072f).toEuler();
    EXPECT_FALSE(std::isnan(steep.y));
    EXPECT_NEAR(steep.y, pi / 2, 1e-6f);
    EXPECT_NEAR(make(0, -0.7072f, 0, 0.7072f).toEuler().y, -pi / 2, 1e-6f);
}
