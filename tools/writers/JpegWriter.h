#ifndef KELVO_JPEGWRITER_H
#define KELVO_JPEGWRITER_H

#include <string>
#include <vector>

// How finely the colour of an RGB picture is kept: at every pixel, or once for each 2×2 block of
// pixels (libjpeg's default, smaller files). Grey and CMYK pictures are always kept at every pixel.
enum class ChromaSampling { full, half };

// A JPEG file image compressed by libjpeg from packed rows, top row first. components: 1 for
// greyscale, 3 for RGB, 4 for CMYK; quality 0..100. With full sampling, flat 8×8 blocks come back
// within a few levels of what went in.
std::string jpegBytes(int width, int height, int components, const std::vector<unsigned char>& pixels,
                      int quality = 100, ChromaSampling chroma = ChromaSampling::full);

// Writes jpegBytes(...) to path (OutputFile::save).
void writeJpeg(const std::string& path, int width, int height, int components, const std::vector<unsigned char>& pixels,
               int quality = 100, ChromaSampling chroma = ChromaSampling::full);

// Packed rows of one colour: width × height pixels of the given component values.
std::vector<unsigned char> solidPixels(int width, int height, const std::vector<unsigned char>& colour);

#endif
