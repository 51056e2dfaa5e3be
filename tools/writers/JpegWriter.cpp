#include "JpegWriter.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <stdexcept>

#include "OutputFile.h"

std::string jpegBytes(int width, int height, int components, const std::vector<unsigned char>& pixels, int quality,
                      ChromaSampling chroma)
{
    if (pixels.size() != static_cast<size_t>(width) * height * components)
        throw std::invalid_argument("jpegBytes: pixel count does not match the size");
    // libjpeg's own error handler reports a fault and ends the program, which suits a writer of
    // data made here.
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long length = 0;
    jpeg_mem_dest(&info, &buffer, &length);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (chroma == ChromaSampling::full) {
        for (int c = 0; c < info.num_components; ++c) {
            info.comp_info[c].h_samp_factor = 1;
            info.comp_info[c].v_samp_factor = 1;
        }
    }
    jpeg_start_compress(&info, TRUE);
    const size_t stride = static_cast<size_t>(width) * components;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<unsigned char*>(pixels.data() + info.next_scanline * stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(buffer), length);
    std::free(buffer);
    return bytes;
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
