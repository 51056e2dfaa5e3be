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

TEST(GLClockwiseUnlitScope, SwitchesForTheBlockAndRestoresWhatItFoundOnEveryWayOut)
{
    // Every request (lit, depth test off, thrown out of) from every starting state: lighting,
    // depth test and winding as found, on or off.
    for (int request = 0; request < 8; ++request) {
        for (int start = 0; start < 8; ++start) {
            const bool lit = request & 1, depthTestOff = request & 2, throws = request & 4;
            const bool lightingOn = start & 1, depthTestOn = start & 2;
            const GLenum winding = (start & 4) ? GL_CW : GL_CCW;
            const std::string label = "request " + std::to_string(request) + ", start " + std::to_string(start);
            lightingOn ? glEnable(GL_LIGHTING) : glDisable(GL_LIGHTING);
            depthTestOn ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
            glFrontFace(winding);
            try {
                const GLClockwiseUnlitScope scope(lit, depthTestOff);
                EXPECT_EQ(integer(GL_FRONT_FACE), GL_CW) << label;
                // Lighting is switched off only for a lit scene; otherwise it is left as found.
                EXPECT_EQ(glIsEnabled(GL_LIGHTING) == GL_TRUE, lightingOn && !lit) << label;
                EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST) == GL_TRUE, depthTestOn && !depthTestOff) << label;
                if (throws)
                    throw std::runtime_error("drawing failed");
            } catch (const std::runtime_error&) {
            }
            EXPECT_EQ(integer(GL_FRONT_FACE), static_cast<GLint>(winding)) << label;
            EXPECT_EQ(glIsEnabled(GL_LIGHTING) == GL_TRUE, lightingOn) << label;
            EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST) == GL_TRUE, depthTestOn) << label;
        }
    }
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glFrontFace(GL_CCW);
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST(ClearPendingGLErrors, LeavesNoErrorForTheNextCheck)
{
    glEnable(0xFFFF);  // not a capability: GL_INVALID_ENUM
    glPopAttrib();     // nothing pushed: GL_STACK_UNDERFLOW
    clearPendingGLErrors();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
