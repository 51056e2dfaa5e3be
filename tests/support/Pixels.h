#ifndef KELVO_PIXELS_H
#define KELVO_PIXELS_H

#include <string>
#include <vector>

// One pixel of the frame being drawn, read back from the back buffer.
struct Pixel {
    int r, g, b;
};

// x, y from the lower-left corner of the 640 × 480 window; the centre by default.
Pixel readPixel(int x = 320, int y = 240);

// Whether two colours differ by at most tolerance in every component (JPEG keeps solid colours
// within a few levels).
bool closeColour(const Pixel& actual, const Pixel& expected, int tolerance = 8);
bool nearColour(const Pixel& actual, int r, int g, int b, int tolerance = 6);

// "(r, g, b)", for failure messages.
std::string describe(const Pixel& p);

// A window pixel (from the lower-left corner) and the colour expected there.
struct Probe {
    int x, y;
    Pixel colour;
};
// Expects each probe's colour within 10 levels, naming what and the place where one differs.
void expectProbes(const std::vector<Probe>& probes, const std::string& what);

#endif
