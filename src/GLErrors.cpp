#include "GLErrors.h"

#include <GL/gl.h>

void clearPendingGLErrors()
{
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
}
