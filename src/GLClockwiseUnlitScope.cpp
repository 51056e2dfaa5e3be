#include "GLClockwiseUnlitScope.h"

namespace {
void setCapability(GLenum capability, GLboolean on)
{
    if (on)
        glEnable(capability);
    else
        glDisable(capability);
}
}

GLClockwiseUnlitScope::GLClockwiseUnlitScope(bool lit, bool depthTestOff)
    : lit(lit), depthTestOff(depthTestOff), frontFace(GL_CCW), lightingWasOn(GL_FALSE), depthTestWasOn(GL_FALSE)
{
    glGetIntegerv(GL_FRONT_FACE, &frontFace);
    if (depthTestOff) {
        depthTestWasOn = glIsEnabled(GL_DEPTH_TEST);
        glDisable(GL_DEPTH_TEST);
    }
    glFrontFace(GL_CW);
    if (lit) {
        lightingWasOn = glIsEnabled(GL_LIGHTING);
        glDisable(GL_LIGHTING);
    }
}

GLClockwiseUnlitScope::~GLClockwiseUnlitScope()
{
    glFrontFace(static_cast<GLenum>(frontFace));
    if (depthTestOff)
        setCapability(GL_DEPTH_TEST, depthTestWasOn);
    if (lit)
        setCapability(GL_LIGHTING, lightingWasOn);
}
