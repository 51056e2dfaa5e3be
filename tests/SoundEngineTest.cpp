#include "SoundEngine.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include <sys/stat.h>
#include <unistd.h>

#include "HostileFiles.h"
#include "MixerProbe.h"
#include "ResourceLoader.h"
#include "TestSupport.h"
#include "Watchdog.h"
#include "WavWriter.h"

namespace {
class SoundEngineTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath(temp->path() + "/");
        engine = SoundEngine::getInstance();
        ASSERT_NE(Mix_QuerySpec(nullptr, nullptr, nullptr), 0) << "the dummy audio device did not open";
    }

    void TearDown() override
    {
        Mix_HaltMusic();
        TempDirTest::TearDown();
    }

    // A square-wave tune of the given length and amplitude, in the device's own format.
    void writeTune(const std::string& name, double seconds, int16_t amplitude)
    {
        writeFile(name, wavFile(44100, 2, squareWave(static_cast<int>(seconds * 44100), 2, amplitude)));
    }

    SoundEngine* engine = nullptr;
};
}

TEST_F(SoundEngineTest, IsOneInstanceWithTheRequestedFormat)
{
    EXPECT_EQ(SoundEngine::getInstance(), engine);
    EXPECT_EQ(engine->getFrequency(), 44100);
    EXPECT_EQ(engine->getChannels(), 2);
    EXPECT_EQ(engine->getBytesPerSample(), 2);
    EXPECT_EQ(engine->getFactoryName(), "Factory<SampleBank>");
}

TEST_F(SoundEngineTest, BytesPerSampleByFormat)
{
    const struct {
        Uint16 format;
        int bytes;
    } cases[] = {{AUDIO_U8, 1},     {AUDIO_S8, 1},     {AUDIO_U16LSB, 2}, {AUDIO_U16MSB, 2},
                 {AUDIO_S16LSB, 2}, {AUDIO_S16MSB, 2}, {0x8020, 0},       {0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(SoundEngine::bytesPerSample(c.format), c.bytes) << std::hex << c.format;
}

TEST_F(SoundEngineTest, TimelineLoadsAndPlaysMusicOnce)
{
    writeTune("music/tune.wav", 0.3, 5000);
    MixerProbe probe;
    LogCapture log;
    engine->stringAction("load", "music/tune.wav");
    engine->action("play");
    EXPECT_TRUE(log.contains("[info] soundengine::play() - Playing sound.\n")) << log.text();
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_TRUE(probe.waitForPeak(5000, 5000)) << "peak " << probe.peak();
    // Played once: it ends by itself and does not start over.
    auto stillPlaying = [] { return Mix_PlayingMusic() != 0; };
    for (int i = 0; i < 500 && stillPlaying(); ++i)
        SDL_Delay(10);
    EXPECT_FALSE(stillPlaying());
    probe.reset();
    ASSERT_TRUE(probe.waitForBytes(44100, 5000));
    EXPECT_EQ(probe.peak(), 0);
    EXPECT_EQ(log.errors(), 0);
}

TEST_F(SoundEngineTest, LoadingTwiceKeepsTheSecondMusic)
{
    writeTune("first.wav", 2.0, 1000);
    writeTune("second.wav", 2.0, 8000);
    engine->load("first.wav");
    engine->load("second.wav");
    MixerProbe probe;
    engine->play();
    ASSERT_TRUE(probe.waitForBytes(4 * 44100 / 2, 5000));  // half a second of output
    EXPECT_EQ(probe.peak(), 8000);
}

TEST_F(SoundEngineTest, LoadingWhilePlayingReplacesTheMusic)
{
    writeTune("long.wav", 5.0, 8000);
    writeTune("quiet.wav", 5.0, 500);
    engine->load("long.wav");
    engine->play();
    engine->load("quiet.wav");
    EXPECT_EQ(Mix_PlayingMusic(), 0) << "freeing the old music stops it";
    MixerProbe probe;
    ASSERT_TRUE(probe.waitForBytes(44100, 5000));
    EXPECT_EQ(probe.peak(), 0);
    engine->play();
    probe.reset();
    ASSERT_TRUE(probe.waitForBytes(4 * 44100 / 2, 5000));
    EXPECT_EQ(probe.peak(), 500);
}

TEST_F(SoundEngineTest, AMissingMusicFileThrowsAndABadOneLeavesNoMusic)
{
    writeTune("good.wav", 1.0, 3000);
    engine->load("good.wav");
    EXPECT_THROW(engine->stringAction("load", "missing.ogg"), ResourceLoaderException);

    writeFile("bad.ogg", "OggS but not really an Ogg Vorbis stream");
    LogCapture log;
    engine->load("bad.ogg");
    EXPECT_TRUE(log.contains("[error] soundengine::load() - Unable to load music from \"" + path("bad.ogg") + "\".\n"))
        << log.text();
    EXPECT_EQ(log.errors(), 1);
    engine->play();
    EXPECT_EQ(Mix_PlayingMusic(), 0) << "the good music was freed, the bad one never held";
}

TEST_F(SoundEngineTest, StopLogsAnErrorAndTheMusicPlaysOn)
{
    writeTune("tune.wav", 3.0, 2000);
    engine->load("tune.wav");
    engine->play();
    LogCapture log;
    engine->action("stop");
    EXPECT_TRUE(log.contains("[error] soundengine::stop() - Stop is unimplemented.\n")) << log.text();
    EXPECT_EQ(log.errors(), 1);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    MixerProbe probe;
    EXPECT_TRUE(probe.waitForPeak(2000, 5000)) << "peak " << probe.peak();
}

TEST_F(SoundEngineTest, ActionsTakeTheirOwnParameterKind)
{
    LogCapture log;
    EXPECT_THROW(engine->action("load"), ActionException);
    EXPECT_THROW(engine->stringAction("play", "x"), ActionException);
    EXPECT_THROW(engine->action("Play"), ActionException);
    EXPECT_EQ(log.errors(), 3);
}

TEST_F(SoundEngineTest, MusicWhoseWaveHeaderTheMixerCannotConvertIsRefusedAndTheShowPlaysOn)
{
    int cases = 0;
    for (const HostileFile& file : hostileFiles()) {
        if (file.target != "wav" || file.refusal.empty())
            continue;
        SCOPED_TRACE(file.name);
        ++cases;
        writeTune("good.wav", 1.0, 3000);
        engine->load("good.wav");
        writeFile("music/" + file.name, file.make());
        LogCapture log;
        const double start = threadCpuSeconds();
        engine->stringAction("load", "music/" + file.name);
        EXPECT_LT(threadCpuSeconds() - start, readerSecondsLimit());
        EXPECT_TRUE(log.contains("[error] soundengine::load() - Unable to load music from \"" +
                                 path("music/" + file.name) + "\". Cause: " + file.refusal))
            << log.text();
        EXPECT_EQ(log.errors(), 1);
        engine->action("play");
        EXPECT_EQ(Mix_PlayingMusic(), 0) << "the earlier music was freed, the refused one never held";
    }
    EXPECT_GT(cases, 10);
    // The engine still plays what it can.
    writeTune("after.wav", 1.0, 4000);
    engine->load("after.wav");
    MixerProbe probe;
    engine->play();
    EXPECT_TRUE(probe.waitForPeak(4000, 5000)) << "peak " << probe.peak();
}

TEST_F(SoundEngineTest, MusicPlaysOnFromMemoryWhenItsFileIsReplaced)
{
    // What plays was read whole at loading and is kept while the music is.
    writeTune("gone.wav", 1.0, 7000);
    engine->load("gone.wav");
    ASSERT_EQ(unlink(path("gone.wav").c_str()), 0);
    writeTune("gone.wav", 1.0, 100);
    MixerProbe probe;
    engine->play();
    EXPECT_TRUE(probe.waitForPeak(7000, 5000)) << "peak " << probe.peak();
}

TEST_F(SoundEngineTest, MusicCutShortPlaysWhatItHolds)
{
    writeTune("whole.wav", 2.0, 6000);
    std::ifstream whole(path("whole.wav"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(whole)), std::istreambuf_iterator<char>());
    writeFile("cut.wav", bytes.substr(0, bytes.size() / 2 + 1));
    LogCapture log;
    engine->load("cut.wav");
    EXPECT_EQ(log.errors(), 0) << log.text();
    EXPECT_TRUE(log.contains("[warning] soundengine::load() - The music \"" + path("cut.wav") + "\" is cut short:"))
        << log.text();
    MixerProbe probe;
    engine->play();
    EXPECT_TRUE(probe.waitForPeak(6000, 5000)) << "peak " << probe.peak();
}

TEST_F(SoundEngineTest, TheShowsOggMusicPlaysFromMemory)
{
    writeFile("intro1.ogg", readFile(sourceDir() + "/show/intro/intro1.ogg"));
    LogCapture log;
    engine->load("intro1.ogg");
    EXPECT_EQ(log.errors(), 0) << log.text();
    MixerProbe probe;
    engine->play();
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_TRUE(probe.waitForPeak(1000, 5000)) << "peak " << probe.peak();
}

TEST_F(SoundEngineTest, APipeOrADeviceNamedAsMusicIsRefusedAtOnce)
{
    ASSERT_EQ(mkfifo(path("pipe.ogg").c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", path("zero.wav").c_str()), 0);
    for (const char* name : {"pipe.ogg", "zero.wav"}) {
        SCOPED_TRACE(name);
        Watchdog guard(std::string("loading music from ") + name, 5.0);
        try {
            engine->load(name);
            ADD_FAILURE() << "loaded";
        } catch (const ResourceLoaderException& e) {
            EXPECT_NE(e.getMessage().find("\"" + path(name) + "\" is not a valid resource! Reason: not a regular file."),
                      std::string::npos)
                << e.getMessage();
        }
    }
}
