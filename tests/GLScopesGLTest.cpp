#include <gtest/gtest.h>

#include <GL/gl.h>

#include <stdexcept>
#include <string>

#include "GLAttribScope.h"
#include "GLClockwiseUnlitScope.h"
#include "GLEnvironment.h"
#include "GLErrors.h"
#include "GLMatrixScope.h"

namespace {
GLint integer(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

// Element 12 of a matrix: the x of its translation.
GLfloat translationX(GLenum matrix)
{
    GLfloat m[16];
    glGetFloatv(matrix, m);
    return m[12];
}

// The modelview and projection as a scene leaves them, with the modelview current.
void startScene()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glTranslatef(3.0f, 0.0f, 0.0f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(5.0f, 0.0f, 0.0f);
}
}

TEST(GLMatrixScope, CurrentStackIsPoppedOnEveryWayOut)
{
    for (const bool throws : {false, true}) {
        startScene();
        const GLint depth = integer(GL_MODELVIEW_STACK_DEPTH);
        try {
            const GLMatrixScope matrix;
            glTranslatef(1.0f, 0.0f, 0.0f);
            EXPECT_EQ(integer(GL_MODELVIEW_STACK_DEPTH), depth + 1);
            if (throws)
                throw std::runtime_error("drawing failed");
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(integer(GL_MODELVIEW_STACK_DEPTH), depth) << throws;
        EXPECT_EQ(translationX(GL_MODELVIEW_MATRIX), 5.0f) << throws;
        EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW) << throws;
    }
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST(GLMatrixScope, ModeScopePopsItsOwnStackWhateverModeTheBlockLeavesCurrent)
{
    startScene();
    const GLint projectionDepth = integer(GL_PROJECTION_STACK_DEPTH);
    const GLint modelviewDepth = integer(GL_MODELVIEW_STACK_DEPTH);
    {
        const GLMatrixScope projection(GL_PROJECTION);
        EXPECT_EQ(integer(GL_MATRIX_MODE), GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glTranslatef(1.0f, 0.0f, 0.0f);
    }
    EXPECT_EQ(integer(GL_PROJECTION_STACK_DEPTH), projectionDepth);
    EXPECT_EQ(integer(GL_MODELVIEW_STACK_DEPTH), modelviewDepth);
    EXPECT_EQ(translationX(GL_PROJECTION_MATRIX), 3.0f);
    // The modelview was never pushed: the block's change to it stays.
    EXPECT_EQ(translationX(GL_MODELVIEW_MATRIX), 6.0f);
    EXPECT_EQ(integer(GL_MATRIX_MODE), GL_PROJECTION);
    glMatrixMode(GL_MODELVIEW);
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST(GLMatrixScope, OverlayScopesHandBackBothMatricesWithTheModelviewCurrent)
{
    for (const bool throws : {false, true}) {
        startScene();
        try {
            const GLMatrixScope modelview(GL_MODELVIEW);
            const GLMatrixScope projection(GL_PROJECTION);
            glLoadIdentity();
            glOrtho(0.0, 1.0, 0.0, 1.0, -1.0, 1.0);
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            if (throws)
                throw std::runtime_error("drawing failed");
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(translationX(GL_PROJECTION_MATRIX), 3.0f) << throws;
        EXPECT_EQ(translationX(GL_MODELVIEW_MATRIX), 5.0f) << throws;
        EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW) << throws;
    }
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST(GLAttribScope, SavedSwitchesComeBackOnEveryWayOut)
{
    for (const bool throws : {false, true}) {
        glEnable(GL_LIGHTING);
        glDisable(GL_BLEND);
        glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
        try {
            const GLAttribScope attributes(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
            glDisable(GL_LIGHTING);
            glEnable(GL_BLEND);
            glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
            if (throws)
                throw std::runtime_error("drawing failed");
        } catch (const std::runtime_error&) {
        }
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING)) << throws;
        EXPECT_FALSE(glIsEnabled(GL_BLEND)) << throws;
        GLfloat colour[4];
        glGetFloatv(GL_COLOR_CLEAR_VALUE, colour);
        EXPECT_FLOAT_EQ(colour[0], 0.25f) << throws;
        EXPECT_FLOAT_EQ(colour[2], 0.75f) << throws;
    }
    glDisable(GL_LIGHTING);
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST(GLClockwiseUnlitScope, SwitchesForTheBlockAndHandsTheScenesStateBackOnEveryWayOut)
{
    struct Case {
        bool lit;
        bool depthTestOff;
        bool throws;
    } cases[] = {
        {false, false, false}, {true, false, false}, {false, true, false}, {true, true, true}, {true, false, true},
    };
    for (const Case& c : cases) {
        const std::string label = std::to_string(c.lit) + std::to_string(c.depthTestOff) + std::to_string(c.throws);
        if (c.lit)
            glEnable(GL_LIGHTING);
        else
            glDisable(GL_LIGHTING);
        // A scene without depth test keeps it off when nothing asks for a switch.
        glDisable(GL_DEPTH_TEST);
        try {
            const GLClockwiseUnlitScope scope(c.lit, c.depthTestOff);
            EXPECT_EQ(integer(GL_FRONT_FACE), GL_CW) << label;
            EXPECT_FALSE(glIsEnabled(GL_LIGHTING)) << label;
            EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST)) << label;
            if (c.throws)
                throw std::runtime_error("drawing failed");
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(integer(GL_FRONT_FACE), GL_CCW) << label;
        EXPECT_EQ(glIsEnabled(GL_LIGHTING) == GL_TRUE, c.lit) << label;
        // The block drew over everything; the scene's depth test is on after it.
        EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST) == GL_TRUE, c.depthTestOff) << label;
    }
    glDisable(GL_LIGHTING);
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST(ClearPendingGLErrors, LeavesNoErrorForTheNextCheck)
{
    glEnable(0xFFFF);  // not a capability: GL_INVALID_ENUM
    glPopAttrib();     // nothing pushed: GL_STACK_UNDERFLOW
    clearPendingGLErrors();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
