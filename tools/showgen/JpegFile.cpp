#include "Files.h"

#include <jpeglib.h>

#include "Canvas.h"
#include "OutputFile.h"

namespace {
// Compresses rows of components bytes a pixel (3: RGB, 1: grey), top row first.
void compress(const std::string& path, const std::vector<unsigned char>& pixels, int width, int height, int components,
              int quality)
{
    OutputFile file(path);

    // libjpeg's own error handler reports a fault and ends the program, which suits a generator.
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file.stream());
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    const size_t stride = static_cast<size_t>(width) * components;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<unsigned char*>(pixels.data()) + info.next_scanline * stride;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    file.close();
}
}

void writeJpeg(const std::string& path, const Canvas& canvas, int quality)
{
    compress(path, canvas.rgbBytes(), canvas.width(), canvas.height(), 3, quality);
}

void writeGreyJpeg(const std::string& path, const Canvas& canvas, int quality)
{
    compress(path, canvas.greyBytes(), canvas.width(), canvas.height(), 1, quality);
}
