#include "SoundEngine.h"

#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "ResourceLoader.h"
#include "TestSupport.h"
#include "WavWriter.h"

namespace {
class SoundEngineDiskTest : public TempDirTest {};

// Largest absolute 16-bit sample of a raw recording.
int peakOf(const std::string& raw)
{
    int peak = 0;
    for (size_t i = 0; i + 1 < raw.size(); i += 2) {
        int16_t sample;
        std::memcpy(&sample, raw.data() + i, 2);
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    return peak;
}

// SDL's disk driver writes what the device would play to a file, at about real-time pace.
TEST_F(SoundEngineDiskTest, MusicReachesTheDeviceAndDeletingTheEngineClosesIt)
{
    const std::string recording = path("out.raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", recording.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "20", 1);  // milliseconds between buffers
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ResourceLoader::setResourcePath(temp->path() + "/");
    writeFile("intro/tune.wav", wavFile(44100, 2, squareWave(44100 / 2, 2, 7000)));

    SoundEngine* engine = SoundEngine::getInstance();
    ASSERT_NE(Mix_QuerySpec(nullptr, nullptr, nullptr), 0) << "the disk audio device did not open";
    engine->stringAction("load", "intro/tune.wav");
    engine->action("play");
    for (int i = 0; i < 500 && Mix_PlayingMusic(); ++i)
        SDL_Delay(10);
    EXPECT_EQ(Mix_PlayingMusic(), 0) << "half a second of music played to its end";

    delete engine;
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 0);
    std::string raw = readFile(recording);
    EXPECT_GE(raw.size(), 88200u) << "at least the half second of music was written";
    EXPECT_EQ(peakOf(raw), 7000);
    SDL_Delay(100);
    EXPECT_EQ(readFile(recording).size(), raw.size()) << "nothing is written once the device is closed";
    SDL_Quit();
}
}
