#include "Pixels.h"

#include <GL/gl.h>

#include <cstdlib>

Pixel readPixel(int x, int y)
{
    unsigned char rgba[4] = {0, 0, 0, 0};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return Pixel{rgba[0], rgba[1], rgba[2]};
}

bool closeColour(const Pixel& actual, const Pixel& expected, int tolerance)
{
    return std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
           std::abs(actual.b - expected.b) <= tolerance;
}

bool nearColour(const Pixel& actual, int r, int g, int b, int tolerance)
{
    return closeColour(actual, Pixel{r, g, b}, tolerance);
}

std::string describe(const Pixel& p)
{
    return "(" + std::to_string(p.r) + ", " + std::to_string(p.g) + ", " + std::to_string(p.b) + ")";
}
