#include "CommonObject.h"

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cmath>

#include "GLEnvironment.h"

namespace {
class Probe : public CommonObject {
public:
    void render(double) override {}
    void setOrientation(const Quaternion& q) { orientation = q; }
    void setTransformEnabled(bool on) { transformEnabled = on; }
    bool isInitialized() const { return initialized; }
    float shininess() const { return materialShininess; }
    const float* ambient() const { return materialAmbient; }
    const float* diffuse() const { return materialDiffuse; }
    const float* specular() const { return materialSpecular; }
    const float* emission() const { return materialEmission; }
};

void modelview(float* out)
{
    glGetFloatv(GL_MODELVIEW_MATRIX, out);
}
}

// Must stay the first test of this binary: no object has been built before it.
TEST(CommonObject, ObjectsAreNumberedInConstructionOrder)
{
    Probe first, second, third;
    EXPECT_EQ(first.getName(), "Object 0");
    EXPECT_EQ(second.getName(), "Object 1");
    EXPECT_EQ(third.getName(), "Object 2");
    {
        Probe gone;
    }
    Probe next;
    EXPECT_EQ(next.getName(), "Object 4");
    next.setName("lamp");
    EXPECT_EQ(next.getName(), "lamp");
    EXPECT_EQ(next.toString(), "CommonObject::toString() - lamp");
}

TEST(CommonObject, StartsAtTheOriginUnrotatedAndUninitialized)
{
    Probe p;
    EXPECT_EQ(p.getPosition().length(true), 0.0f);
    EXPECT_EQ(p.getOrientation().w, 1.0f);
    EXPECT_FALSE(p.isInitialized());
    p.setPosition(Vector(1, 2, 3));
    EXPECT_EQ(p.getPosition().z, 3.0f);
}

TEST(CommonObject, InitializeSetsTheDefaultMaterial)
{
    Probe p;
    p.initialize();
    EXPECT_TRUE(p.isInitialized());
    EXPECT_EQ(p.shininess(), 0.0f);
    const float* quadruples[4] = {p.ambient(), p.diffuse(), p.specular(), p.emission()};
    const float expected[4][4] = {{0, 0, 0, 1}, {0.3f, 0.3f, 0.3f, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}};
    for (int q = 0; q < 4; ++q)
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(quadruples[q][i], expected[q][i]) << q << "," << i;
}

// A quarter turn about y is applied by OpenGL as its conjugate, which takes x to +z; the
// translation happens in that rotated frame, so the origin lands at (0, 0, 1), not at x = 1.
TEST(CommonObject, ApplyTransformTranslatesInTheRotatedFrame)
{
    Probe p;
    p.setOrientation(Quaternion(static_cast<float>(M_PI / 2), 0, 1, 0));
    p.setPosition(Vector(1, 0, 0));
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    p.applyTransform();
    float m[16];
    modelview(m);
    EXPECT_NEAR(m[12], 0.0f, 1e-6f);
    EXPECT_NEAR(m[13], 0.0f, 1e-6f);
    EXPECT_NEAR(m[14], 1.0f, 1e-6f);

    glLoadIdentity();
    glTranslatef(5, 0, 0);
    p.setTransformEnabled(false);
    p.applyTransform();
    modelview(m);
    const float expected[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 0, 0, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(m[i], expected[i]) << i;
    glLoadIdentity();
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}
