#ifndef KELVO_GLCLOCKWISEUNLITSCOPE_H
#define KELVO_GLCLOCKWISEUNLITSCOPE_H

// The state a sprite, a character or the sky draws in, for the block the scope lives in: front
// faces wound clockwise and, in a lit scene, lighting off; optionally the depth test off. On
// every way out the scene's own state comes back: counter-clockwise front faces, lighting on
// again where the scene has it, and the depth test on where it was switched off. OpenGL calls
// only: fit for the per-frame path.
class GLClockwiseUnlitScope {
public:
    // lit: the scene draws with lighting on. depthTestOff: the block draws over everything.
    explicit GLClockwiseUnlitScope(bool lit, bool depthTestOff = false);
    ~GLClockwiseUnlitScope();
    GLClockwiseUnlitScope(const GLClockwiseUnlitScope&) = delete;
    GLClockwiseUnlitScope& operator=(const GLClockwiseUnlitScope&) = delete;

private:
    bool lit;
    bool depthTestOff;
};

#endif
