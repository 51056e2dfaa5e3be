#include "JpegCompressor.h"

#include <cstdlib>

JpegCompressor::JpegCompressor(int width, int height, int components)
{
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &length);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&info);
}

JpegCompressor::~JpegCompressor()
{
    jpeg_destroy_compress(&info);
    std::free(buffer);
}

std::string JpegCompressor::compress(const std::function<const unsigned char*(size_t y)>& row)
{
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        // libjpeg only reads the rows it is given.
        JSAMPROW next = const_cast<unsigned char*>(row(info.next_scanline));
        jpeg_write_scanlines(&info, &next, 1);
    }
    jpeg_finish_compress(&info);
    return std::string(reinterpret_cast<const char*>(buffer), length);
}
