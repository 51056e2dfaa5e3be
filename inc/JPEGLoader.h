#ifndef KELVO_JPEGLOADER_H
#define KELVO_JPEGLOADER_H

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "Exception.h"
#include "Result.h"

class JPEGLoaderException : public Exception {
public:
    explicit JPEGLoaderException(const std::string& message);
};

// One JPEG resource decoded into packed rows, top row first: three bytes R, G, B a pixel, or one
// byte of luminance when greyscale output was asked for. Lives as long as its caller needs the
// pixels; the file is closed again before the picture is returned.
class JPEGLoader {
public:
    // Images above this many pixels are refused before anything is allocated for them.
    static constexpr uint64_t maximumPixels = 64ull * 1024 * 1024;

    // The picture in file (a resource name); for a file that cannot be opened or decoded, or a
    // picture there is no memory for, the message of the JPEGLoaderException the constructor throws,
    // logged as an error.
    static Result<JPEGLoader> load(const std::string& file, bool greyscale);
    // The same, throwing JPEGLoaderException.
    JPEGLoader(const std::string& file, bool greyscale);
    JPEGLoader(JPEGLoader&&) = default;
    ~JPEGLoader();
    JPEGLoader(const JPEGLoader&) = delete;
    JPEGLoader& operator=(const JPEGLoader&) = delete;

    uint16_t getWidth() const { return width; }
    uint16_t getHeight() const { return height; }
    uint16_t getComponents() const { return components; }  // bytes a pixel: 3 or 1
    uint32_t getSize() const { return size; }               // width × height × components
    const unsigned char* getPixels() const { return pixels.get(); }
    bool isGreyscale() const { return greyscale; }

private:
    struct FreeDeleter {
        void operator()(unsigned char* p) const { std::free(p); }
    };
    using Pixels = std::unique_ptr<unsigned char, FreeDeleter>;

    JPEGLoader(Pixels pixels, uint16_t width, uint16_t height, uint16_t components, bool greyscale);

    uint16_t width;
    uint16_t height;
    uint16_t components;
    uint32_t size;
    Pixels pixels;  // size bytes from the C allocator
    bool greyscale;
};

#endif
