#include "Files.h"

#include <jpeglib.h>

#include "Canvas.h"
#include "OutputFile.h"

void writeJpeg(const std::string& path, const Canvas& canvas, int quality)
{
    OutputFile file(path);
    std::vector<unsigned char> rgb = canvas.rgbBytes();

    // libjpeg's own error handler reports a fault and ends the program, which suits a generator.
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file.stream());
    info.image_width = static_cast<JDIMENSION>(canvas.width());
    info.image_height = static_cast<JDIMENSION>(canvas.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    const size_t stride = static_cast<size_t>(canvas.width()) * 3;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = rgb.data() + info.next_scanline * stride;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    file.close();
}
