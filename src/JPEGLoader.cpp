#include "JPEGLoader.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include "Log.h"
#include "ResourceFile.h"
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

// Scans a progressive file may have, as TurboJPEG allows. Each scan walks every block of the
// image again, so a file of thousands of tiny scans would take many seconds to decode.
const int MAXIMUM_SCANS = 500;

// Replaces the library's error_exit, which would end the process. Never returns to the library.
void jpegErrorExit(j_common_ptr info)
{
    JPEGErrorManager* manager = reinterpret_cast<JPEGErrorManager*>(info->err);
    manager->standard.format_message(info, manager->message);
    std::longjmp(manager->jumpTarget, 1);
}

// Replaces the library's output_message, which writes to standard error: its warnings (a file
// cut short, corrupt data) go to the engine log instead.
void jpegOutputMessage(j_common_ptr info)
{
    char text[JMSG_LENGTH_MAX];
    info->err->format_message(info, text);
    try {
        KELVO_LOG(LogLevel::warning) << "JPEGLoader() - " << text << "." << logEnd;
    } catch (...) {
        // Nothing may unwind through the library's C frames; the warning is lost.
    }
}

// Called by the library as it reads; stops a file with more scans than the limit.
void jpegProgress(j_common_ptr info)
{
    if (!info->is_decompressor)
        return;
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number <= MAXIMUM_SCANS)
        return;
    JPEGErrorManager* manager = reinterpret_cast<JPEGErrorManager*>(info->err);
    std::snprintf(manager->message, sizeof manager->message, "too many scans, more than %d", MAXIMUM_SCANS);
    std::longjmp(manager->jumpTarget, 1);
}

// Fewest bits of Huffman-coded data that one 8 × 8 block of a complete file takes: in a
// sequential scan a DC difference and an end-of-block code of at least one bit each; in a
// progressive file at least the DC difference of its first DC scan.
const uint64_t SEQUENTIAL_BITS_PER_BLOCK = 2;
const uint64_t PROGRESSIVE_BITS_PER_BLOCK = 1;
// A file is refused only when its data is under this fraction of that least amount: the library
// pads a file cut short with grey, which is right for a cut file with much of its data, but a few
// bytes declaring a picture of millions of blocks would cost seconds and hundreds of MB.
const uint64_t SHORTFALL_FACTOR = 8;

// Whether the data left after the first scan header (bytes) is far too little for the blocks the
// header declares. Arithmetic-coded data can code a flat block in a fraction of a bit, so no such
// bound holds for it and it is never refused here.
bool farTooShort(const jpeg_decompress_struct& info, uint64_t bytes)
{
    if (info.arith_code)
        return false;
    uint64_t blocks = 0;
    for (int c = 0; c < info.num_components; ++c)
        blocks += static_cast<uint64_t>(info.comp_info[c].width_in_blocks) * info.comp_info[c].height_in_blocks;
    const uint64_t leastBits = blocks * (info.progressive_mode ? PROGRESSIVE_BITS_PER_BLOCK : SEQUENTIAL_BITS_PER_BLOCK);
    return bytes * 8 * SHORTFALL_FACTOR < leastBits;
}

enum DecodeResult { decoded, libraryError, tooLarge, tooShort, outOfMemory };

// Everything the decoder touches lives here, outside the frame that calls setjmp, so nothing the
// jump skips needs destroying and no variable changed after setjmp is lost by it.
struct DecodeState {
    jpeg_decompress_struct info;
    JPEGErrorManager error;
    jpeg_progress_mgr progress;
    unsigned char* pixels;  // C allocator; handed to the loader on success, freed otherwise
    JDIMENSION width;
    JDIMENSION height;
    int components;
    bool greyscale;
};

// Plain C from here to the end: no object with a destructor, no exception. On any result but
// decoded the decompressor is destroyed and no pixel buffer remains.
DecodeResult decode(DecodeState* state, const std::vector<unsigned char>& file, bool greyscale)
{
    state->info.err = jpeg_std_error(&state->error.standard);
    state->error.standard.error_exit = jpegErrorExit;
    state->error.standard.output_message = jpegOutputMessage;
    state->progress.progress_monitor = jpegProgress;
    if (setjmp(state->error.jumpTarget)) {
        jpeg_destroy_decompress(&state->info);
        std::free(state->pixels);
        state->pixels = nullptr;
        return libraryError;
    }
    jpeg_create_decompress(&state->info);
    state->info.progress = &state->progress;
    jpeg_mem_src(&state->info, file.data(), static_cast<unsigned long>(file.size()));
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
    // Checked before the library allocates anything for the picture or decodes a scan.
    if (farTooShort(state->info, state->info.src->bytes_in_buffer)) {
        jpeg_destroy_decompress(&state->info);
        return tooShort;
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

// The scans of the file, counted from its markers without decoding: each start-of-scan segment
// and the entropy-coded data after it, up to the end-of-image marker. A file of more scans than
// the limit is refused before the library spends seconds on them; the progress monitor above
// stops the library itself should its reading of a damaged file differ.
int countScans(const std::vector<unsigned char>& bytes)
{
    const size_t size = bytes.size();
    int scans = 0;
    size_t at = 2;  // past the start-of-image marker
    while (at + 1 < size) {
        if (bytes[at] != 0xFF) {
            ++at;
            continue;
        }
        const unsigned char marker = bytes[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0xD9)  // end of image
            break;
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        if (at + 3 >= size)
            break;
        const size_t length = static_cast<size_t>(bytes[at + 2]) << 8 | bytes[at + 3];
        at += 2 + length;
        if (marker != 0xDA)
            continue;
        ++scans;
        // Entropy-coded data ends at the first marker that is no stuffed byte or restart.
        while (at + 1 < size && !(bytes[at] == 0xFF && bytes[at + 1] != 0x00 &&
                                  (bytes[at + 1] < 0xD0 || bytes[at + 1] > 0xD7)))
            ++at;
    }
    return scans;
}

// The message of the loader's exception for an image that cannot be opened, logged with the
// resource loader's message (cause).
std::string openFailure(const std::string& file, const std::string& cause)
{
    // Where the file was looked for and why it cannot be read, as the timeline and scene readers
    // say it; a file that turned readable since it failed to open is named all the same.
    const std::string path = ResourceLoader::joinedPath(file);
    std::string where = ResourceLoader::describeUnreadable(path);
    if (where.empty())
        where = "File \"" + path + "\" could not be opened.";
    std::string message =
        "JPEGLoader() - Can't open jpeg resource \"" + file + "\". Failed to open the resource. " + where;
    KELVO_LOG(LogLevel::error) << message << " " << ResourceLoaderException(cause).getMessage() << logEnd;
    return message;
}
}

Result<JPEGLoader> JPEGLoader::load(const std::string& file, bool greyscale)
{
    DecodeResult result;
    std::unique_ptr<DecodeState> state(new DecodeState());
    size_t fileSize = 0;  // bytes
    {
        std::memset(state.get(), 0, sizeof(DecodeState));
        std::vector<unsigned char> bytes;
        bool read;
        {
            Result<ResourceFile> input = ResourceLoader::readResourceFile(file);
            if (!input)
                return Failure{openFailure(file, input.failure())};
            read = input->readToEnd(bytes);
        }
        fileSize = bytes.size();
        if (!read) {
            std::snprintf(state->error.message, sizeof state->error.message, "reading the file failed");
            result = libraryError;
        } else if (countScans(bytes) > MAXIMUM_SCANS) {
            std::snprintf(state->error.message, sizeof state->error.message, "too many scans, more than %d",
                          MAXIMUM_SCANS);
            result = libraryError;
        } else {
            result = decode(state.get(), bytes, greyscale);
        }
    }

    std::string why;  // the library's message of a failed decode, or the loader's own
    switch (result) {
    case decoded:
        return JPEGLoader(Pixels(state->pixels), static_cast<uint16_t>(state->width),
                          static_cast<uint16_t>(state->height), static_cast<uint16_t>(state->components),
                          state->greyscale);
    case outOfMemory:
        return Failure{"JPEGLoader() - Out of memory while allocating texture data."};
    case tooLarge:
        why = "Image of " + ::toString(static_cast<int>(state->width)) + "x" +
              ::toString(static_cast<int>(state->height)) + " pixels is larger than the limit of " +
              ::toString(static_cast<int>(maximumPixels)) + " pixels";
        break;
    case tooShort:
        why = "File of " + std::to_string(fileSize) + " bytes is far too short for an image of " +
              ::toString(static_cast<int>(state->width)) + "x" + ::toString(static_cast<int>(state->height)) +
              " pixels";
        break;
    case libraryError:
        why = state->error.message;
        break;
    }
    std::string message = "JPEGLoader() - Error while loading \"" + file + "\": " + why + ".";
    KELVO_LOG(LogLevel::error) << message << logEnd;
    return Failure{std::move(message)};
}

JPEGLoader::JPEGLoader(const std::string& file, bool greyscale)
    : JPEGLoader(load(file, greyscale).orThrow<JPEGLoaderException>())
{
}

JPEGLoader::JPEGLoader(Pixels pixels, uint16_t width, uint16_t height, uint16_t components, bool greyscale)
    : width(width), height(height), components(components),
      size(static_cast<uint32_t>(static_cast<uint64_t>(width) * height * components)), pixels(std::move(pixels)),
      greyscale(greyscale)
{
}

JPEGLoader::~JPEGLoader() = default;
