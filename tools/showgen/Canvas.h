#ifndef SHOWGEN_CANVAS_H
#define SHOWGEN_CANVAS_H

#include <vector>

#include "Shape.h"

// A colour with components from 0 to 1.
struct Color {
    double r = 1.0;
    double g = 1.0;
    double b = 1.0;
};

// The colour of a 0xrrggbb number.
Color hex(unsigned rgb);
Color mix(Color from, Color to, double amount);

const Color WHITE{1.0, 1.0, 1.0};
const Color INK{0.12, 0.1, 0.14};  // the near-black of every outline

// The show's bright colours, shared by its titles and pages.
const Color ORANGE = hex(0xf28c28);
const Color PINK = hex(0xe8467c);
const Color BLUE = hex(0x3fa7d6);
const Color GREEN = hex(0x59b548);
const Color SHADOW = hex(0x4a3f5c);  // under lettering

// Where local drawing units land on a canvas: an affine map from the local plane (y up) to pixel
// positions (y down). Each derived place applies its change in the local units of its parent.
class Place {
public:
    Place moved(Vec2 offset) const;
    Place scaled(double factor) const;
    Place scaled(double factorX, double factorY) const;
    Place turned(double degrees) const;
    Place mirrored() const { return scaled(-1.0, 1.0); }

    Vec2 toPixel(Vec2 local) const;
    Vec2 toLocal(Vec2 pixel) const;

private:
    friend class Canvas;
    Place(double a, double b, double c, double d, double e, double f);

    // pixel.x = a·x + b·y + c, pixel.y = d·x + e·y + f
    double a, b, c, d, e, f;
};

// An RGB picture, top row first, painted with anti-aliased shapes.
class Canvas {
public:
    Canvas(int width, int height, Color background = WHITE);

    int width() const { return w; }
    int height() const { return h; }

    // Local units for a picture that shows screenAspect times as wide as high on the window: y runs
    // from -1 (bottom) to 1 (top), x from -screenAspect to screenAspect, so that equal local lengths
    // are equal on screen whatever the picture's pixel proportions.
    Place view(double screenAspect) const;

    // Covers the shape with colour; opacity 0..1 mixes it with what lies beneath.
    void paint(const Shape& shape, const Place& place, Color colour, double opacity = 1.0);
    // A top-to-bottom blend of two colours over the whole canvas.
    void gradient(Color top, Color bottom);
    // Every component c becomes 1 - c.
    void invert();
    // The picture turned by half a turn: the top row last and the left column right, each reversed.
    void turnHalf();

    // Packed 8-bit RGB rows, top row first.
    std::vector<unsigned char> rgbBytes() const;
    // Packed 8-bit grey rows, top row first: each pixel's mean component.
    std::vector<unsigned char> greyBytes() const;

private:
    int w, h;  // pixels
    std::vector<Color> pixels;
};

#endif
