#include "Matrix.h"

#include <gtest/gtest.h>

#include <cmath>

#include "Quaternion.h"
#include "Vector.h"

namespace {
const float halfPi = static_cast<float>(M_PI / 2);

void expectVector(const Vector& v, float x, float y, float z)
{
    EXPECT_NEAR(v.x, x, 1e-5f);
    EXPECT_NEAR(v.y, y, 1e-5f);
    EXPECT_NEAR(v.z, z, 1e-5f);
}

void expectMatrix(const Matrix& actual, const Matrix& expected, float tolerance = 1e-6f)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual.get(i), expected.get(i), tolerance) << "element " << i;
}

Vector transformed(Vector v, const Matrix& m)
{
    v.transform(m);
    return v;
}

Matrix fromElements(std::initializer_list<float> values)
{
    return Matrix(values.begin());
}
}

TEST(Matrix, DefaultIsIdentity)
{
    Matrix m;
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(m.get(i), (i % 5 == 0) ? 1.0f : 0.0f) << i;
}

// A quarter turn about z is stored row by row: OpenGL and Vector::transform, reading columns,
// turn (1, 0, 0) to (0, -1, 0), the conjugate of the quaternion's rotation.
TEST(Matrix, RotationIsStoredRowByRowSoItRotatesByTheConjugate)
{
    Matrix m(Quaternion(halfPi, 0, 0, 1));
    EXPECT_NEAR(m.get(1), -1.0f, 1e-6f);
    EXPECT_NEAR(m.get(4), 1.0f, 1e-6f);
    EXPECT_NEAR(m.get(0), 0.0f, 1e-6f);
    EXPECT_EQ(m.get(15), 1.0f);
    expectVector(transformed(Vector(1, 0, 0), m), 0, -1, 0);
    expectVector(transformed(Vector(0, 1, 0), m), 1, 0, 0);
}

TEST(Matrix, SetRotationClearsTranslationAndSetTranslationKeepsRotation)
{
    Matrix m;
    m.setTranslation(Vector(1, 2, 3));
    m.setRotation(Quaternion(halfPi, 0, 0, 1));
    EXPECT_EQ(m.get(12), 0.0f);
    EXPECT_EQ(m.get(14), 0.0f);
    m.setTranslation(Vector(4, 5, 6));
    EXPECT_NEAR(m.get(1), -1.0f, 1e-6f);
    EXPECT_EQ(m.get(13), 5.0f);
    expectVector(transformed(Vector(1, 0, 0), m), 4, 4, 6);
}

TEST(Matrix, ProductAppliesTheArgumentAfterThisMatrix)
{
    const Matrix aboutZ(Quaternion(halfPi, 0, 0, 1));  // (1, 0, 0) -> (0, -1, 0)
    const Matrix aboutX(Quaternion(halfPi, 1, 0, 0));  // (0, -1, 0) -> (0, 0, 1)
    Matrix zThenX = aboutZ;
    zThenX *= aboutX;
    expectVector(transformed(Vector(1, 0, 0), zThenX), 0, 0, 1);
    Matrix xThenZ = aboutX;
    xThenZ *= aboutZ;
    expectVector(transformed(Vector(1, 0, 0), xThenZ), 0, -1, 0);

    // The row-by-row storage makes the matrix of a quaternion product the same product of matrices.
    const Quaternion p(0.9f, 0.6f, 0.0f, 0.8f), q(-0.4f, 0.0f, 1.0f, 0.0f);
    Matrix product(p);
    product *= Matrix(q);
    expectMatrix(product, Matrix(p * q), 1e-5f);
}

TEST(Matrix, ProductSumsInElementOrder)
{
    Matrix m = fromElements({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    Matrix n = fromElements({2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 1, 1, 1, 1});
    m *= n;
    // m[4i + j] = o[4i]·n[j] + o[4i+1]·n[4+j] + o[4i+2]·n[8+j] + o[4i+3]·n[12+j]
    expectMatrix(m, fromElements({6, 10, 16, 4, 18, 26, 36, 8, 30, 42, 56, 12, 42, 58, 76, 16}));

    Matrix self = fromElements({1, 2, 0, 0, 3, 4, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    self *= self;
    expectMatrix(self, fromElements({7, 10, 0, 0, 15, 22, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
}

TEST(Matrix, ProductWithIdentityAndTranslation)
{
    Matrix m(Quaternion(0.5f, 0.0f, 0.6f, 0.8f));
    m.setTranslation(Vector(1, 2, 3));
    Matrix left;
    left *= m;
    expectMatrix(left, m);
    Matrix right = m;
    right *= Matrix();
    expectMatrix(right, m);

    Matrix t;
    t.setTranslation(Vector(10, 20, 30));
    Matrix moved = m;
    moved *= t;
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(moved.get(i), m.get(i)) << i;
    EXPECT_FLOAT_EQ(moved.get(12), 11.0f);
    EXPECT_FLOAT_EQ(moved.get(13), 22.0f);
    EXPECT_FLOAT_EQ(moved.get(14), 33.0f);
    EXPECT_EQ(moved.get(15), 1.0f);
}

TEST(Matrix, AxisAngleMatchesTheQuaternionAndKeepsTheRest)
{
    Matrix m;
    m.setTranslation(Vector(7, 8, 9));
    m.setAxisAngleRotation(Vector(0, 0.6f, 0.8f), 1.1f);
    Matrix expected(Quaternion(1.1f, 0, 0.6f, 0.8f));
    expected.setTranslation(Vector(7, 8, 9));
    expectMatrix(m, expected, 1e-6f);

    Matrix quarter;
    quarter.setAxisAngleRotation(Vector(0, 0, 1), halfPi);
    expectVector(transformed(Vector(1, 0, 0), quarter), 0, -1, 0);
}

TEST(Matrix, HpbRotationUsesTheHpbQuaternion)
{
    Matrix m;
    m.setHpbRotation(Vector(0.3f, -0.2f, 0.9f));
    expectMatrix(m, Matrix(Quaternion::fromHpb(0.3f, -0.2f, 0.9f)));
}

TEST(Matrix, ScaleNormalizeAndTranspose)
{
    Matrix m;
    m.setTranslation(Vector(5, 6, 7));
    m.setScale(Vector(2, 3, 0));
    EXPECT_EQ(m.get(0), 2.0f);
    EXPECT_EQ(m.get(5), 3.0f);
    EXPECT_EQ(m.get(10), 0.0f);
    m.normalize();
    expectMatrix(m, fromElements({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 5, 6, 7, 1}));

    Matrix skew = fromElements({3, 0, 4, 9, 0, 0, 2, 9, 1, 1, 1, 9, 9, 9, 9, 9});
    skew.normalize();
    const float r = 1.0f / std::sqrt(3.0f);
    expectMatrix(skew, fromElements({0.6f, 0, 0.8f, 9, 0, 0, 1, 9, r, r, r, 9, 9, 9, 9, 9}));

    Matrix c = fromElements({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    c.transpose();
    expectMatrix(c, fromElements({1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 4, 8, 12, 16}));
    float out[16];
    c.toArray(out);
    EXPECT_EQ(out[1], 5.0f);
    EXPECT_EQ(out[15], 16.0f);
}
