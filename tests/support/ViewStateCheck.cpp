#include "ViewStateCheck.h"

#include <gtest/gtest.h>

#include <GL/glu.h>


void leaveLit3DState()
{
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glDisable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 640.0 / 480.0, 1.0, 300.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -5.0f);
    glRotatef(30.0f, 0.0f, 1.0f, 0.0f);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
}

void expectFlatView(bool blend, GLenum source, GLenum destination)
{
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(glIsEnabled(GL_BLEND) == GL_TRUE, blend);
    if (blend) {
        GLint src = 0;
        GLint dst = 0;
        glGetIntegerv(GL_BLEND_SRC, &src);
        glGetIntegerv(GL_BLEND_DST, &dst);
        EXPECT_EQ(static_cast<GLenum>(src), source);
        EXPECT_EQ(static_cast<GLenum>(dst), destination);
    }
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);

    // glOrtho(-1, 1, -1, 1, -1, 1) is the identity with z negated.
    const float ortho[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1};
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    float projection[16];
    float modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(projection[i], ortho[i]) << "projection element " << i;
        EXPECT_FLOAT_EQ(modelview[i], identity[i]) << "modelview element " << i;
    }
    float clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    for (float c : clear)
        EXPECT_FLOAT_EQ(c, 1.0f);
}
