// The bare reference for the engine's first frame: the 640×480 double-buffered SDL 1.2 OpenGL
// window the program opens (desktop depth, the same colour, alpha and accumulation sizes), one
// clear, one swap, exit.
#include <GL/gl.h>
#include <SDL/SDL.h>

#include <initializer_list>

int main(int, char**)
{
    if (SDL_Init(SDL_INIT_VIDEO) < 0)
        return 1;
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    const int depth = info ? info->vfmt->BitsPerPixel : 24;
    const int colourSize = depth >= 24 ? 8 : 5;
    const int alphaSize = depth >= 24 ? 8 : 0;
    for (SDL_GLattr colour : {SDL_GL_RED_SIZE, SDL_GL_GREEN_SIZE, SDL_GL_BLUE_SIZE, SDL_GL_ACCUM_RED_SIZE,
                              SDL_GL_ACCUM_GREEN_SIZE, SDL_GL_ACCUM_BLUE_SIZE})
        SDL_GL_SetAttribute(colour, colourSize);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, alphaSize);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, alphaSize);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (!SDL_SetVideoMode(640, 480, depth, SDL_OPENGL)) {
        SDL_Quit();
        return 1;
    }
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SDL_GL_SwapBuffers();
    SDL_Quit();
    return 0;
}
