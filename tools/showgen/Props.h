#ifndef SHOWGEN_PROPS_H
#define SHOWGEN_PROPS_H

#include "Canvas.h"

// The intro's props, each drawn in local units within -1..1, for animation frame frame (0, 1, ...).
void drawDrink(Canvas& canvas, const Place& place, int frame);      // a glass of sima with bubbles
void drawSpill(Canvas& canvas, const Place& place, int frame);      // a tipping bottle pouring out
void drawHammer(Canvas& canvas, const Place& place, int frame);     // a hammer swinging down
void drawBoat(Canvas& canvas, const Place& place, int frame);       // a sailing boat rocking on waves
void drawMoustache(Canvas& canvas, const Place& place, int frame);  // a moustache twitching

#endif
