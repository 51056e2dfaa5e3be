#include "MixerProbe.h"

#include <SDL/SDL_mixer.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <thread>

MixerProbe::MixerProbe() : peakLevel(0), mixedBytes(0)
{
    Mix_SetPostMix(&MixerProbe::postMix, this);
}

MixerProbe::~MixerProbe()
{
    Mix_SetPostMix(nullptr, nullptr);
}

void MixerProbe::reset()
{
    peakLevel = 0;
    mixedBytes = 0;
}

int MixerProbe::peak() const
{
    return peakLevel;
}

long MixerProbe::bytes() const
{
    return mixedBytes;
}

void MixerProbe::postMix(void* probe, unsigned char* stream, int length)
{
    MixerProbe* self = static_cast<MixerProbe*>(probe);
    int level = 0;
    for (int i = 0; i + 1 < length; i += 2) {
        int16_t sample;
        std::memcpy(&sample, stream + i, 2);
        level = std::max(level, std::abs(static_cast<int>(sample)));
    }
    int previous = self->peakLevel;
    while (level > previous && !self->peakLevel.compare_exchange_weak(previous, level)) {
    }
    self->mixedBytes += length;
}

namespace {
template <typename Done> bool pollUntil(Done done, int timeoutMs)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}
}

bool MixerProbe::waitForBytes(long count, int timeoutMs) const
{
    return pollUntil([&] { return mixedBytes >= count; }, timeoutMs);
}

bool MixerProbe::waitForPeak(int level, int timeoutMs) const
{
    return pollUntil([&] { return peakLevel >= level; }, timeoutMs);
}
