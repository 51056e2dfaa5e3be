#ifndef KELVO_VIEWSTATECHECK_H
#define KELVO_VIEWSTATECHECK_H

#include <GL/gl.h>

#include "Pixels.h"

// Leaves the OpenGL state the way a lit 3D scene would: lighting on with no light (whatever it
// draws comes out nearly black), depth test on, blending off with an additive function, texturing
// off, a perspective projection, a moved and turned modelview and a black clear colour.
void leaveLit3DState();

// Expects the flat view of the scenes that are not 3D scenes (white clear colour, ortho -1..1,
// identity modelview, depth test and lighting off, texturing on) with the given blending.
void expectFlatView(bool blend, GLenum source, GLenum destination);

#endif
