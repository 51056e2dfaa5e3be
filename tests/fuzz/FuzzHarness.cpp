// libFuzzer harness of one reader, chosen at build time by KELVO_FUZZ_TARGET. Built by
// tools/fuzz.sh; see the README.
#include <SDL/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "FuzzTarget.h"
#include "Log.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Readers log every refusal; at level 0 only errors are written (tools/fuzz.sh closes the
    // standard output of the run as well).
    Log::getInstance()->setLevel(LogLevel::error);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // Texture uploads and the first frame a loaded scene draws need a current OpenGL context: one
    // window for the whole run.
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || !SDL_SetVideoMode(64, 64, 0, SDL_OPENGL)) {
        std::fprintf(stderr, "fuzz harness: no OpenGL window: %s\n", SDL_GetError());
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FuzzOutcome outcome = runFuzzTarget(KELVO_FUZZ_TARGET, data, size);
    if (!outcome.released) {
        std::fprintf(stderr, "fuzz harness: the reader left its file open\n");
        std::abort();
    }
    return 0;
}
