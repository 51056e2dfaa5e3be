#ifndef KELVO_PIXELS_H
#define KELVO_PIXELS_H

#include <string>

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

#endif
