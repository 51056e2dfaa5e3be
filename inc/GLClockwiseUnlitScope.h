#ifndef KELVO_GLCLOCKWISEUNLITSCOPE_H
#define KELVO_GLCLOCKWISEUNLITSCOPE_H

#include <GL/gl.h>

// The state a sprite, a character or the sky draws in, for the block the scope lives in: front
// faces wound clockwise and, in a lit scene, lighting off; optionally the depth test off. On
// every way out the state found at the start comes back: the front-face winding, lighting and
// the depth test as they were. OpenGL calls only (a few state queries, no allocation): fit for
// the per-frame path.
class GLClockwiseUnlitScope {
public:
    // lit: the scene draws with lighting on, so lighting is switched off for the block (a scene
    // without lighting is left alone). depthTestOff: the block draws over everything.
    explicit GLClockwiseUnlitScope(bool lit, bool depthTestOff = false);
    ~GLClockwiseUnlitScope();
    GLClockwiseUnlitScope(const GLClockwiseUnlitScope&) = delete;
    GLClockwiseUnlitScope& operator=(const GLClockwiseUnlitScope&) = delete;

private:
    bool lit;
    bool depthTestOff;
    GLint frontFace;           // the winding found: GL_CW or GL_CCW
    GLboolean lightingWasOn;   // read only when lit
    GLboolean depthTestWasOn;  // read only when depthTestOff
};

#endif
