#include "SampleBank.h"

#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>

#include "ResourceLoader.h"
#include "SoundEngine.h"
#include "TestSupport.h"
#include "WavWriter.h"

namespace {
class SampleBankGrantedFormatTest : public TempDirTest {};

// A mixer already open with the same sample format and channels is shared as it is, so the device
// runs at 22050 Hz although the engine asks for 44100 Hz: clips are converted to 22050 Hz.
TEST_F(SampleBankGrantedFormatTest, DurationUsesTheRateTheDeviceRunsAt)
{
    ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
    SoundEngine* engine = SoundEngine::getInstance();
    int frequency = 0;
    ASSERT_NE(Mix_QuerySpec(&frequency, nullptr, nullptr), 0);
    ASSERT_EQ(frequency, 22050);
    EXPECT_EQ(engine->getFrequency(), 44100);

    ResourceLoader::setResourcePath(temp->path() + "/");
    writeFile("clip1.wav", wavFile(44100, 2, squareWave(44100, 2, 3000)));
    SampleBank bank;
    bank.setSoundEngine(engine);
    bank.loadSamples("clip", "wav");
    ASSERT_EQ(bank.getSampleCount(), 1);
    EXPECT_DOUBLE_EQ(bank.getSampleDuration(), 1.0);
}
}
