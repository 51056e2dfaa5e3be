#include "SampleBankRegistry.h"

#include <SDL/SDL_mixer.h>

#include "SoundEngine.h"

namespace {
// Reaches the registry's protected table through a pointer to the member; never instantiated.
struct RegistryAccess : Factory<SampleBank> {
    static ComponentMap Factory<SampleBank>::*table() { return &RegistryAccess::components; }
};
}

void removeSampleBank(SoundEngine* engine, const std::string& name)
{
    Mix_HaltChannel(-1);
    Factory<SampleBank>::ComponentMap& banks = static_cast<Factory<SampleBank>&>(*engine).*RegistryAccess::table();
    Factory<SampleBank>::ComponentMap::iterator it = banks.find(name);
    if (it == banks.end())
        return;
    delete it->second;
    banks.erase(it);
}
