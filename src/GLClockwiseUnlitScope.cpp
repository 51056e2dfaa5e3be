#include "GLClockwiseUnlitScope.h"

#include <GL/gl.h>

GLClockwiseUnlitScope::GLClockwiseUnlitScope(bool lit, bool depthTestOff) : lit(lit), depthTestOff(depthTestOff)
{
    if (depthTestOff)
        glDisable(GL_DEPTH_TEST);
    glFrontFace(GL_CW);
    if (lit)
        glDisable(GL_LIGHTING);
}

GLClockwiseUnlitScope::~GLClockwiseUnlitScope()
{
    glFrontFace(GL_CCW);
    if (depthTestOff)
        glEnable(GL_DEPTH_TEST);
    if (lit)
        glEnable(GL_LIGHTING);
}
