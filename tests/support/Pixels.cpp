#include "Pixels.h"

#include <gtest/gtest.h>

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

void expectProbes(const std::vector<Probe>& probes, const std::string& what)
{
    for (const Probe& p : probes) {
        const Pixel got = readPixel(p.x, p.y);
        EXPECT_TRUE(closeColour(got, p.colour, 10))
            << what << " at (" << p.x << ", " << p.y << "): " << describe(got) << " instead of " << describe(p.colour);
    }
}
