#include "Matrix.h"

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cmath>

#include "GLEnvironment.h"
#include "Quaternion.h"
#include "Vector.h"

namespace {
void expectModelview(const Matrix& expected)
{
    float actual[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, actual);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual[i], expected.get(i), 1e-6f) << "element " << i;
}
}

// A quarter turn about +z handed to OpenGL is the same as glRotatef(-90) about z.
TEST(MatrixGL, OpenGLRotatesByTheConjugateOfTheQuaternion)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(-90.0f, 0, 0, 1);
    Matrix conjugate;
    conjugate.loadModelviewMatrix();

    glLoadIdentity();
    Quaternion(static_cast<float>(M_PI / 2), 0, 0, 1).glMultMatrix();
    expectModelview(conjugate);
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST(MatrixGL, ProductMatchesOpenGLWithTheArgumentOnTheLeft)
{
    Matrix a(Quaternion(0.7f, 0.0f, 0.6f, 0.8f));
    a.setTranslation(Vector(1, 2, 3));
    Matrix b(Quaternion(-1.2f, 1.0f, 0.0f, 0.0f));
    b.setTranslation(Vector(-4, 0.5f, 2));

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    b.glMultMatrix();
    a.glMultMatrix();
    Matrix product = a;
    product *= b;
    expectModelview(product);
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST(MatrixGL, LoadsTheProjectionMatrix)
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-2, 2, -1, 1, -1, 1);
    Matrix projection;
    projection.loadProjectionMatrix();
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    EXPECT_FLOAT_EQ(projection.get(0), 0.5f);
    EXPECT_FLOAT_EQ(projection.get(5), 1.0f);
    EXPECT_FLOAT_EQ(projection.get(10), -1.0f);
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}
