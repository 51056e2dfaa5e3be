#include "GLEnvironment.h"

#include <SDL/SDL.h>
#include <GL/gl.h>
#include <cstdlib>

void GLEnvironment::SetUp()
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO), 0) << SDL_GetError();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    ASSERT_NE(SDL_SetVideoMode(640, 480, 0, SDL_OPENGL), nullptr) << SDL_GetError();
    glViewport(0, 0, 640, 480);
}

void GLEnvironment::TearDown()
{
    SDL_Quit();
}

unsigned int drainGLErrors()
{
    GLenum first = glGetError();
    if (first != GL_NO_ERROR)
        while (glGetError() != GL_NO_ERROR) {
        }
    return first;
}
