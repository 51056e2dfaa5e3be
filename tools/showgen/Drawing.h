#ifndef SHOWGEN_DRAWING_H
#define SHOWGEN_DRAWING_H

#include <functional>
#include <vector>

#include "Canvas.h"

// Picture sizes in pixels. Every side is a power of two: the engine uploads pictures through GLU,
// which rescales any other size, blurring it, and leaves the last row black when it widens one.
const int SPRITE_SIZE = 256;   // square sprite pictures
const int BANNER_WIDTH = 512;  // wide sprite pictures, SPRITE_SIZE high
const int FULL_SIZE = 512;     // square pictures stretched over the whole window

// How a picture shows on the 640 × 480 window, as width over height.
// A picture stretched over the whole -1..1 view.
const double FULL_VIEW = 4.0 / 3.0;
// A sprite picture: its longer side spans one view unit and the view is 4:3, so a picture of
// width × height pixels shows 4/3 times wider than its own proportions.
double spriteAspect(int width, int height);
// The local units of a sprite picture (Canvas::view with its sprite aspect).
Place spriteView(const Canvas& canvas);

const double OUTLINE = 0.025;  // local units

// A shape with an outline: make(OUTLINE) is painted in INK, then make(0) in fill. make(grow) gives
// the shape enlarged by grow on every side.
void outlined(Canvas& canvas, const Place& place, const std::function<Shape(double grow)>& make, Color fill,
              double line = OUTLINE);

// The common outlined shapes.
void outlinedEllipse(Canvas& canvas, const Place& place, Vec2 centre, double radiusX, double radiusY, Color fill,
                     double degrees = 0.0);
void outlinedBox(Canvas& canvas, const Place& place, Vec2 centre, double width, double height, Color fill);
void outlinedCapsule(Canvas& canvas, const Place& place, Vec2 from, Vec2 to, double radius, Color fill);
void outlinedPolygon(Canvas& canvas, const Place& place, const std::vector<Vec2>& corners, Color fill);

// A polygon moved outwards from its centroid by about grow: good enough to outline convex shapes.
Shape grownPolygon(const std::vector<Vec2>& corners, double grow);

// The pictures make(0), make(1), ... make(count - 1) of an animation.
template <typename Make>
std::vector<Canvas> drawFrames(int count, Make make)
{
    std::vector<Canvas> frames;
    for (int frame = 0; frame < count; ++frame)
        frames.push_back(make(frame));
    return frames;
}

#endif
