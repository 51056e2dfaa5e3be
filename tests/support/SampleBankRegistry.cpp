#include "SampleBankRegistry.h"

#include <SDL/SDL_mixer.h>

#include "SoundEngine.h"

void removeSampleBank(SoundEngine* engine, const std::string& name)
{
    // A playing clip must not be freed under the mixer.
    Mix_HaltChannel(-1);
    if (engine->exists(name))
        engine->erase(name);
}
