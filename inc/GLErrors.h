#ifndef KELVO_GLERRORS_H
#define KELVO_GLERRORS_H

// Takes the OpenGL errors left pending by earlier calls, so that the error a step checks for
// afterwards is its own. Bounded at 16: a lost context keeps reporting one.
void clearPendingGLErrors();

#endif
