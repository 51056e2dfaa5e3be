#include "JpegWriter.h"

#include <stdexcept>

#include "JpegCompressor.h"
#include "OutputFile.h"

std::string jpegBytes(int width, int height, int components, const std::vector<unsigned char>& pixels, int quality,
                      ChromaSampling chroma)
{
    if (pixels.size() != static_cast<size_t>(width) * height * components)
        throw std::invalid_argument("jpegBytes: pixel count does not match the size");
    JpegCompressor compressor(width, height, components);
    jpeg_compress_struct& info = compressor.settings();
    jpeg_set_quality(&info, quality, TRUE);
    if (chroma == ChromaSampling::full) {
        for (int c = 0; c < info.num_components; ++c) {
            info.comp_info[c].h_samp_factor = 1;
            info.comp_info[c].v_samp_factor = 1;
        }
    }
    const size_t stride = static_cast<size_t>(width) * components;
    return compressor.compress([&](size_t y) { return pixels.data() + y * stride; });
}

void writeJpeg(const std::string& path, int width, int height, int components, const std::vector<unsigned char>& pixels,
               int quality, ChromaSampling chroma)
{
    OutputFile::save(path, jpegBytes(width, height, components, pixels, quality, chroma));
}

std::vector<unsigned char> solidPixels(int width, int height, const std::vector<unsigned char>& colour)
{
    std::vector<unsigned char> pixels;
    pixels.reserve(static_cast<size_t>(width) * height * colour.size());
    for (int i = 0; i < width * height; ++i)
        pixels.insert(pixels.end(), colour.begin(), colour.end());
    return pixels;
}
