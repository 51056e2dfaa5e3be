#include "SoundEngine.h"

#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>

#include <cstdlib>

#include "ResourceLoader.h"
#include "SampleBank.h"
#include "TestSupport.h"
#include "WavWriter.h"

namespace {
class SoundEngineNoDeviceTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath(temp->path() + "/");
        writeFile("tune.wav", wavFile(44100, 2, squareWave(4410, 2, 3000)));
        writeFile("voice1.wav", wavFile(44100, 2, squareWave(4410, 2, 3000)));
    }
};

// The instance is created once per process, so the one test that creates it checks the lot.
TEST_F(SoundEngineNoDeviceTest, WithoutADeviceTheActionsAreThereAndEachSaysOnceThatItDoesNothing)
{
    setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1);
    LogCapture log;
    SoundEngine* engine = SoundEngine::getInstance();
    EXPECT_TRUE(log.contains("[error] soundengine::SoundEngine() - Unable to open audio!\n")) << log.text();
    EXPECT_EQ(log.errors(), 1);
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 0);

    log.clear();
    for (int round = 0; round < 3; ++round) {
        engine->stringAction("load", "tune.wav");
        engine->action("play");
        engine->action("stop");
        // Nothing is read: a file that is not there is no failure either.
        engine->load("missing.ogg");
    }
    EXPECT_EQ(log.text(), "[warning] soundengine::no audio device: load does nothing\n"
                          "[warning] soundengine::no audio device: play does nothing\n"
                          "[warning] soundengine::no audio device: stop does nothing\n");
    EXPECT_EQ(log.warnings(), 3);
    EXPECT_EQ(log.errors(), 0);
    EXPECT_EQ(Mix_PlayingMusic(), 0);

    // The actions keep their parameter kinds.
    EXPECT_THROW(engine->action("load"), ActionException);
    EXPECT_THROW(engine->stringAction("play", "x"), ActionException);

    SampleBank* bank = engine->create("Voices", engine);
    bank->loadSamples("voice", "wav");
    EXPECT_EQ(bank->getSampleCount(), 0);
    EXPECT_TRUE(log.contains("Unable to load samples from \"voice\".")) << log.text();
    bank->pickRandomSample();
    EXPECT_EQ(bank->getSampleDuration(), 0.0);
    bank->play();
}
}
