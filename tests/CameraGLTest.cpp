#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

#include "Camera.h"
#include "GLEnvironment.h"

TEST(CameraPerspective, LoadsTheProjectionAndLeavesItCurrent)
{
    struct Case {
        float fovy, aspect, zNear, zFar;
    } cases[] = {
        {45.0f, 640.0f / 480.0f, 1.0f, 300.0f},
        {60.0f, 1.0f, 0.5f, 20.0f},
        {45.0f, 2.0f, 10.0f, 5.0f},  // far before near is passed on unchecked
    };
    for (const Case& c : cases) {
        // Something else loaded first: the projection is replaced, not multiplied.
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glTranslatef(3.0f, 4.0f, 5.0f);
        glMatrixMode(GL_MODELVIEW);

        Camera::setPerspective(c.fovy, c.aspect, c.zNear, c.zFar);

        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_PROJECTION);
        float m[16];
        glGetFloatv(GL_PROJECTION_MATRIX, m);
        double f = 1.0 / std::tan(c.fovy * M_PI / 360.0);
        EXPECT_NEAR(m[0], f / c.aspect, 1e-4);
        EXPECT_NEAR(m[5], f, 1e-4);
        EXPECT_NEAR(m[10], (c.zFar + c.zNear) / (c.zNear - c.zFar), 1e-4);
        EXPECT_NEAR(m[11], -1.0, 1e-6);
        EXPECT_NEAR(m[14], 2.0 * c.zFar * c.zNear / (c.zNear - c.zFar), 1e-3);
        EXPECT_NEAR(m[12], 0.0, 1e-6);
        EXPECT_NEAR(m[15], 0.0, 1e-6);
    }
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}
