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
TEST_F(SoundEngineNoDeviceTest, WithoutADeviceTheTimelineReachesNoActionAndNothingCrashes)
{
    setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1);
    LogCapture log;
    SoundEngine* engine = SoundEngine::getInstance();
    EXPECT_TRUE(log.contains("[error] soundengine::SoundEngine() - Unable to open audio!\n")) << log.text();
    EXPECT_EQ(log.errors(), 1);
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 0);

    log.clear();
    for (const char* name : {"play", "stop"}) {
        try {
            engine->action(name);
            ADD_FAILURE() << name << " was found";
        } catch (const ActionException& e) {
            EXPECT_NE(e.getMessage().find(std::string("action() - Action \"") + name + "\" not found!"),
                      std::string::npos)
                << e.getMessage();
        }
    }
    EXPECT_THROW(engine->stringAction("load", "tune.wav"), ActionException);
    EXPECT_EQ(log.errors(), 3);
    EXPECT_FALSE(log.contains("Playing sound.")) << log.text();

    // Direct calls still run, and play silently.
    engine->load("tune.wav");
    engine->play();
    EXPECT_EQ(Mix_PlayingMusic(), 0);

    SampleBank* bank = engine->create("Voices", engine);
    bank->loadSamples("voice", "wav");
    EXPECT_EQ(bank->getSampleCount(), 0);
    EXPECT_TRUE(log.contains("Unable to load samples from \"voice\".")) << log.text();
    bank->pickRandomSample();
    EXPECT_EQ(bank->getSampleDuration(), 0.0);
    bank->play();
}
}
