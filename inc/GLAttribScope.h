#ifndef KELVO_GLATTRIBSCOPE_H
#define KELVO_GLATTRIBSCOPE_H

#include <GL/gl.h>

// Saves the server attribute groups in mask (glPushAttrib) for the block it lives in and
// restores them on every way out. One OpenGL call at each end: fit for the per-frame path.
class GLAttribScope {
public:
    explicit GLAttribScope(GLbitfield mask);
    ~GLAttribScope();
    GLAttribScope(const GLAttribScope&) = delete;
    GLAttribScope& operator=(const GLAttribScope&) = delete;
};

#endif
