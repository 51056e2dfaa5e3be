#include "Vector.h"

#include <gtest/gtest.h>

#include <cmath>

#include "Matrix.h"
#include "Point.h"
#include "Quaternion.h"
#include "UV.h"

namespace {
void expectVector(const Vector& v, float x, float y, float z, float tolerance = 1e-5f)
{
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

Matrix counting()
{
    float elements[16];
    for (int i = 0; i < 16; ++i)
        elements[i] = static_cast<float>(i + 1);
    return Matrix(elements);
}
}

TEST(Vector, ArithmeticAndLengths)
{
    const float raw[3] = {1, 2, 3};
    Vector a(raw), b(4, -5, 6);
    EXPECT_EQ(a.dot(b), 12.0f);
    expectVector(a + b, 5, -3, 9);
    expectVector(a - b, -3, 7, -3);
    expectVector(a * 2, 2, 4, 6);
    expectVector(b / 2, 2, -2.5f, 3);
    a += b;
    expectVector(a, 5, -3, 9);
    a -= b;
    a *= 3;
    a /= 2;
    expectVector(a, 1.5f, 3, 4.5f);
    EXPECT_EQ(a[0], 1.5f);
    EXPECT_EQ(a[2], 4.5f);
    a[1] = 7;
    EXPECT_EQ(a.getY(), 7.0f);
    EXPECT_EQ(Vector(3, 4, 0).length(true), 25.0f);
    EXPECT_EQ(Vector(3, 4, 0).length(false), 5.0f);
    expectVector(Vector(), 0, 0, 0);
}

TEST(Vector, NormalizeScalesToUnitLengthAndLeavesZeroAlone)
{
    Vector v(0, 3, -4);
    v.normalize();
    expectVector(v, 0, 0.6f, -0.8f);
    Vector zero;
    zero.normalize();
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
    EXPECT_EQ(zero.z, 0.0f);
}

TEST(Vector, TransformReadsTheMatrixColumnByColumn)
{
    Vector v(1, 2, 3);
    v.transform(counting());
    // x = m12 + m0·1 + m4·2 + m8·3 = 13 + 1 + 10 + 27, and so on.
    expectVector(v, 51, 58, 65);

    Vector same(1, 2, 3);
    same.transform(Matrix());
    expectVector(same, 1, 2, 3);

    Matrix shift;
    shift.setTranslation(Vector(5, 0, 0));
    Vector shifted(1, 2, 3);
    shifted.transform(shift);
    expectVector(shifted, 6, 2, 3);
}

TEST(Vector, InverseTransformUndoesARotationPlusTranslation)
{
    Matrix m(Quaternion(0.7f, 0.48f, 0.6f, 0.64f));
    m.setTranslation(Vector(3, -2, 8));
    Vector v(1.5f, -0.25f, 4);
    v.transform(m);
    EXPECT_GT((v - Vector(1.5f, -0.25f, 4)).length(), 1.0f);
    v.inverseTransform(m);
    expectVector(v, 1.5f, -0.25f, 4);

    // Subtracts the translation first, then applies the transposed upper part.
    Vector w(14, 15, 16);
    w.inverseTransform(counting());
    // (1, 1, 1) against the rows (1, 2, 3), (5, 6, 7), (9, 10, 11).
    expectVector(w, 6, 18, 30);
}

TEST(Vector, ToStringUsesTwoDecimals)
{
    EXPECT_EQ(Vector(1, 2.5f, -3).toString(), "1.00, 2.50, -3.00");
}

TEST(Point, ConvertsToAndFromVector)
{
    const float raw[3] = {1, 2, 3};
    Point p(raw);
    EXPECT_EQ(p[1], 2.0f);
    Vector v = p.toVector();
    EXPECT_EQ(v.z, 3.0f);
    p = Vector(4, 5, 6);
    EXPECT_EQ(p[0], 4.0f);
    Point q(Vector(7, 8, 9));
    EXPECT_EQ(q[2], 9.0f);
    EXPECT_EQ(Point()[0], 0.0f);
}

TEST(UV, ComparisonsAreRangeTestsOnBothComponents)
{
    struct Case {
        UV a, b;
        bool lessEqual, greaterEqual, equal;
    } cases[] = {
        {UV(0.5f, 0.5f), UV(1, 1), true, false, false},
        {UV(0.5f, 1.5f), UV(1, 1), false, false, false},
        {UV(1, 1), UV(1, 1), true, true, true},
        {UV(1.5f, 1), UV(1, 1), false, true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.a <= c.b, c.lessEqual) << c.a.u << "," << c.a.v;
        EXPECT_EQ(c.a >= c.b, c.greaterEqual) << c.a.u << "," << c.a.v;
        EXPECT_EQ(c.a == c.b, c.equal) << c.a.u << "," << c.a.v;
    }
    EXPECT_TRUE(UV::zero() == UV());
    EXPECT_TRUE(UV::one() == UV(1, 1));
    const float raw[2] = {0.25f, 0.75f};
    UV uv(raw);
    EXPECT_EQ(uv.get(0), 0.25f);
    EXPECT_EQ(uv.get(1), 0.75f);
    EXPECT_EQ(uv.get(7), 0.75f);
    uv.set(2, 3);
    EXPECT_TRUE(uv.get() == UV(2, 3));
}
