#ifndef KELVO_GLMATRIXSCOPE_H
#define KELVO_GLMATRIXSCOPE_H

#include <GL/gl.h>

// Pushes one matrix stack for the block it lives in and pops that stack on every way out, so a
// drawing step that throws leaves the stack as it found it. Makes one OpenGL call at each end
// and nothing else: fit for the per-frame path.
class GLMatrixScope {
public:
    // The stack of the current matrix mode; the same mode must be current when the scope ends.
    GLMatrixScope();
    // Selects mode and pushes its stack. The pop selects mode again first, so code that switches
    // the mode in between still pops this stack; mode stays selected afterwards.
    explicit GLMatrixScope(GLenum mode);
    ~GLMatrixScope();
    GLMatrixScope(const GLMatrixScope&) = delete;
    GLMatrixScope& operator=(const GLMatrixScope&) = delete;

private:
    GLenum mode;      // the mode the pop selects; unused while selectsMode is false
    bool selectsMode;
};

#endif
