#ifndef KELVO_JPEGLOADER_H
#define KELVO_JPEGLOADER_H

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "Exception.h"

class JPEGLoaderException : public Exception {
public:
    explicit JPEGLoaderException(const std::string& message);
};

// Decodes one JPEG resource in its constructor into packed rows, top row first: three bytes R, G, B
// a pixel, or one byte of luminance when greyscale output was asked for. Lives as long as its
// caller needs the pixels; the file is released before the constructor returns or throws.
class ResourceFile;

class JPEGLoader {
public:
    // Images above this many pixels are refused before anything is allocated for them.
    static constexpr uint64_t maximumPixels = 64ull * 1024 * 1024;

    JPEGLoader(const std::string& file, bool greyscale);
    // The same without the exception for a file that cannot be opened: then no image (size 0),
    // the same line logged, and openFailure holds what the exception's what() would say. Every
    // other failure throws as above.
    JPEGLoader(const std::string& file, bool greyscale, std::string& openFailure);
    ~JPEGLoader();
    JPEGLoader(const JPEGLoader&) = delete;
    JPEGLoader& operator=(const JPEGLoader&) = delete;

    uint16_t getWidth() const { return width; }
    uint16_t getHeight() const { return height; }
    uint16_t getComponents() const { return components; }  // bytes a pixel: 3 or 1
    uint32_t getSize() const { return size; }               // width × height × components
    const unsigned char* getPixels() const { return pixels.get(); }
    bool isGreyscale() const { return greyscale; }

    std::string getErrorText() const;
    void setErrorText(const std::string& text);

private:
    // Reads and decodes the opened input; throws JPEGLoaderException when that fails.
    void load(ResourceFile& input, const std::string& file, bool greyscale);

    struct FreeDeleter {
        void operator()(unsigned char* p) const { std::free(p); }
    };

    uint16_t width;
    uint16_t height;
    uint16_t components;
    uint32_t size;
    std::unique_ptr<unsigned char, FreeDeleter> pixels;  // size bytes from the C allocator
    bool greyscale;
    std::string errorText;  // the library's message of a failed decode
};

#endif
