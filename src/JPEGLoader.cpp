#include "JPEGLoader.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include "Log.h"
#include "ResourceLoader.h"
#include "StringUtil.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

JPEGLoaderException::JPEGLoaderException(const std::string& message)
{
    addSource("JPEGLoaderException");
    appendMessage(message);
}

namespace {
// Handed to the library as its error manager: the standard manager first, so the library sees an
// ordinary one, then where a fatal error jumps to and the text it leaves behind.
struct JPEGErrorManager {
    jpeg_error_mgr standard;
    jmp_buf jumpTarget;
    char message[JMSG_LENGTH_MAX];
};

// Replaces the library's error_exit, which would end the process. Never returns to the library.
void jpegErrorExit(j_common_ptr info)
{
    JPEGErrorManager* manager = reinterpret_cast<JPEGErrorManager*>(info->err);
    manager->standard.format_message(info, manager->message);
    std::longjmp(manager->jumpTarget, 1);
}

enum DecodeResult { decoded, libraryError, tooLarge, outOfMemory };

// Everything the decoder touches lives here, outside the frame that calls setjmp, so nothing the
// jump skips needs destroying and no variable changed after setjmp is lost by it.
struct DecodeState {
    jpeg_decompress_struct info;
    JPEGErrorManager error;
    unsigned char* pixels;  // C allocator; handed to the loader on success, freed otherwise
    JDIMENSION width;
    JDIMENSION height;
    int components;
    bool greyscale;
};

// Plain C from here to the end: no object with a destructor, no exception. On any result but
// decoded the decompressor is destroyed and no pixel buffer remains.
DecodeResult decode(DecodeState* state, FILE* file, bool greyscale)
{
    state->info.err = jpeg_std_error(&state->error.standard);
    state->error.standard.error_exit = jpegErrorExit;
    if (setjmp(state->error.jumpTarget)) {
        jpeg_destroy_decompress(&state->info);
        std::free(state->pixels);
        state->pixels = nullptr;
        return libraryError;
    }
    jpeg_create_decompress(&state->info);
    jpeg_stdio_src(&state->info, file);
    jpeg_read_header(&state->info, TRUE);
    state->info.out_color_space = greyscale ? JCS_GRAYSCALE : JCS_RGB;
    state->info.output_components = greyscale ? 1 : 3;

    // Default scaling keeps the output the size the header declares.
    state->width = state->info.image_width;
    state->height = state->info.image_height;
    if (static_cast<uint64_t>(state->width) * state->height > JPEGLoader::maximumPixels) {
        jpeg_destroy_decompress(&state->info);
        return tooLarge;
    }

    jpeg_start_decompress(&state->info);
    state->width = state->info.output_width;
    state->height = state->info.output_height;
    state->components = state->info.output_components;
    state->greyscale = state->info.out_color_space == JCS_GRAYSCALE;
    const uint64_t stride = static_cast<uint64_t>(state->width) * state->components;
    if (static_cast<uint64_t>(state->width) * state->height > JPEGLoader::maximumPixels) {
        jpeg_destroy_decompress(&state->info);
        return tooLarge;
    }
    state->pixels = static_cast<unsigned char*>(std::malloc(stride * state->height));
    if (!state->pixels) {
        // Not jpeg_finish_decompress: it would complain about the rows never read.
        jpeg_destroy_decompress(&state->info);
        return outOfMemory;
    }
    while (state->info.output_scanline < state->info.output_height) {
        JSAMPROW row = state->pixels + stride * state->info.output_scanline;
        // A stdio source never suspends; should it, finishing below reports the missing rows.
        if (jpeg_read_scanlines(&state->info, &row, 1) == 0)
            break;
    }
    jpeg_finish_decompress(&state->info);
    jpeg_destroy_decompress(&state->info);
    return decoded;
}

// Releases the resource file when it goes, on every way out of the constructor.
class ResourceFileRelease {
public:
    explicit ResourceFileRelease(const std::string& name) : name(name) {}
    ~ResourceFileRelease()
    {
        try {
            ResourceLoader::getInstance()->releaseResourceFile(name);
        } catch (const Exception&) {
            // Logged by the resource loader; the file it names was never held.
        }
    }
    ResourceFileRelease(const ResourceFileRelease&) = delete;
    ResourceFileRelease& operator=(const ResourceFileRelease&) = delete;

private:
    std::string name;
};
}

JPEGLoader::JPEGLoader(const std::string& file, bool greyscale)
    : width(0), height(0), components(0), size(0), greyscale(false)
{
    FILE* input = nullptr;
    try {
        input = ResourceLoader::getInstance()->readResourceFile(file);
    } catch (const Exception& e) {
        std::string message =
            "JPEGLoader() - Can't open jpeg resource \"" + file + "\". Failed to open the resource. ";
        KELVO_LOG(0) << message << e.getMessage() << logEnd;
        throw JPEGLoaderException(message);
    }

    DecodeResult result;
    std::unique_ptr<DecodeState> state(new DecodeState());
    {
        ResourceFileRelease release(file);
        std::memset(state.get(), 0, sizeof(DecodeState));
        result = decode(state.get(), input, greyscale);
    }

    switch (result) {
    case decoded:
        break;
    case outOfMemory:
        throw JPEGLoaderException("JPEGLoader() - Out of memory while allocating texture data.");
    case tooLarge:
        setErrorText("Image of " + ::toString(static_cast<int>(state->width)) + "x" +
                     ::toString(static_cast<int>(state->height)) + " pixels is larger than the limit of " +
                     ::toString(static_cast<int>(maximumPixels)) + " pixels");
        break;
    case libraryError:
        setErrorText(state->error.message);
        break;
    }
    if (result != decoded) {
        std::string message = "JPEGLoader() - Error while loading \"" + file + ": " + errorText + ".";
        KELVO_LOG(0) << message << logEnd;
        throw JPEGLoaderException(message);
    }

    pixels.reset(state->pixels);
    width = static_cast<uint16_t>(state->width);
    height = static_cast<uint16_t>(state->height);
    components = static_cast<uint16_t>(state->components);
    size = static_cast<uint32_t>(static_cast<uint64_t>(state->width) * state->height * state->components);
    this->greyscale = state->greyscale;
}

JPEGLoader::~JPEGLoader() = default;

std::string JPEGLoader::getErrorText() const
{
    return errorText;
}

void JPEGLoader::setErrorText(const std::string& text)
{
    errorText = text;
}
