#ifndef KELVO_JPEGWRITER_H
#define KELVO_JPEGWRITER_H

#include <string>
#include <vector>

// A JPEG file image compressed by libjpeg from packed rows, top row first. components: 1 for
// greyscale, 3 for RGB, 4 for CMYK. Every component is sampled at full resolution, so flat 8×8
// blocks come back within a few levels of what went in.
std::string jpegBytes(int width, int height, int components, const std::vector<unsigned char>& pixels,
                      int quality = 100);

// Writes jpegBytes(...) to path.
void writeJpeg(const std::string& path, int width, int height, int components, const std::vector<unsigned char>& pixels,
               int quality = 100);

// Packed rows of one colour: width × height pixels of the given component values.
std::vector<unsigned char> solidPixels(int width, int height, const std::vector<unsigned char>& colour);

#endif
