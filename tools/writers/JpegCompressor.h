#ifndef KELVO_JPEGCOMPRESSOR_H
#define KELVO_JPEGCOMPRESSOR_H

// jpeglib.h needs size_t and FILE declared before it.
#include <cstdio>
#include <functional>
#include <jpeglib.h>
#include <string>

// libjpeg's compressor, writing a JPEG file image to memory. The constructor sets the picture's
// size and colour space (components: 1 grey, 3 RGB, 4 CMYK) and libjpeg's defaults; settings()
// changes the rest (quality, sampling, a scan script) before compress(). libjpeg's own error
// handler reports a fault and ends the program, which suits a writer of data made here.
class JpegCompressor {
public:
    JpegCompressor(int width, int height, int components);
    ~JpegCompressor();
    JpegCompressor(const JpegCompressor&) = delete;
    JpegCompressor& operator=(const JpegCompressor&) = delete;

    jpeg_compress_struct& settings() { return info; }

    // Compresses the rows row(0), row(1), ... top row first, each of width × components bytes,
    // and returns the file image. Called once.
    std::string compress(const std::function<const unsigned char*(size_t y)>& row);

private:
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    unsigned char* buffer = nullptr;  // the file image, allocated by libjpeg, freed by the destructor
    unsigned long length = 0;         // bytes in buffer
};

#endif
