#ifndef KELVO_GLENVIRONMENT_H
#define KELVO_GLENVIRONMENT_H

#include <gtest/gtest.h>

// Opens the 640x480 SDL OpenGL window once for a whole test binary, as the program does.
class GLEnvironment : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;
};

// Clears every GL error left pending; returns the first one (GL_NO_ERROR when none).
unsigned int drainGLErrors();

#endif
