#ifndef SHOWGEN_CHARACTERS_H
#define SHOWGEN_CHARACTERS_H

#include "Canvas.h"

// The show's two talking characters, Ki and Ro, drawn in local units around their middle: feet
// at y = -1, the top of the head below y = 1, everything within x = -0.65 .. 0.65.

enum class Mouth { Closed, Small, Wide, Round };

struct Pose {
    Mouth mouth = Mouth::Closed;
    bool blink = false;
    double look = 0.0;  // where the pupils turn, -1 (their left on screen) .. 1 (right)
    double lift = 0.0;  // how far the whole figure is raised (local units)
    bool armsUp = false;
};

struct Palette {
    Color body;
    Color belly;
    Color detail;  // Ki's tuft, beak and feet; Ro's moustache and feet
};

extern const Palette KI_COLOURS;
extern const Palette RO_COLOURS;

// Where a character size times its own units stands with its feet at feet (local units of place).
Place standing(const Place& place, Vec2 feet, double size);

void drawKi(Canvas& canvas, const Place& place, const Pose& pose, const Palette& colours = KI_COLOURS);
void drawRo(Canvas& canvas, const Place& place, const Pose& pose, const Palette& colours = RO_COLOURS);

// A pair of eyes, the right one at eye (the left one mirrored), with the pose's look and blink.
void drawEyes(Canvas& canvas, const Place& place, Vec2 eye, double radiusX, double radiusY, const Pose& pose);
// A mouth of the given width centred on centre.
void drawMouth(Canvas& canvas, const Place& place, Vec2 centre, double width, Mouth mouth);

#endif
