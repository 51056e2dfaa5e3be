#ifndef SHOWGEN_BLOCKFONT_H
#define SHOWGEN_BLOCKFONT_H

#include <string>

#include "Canvas.h"

// Capital letters, digits and a little punctuation drawn as 5 × 7 grids of square blocks.
// cell is the side of one block in local units; letters are one empty column apart.

// Width in local units of text set with the given cell.
double textWidth(const std::string& text, double cell);

// Draws text centred on centre. Characters the font lacks are drawn as blanks.
void drawText(Canvas& canvas, const Place& place, const std::string& text, Vec2 centre, double cell, Color colour);

#endif
