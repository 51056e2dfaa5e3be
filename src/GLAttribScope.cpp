#include "GLAttribScope.h"

GLAttribScope::GLAttribScope(GLbitfield mask)
{
    glPushAttrib(mask);
}

GLAttribScope::~GLAttribScope()
{
    glPopAttrib();
}
