#include "GLMatrixScope.h"

GLMatrixScope::GLMatrixScope() : mode(GL_MODELVIEW), selectsMode(false)
{
    glPushMatrix();
}

GLMatrixScope::GLMatrixScope(GLenum mode) : mode(mode), selectsMode(true)
{
    glMatrixMode(mode);
    glPushMatrix();
}

GLMatrixScope::~GLMatrixScope()
{
    if (selectsMode)
        glMatrixMode(mode);
    glPopMatrix();
}
