#include "SampleBank.h"

#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>

#include <sys/stat.h>
#include <unistd.h>

#include <set>

#include "ComponentExceptions.h"
#include "HostileFiles.h"
#include "MixerProbe.h"
#include "Random.h"
#include "ResourceLoader.h"
#include "SoundEngine.h"
#include "StringUtil.h"
#include "TestSupport.h"
#include "Watchdog.h"
#include "WavWriter.h"

namespace {
// The device's own format: 44100 Hz, 16-bit, stereo, so 176400 bytes a second.
std::string clip(int frames, int16_t amplitude = 4000)
{
    return wavFile(44100, 2, squareWave(frames, 2, amplitude));
}

class SampleBankTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath(temp->path() + "/");
        engine = SoundEngine::getInstance();
        ASSERT_NE(Mix_QuerySpec(nullptr, nullptr, nullptr), 0) << "the dummy audio device did not open";
    }

    // A bank in the engine's registry, under a name no other test uses.
    SampleBank* newBank()
    {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        SampleBank* bank = engine->create(name, engine);
        EXPECT_EQ(bank->getName(), name);
        return bank;
    }

    SoundEngine* engine = nullptr;
};
}

TEST_F(SampleBankTest, SeriesEndsAtTheFirstMissingNumber)
{
    writeFile("voice/Keplo1.wav", clip(4410));
    writeFile("voice/Keplo2.wav", clip(8820));
    writeFile("voice/Keplo4.wav", clip(13230));
    SampleBank* bank = newBank();
    LogCapture log;
    bank->loadSamples("voice/Keplo", "wav");
    EXPECT_EQ(bank->getSampleCount(), 2);
    EXPECT_TRUE(log.contains("[info] samplebank::loadSamples() - Loaded 2 samples to SeriesEndsAtTheFirstMissingNumber.\n"))
        << log.text();
    EXPECT_EQ(log.errors(), 0);
    std::set<double> durations;
    for (int i = 0; i < 50; ++i) {
        bank->pickRandomSample();
        durations.insert(bank->getSampleDuration());
    }
    EXPECT_EQ(durations, (std::set<double>{0.1, 0.2}));
}

TEST_F(SampleBankTest, DurationIsTheClipLengthInTheDeviceFormat)
{
    struct Case {
        const char* what;
        std::string file;
        double seconds;
    };
    const Case cases[] = {
        {"176400 bytes at 44100 Hz 16-bit stereo", wavFile(44100, 2, squareWave(44100, 2, 3000)), 1.0},
        {"half a second", wavFile(44100, 2, squareWave(22050, 2, 3000)), 0.5},
        // Converted by the mixer to the device's rate and channels on loading.
        {"one second at 22050 Hz mono", wavFile(22050, 1, squareWave(22050, 1, 3000)), 1.0},
    };
    for (const Case& c : cases) {
        writeFile("one1.wav", c.file);
        SampleBank bank;
        bank.setSoundEngine(engine);
        bank.loadSamples("one", "wav");
        ASSERT_EQ(bank.getSampleCount(), 1) << c.what;
        EXPECT_DOUBLE_EQ(bank.getSampleDuration(), c.seconds) << c.what;
        bank.pickRandomSample();
        EXPECT_DOUBLE_EQ(bank.getSampleDuration(), c.seconds) << c.what << " (one clip is always the one picked)";
    }
}

TEST_F(SampleBankTest, PickingFollowsTheEnginesGenerator)
{
    const int frames[] = {441, 882, 1323};
    for (int i = 0; i < 3; ++i)
        writeFile("r" + toString(i + 1) + ".wav", clip(frames[i]));
    SampleBank* bank = newBank();
    bank->loadSamples("r", "wav");
    ASSERT_EQ(bank->getSampleCount(), 3);
    Random::seed(99);
    std::vector<int> expected;
    for (int i = 0; i < 60; ++i)
        expected.push_back(Random::next() % 3);
    Random::seed(99);
    for (int i = 0; i < 60; ++i) {
        bank->pickRandomSample();
        EXPECT_DOUBLE_EQ(bank->getSampleDuration(), (expected[i] + 1) * 0.01) << "pick " << i;
    }
}

TEST_F(SampleBankTest, ABadFileEndsTheSeriesWithItsCause)
{
    writeFile("s1.wav", clip(441));
    writeFile("s2.wav", "RIFF this is no wave file at all");
    writeFile("s3.wav", clip(441));
    SampleBank* bank = newBank();
    LogCapture log;
    bank->loadSamples("s", "wav");
    EXPECT_EQ(bank->getSampleCount(), 1);
    EXPECT_TRUE(log.contains("[error] samplebank::loadSamples() - Failed to load a sample \"" + path("s2.wav") +
                             "\". Cause: "))
        << log.text();
    EXPECT_TRUE(log.contains("Loaded 1 samples to ABadFileEndsTheSeriesWithItsCause.")) << log.text();
    EXPECT_EQ(log.errors(), 1);
}

TEST_F(SampleBankTest, ABankThatStaysEmptyPicksNothingLastsNothingAndPlaysNothing)
{
    struct Case {
        const char* what;
        const char* firstFile;  // null: the first file is missing
        int errors;
    };
    const Case cases[] = {
        {"first file missing", nullptr, 1},
        {"first file corrupt", "not a wave", 2},
        {"first file empty", "", 2},
    };
    int round = 0;
    for (const Case& c : cases) {
        std::string prefix = "empty" + toString(++round) + "_";
        if (c.firstFile)
            writeFile(prefix + "1.wav", c.firstFile);
        writeFile(prefix + "2.wav", clip(441));
        SampleBank bank;
        bank.setName("Empty");
        bank.setSoundEngine(engine);
        LogCapture log;
        bank.loadSamples(prefix, "wav");
        EXPECT_EQ(bank.getSampleCount(), 0) << c.what;
        EXPECT_EQ(log.errors(), c.errors) << c.what << "\n" << log.text();
        EXPECT_TRUE(log.contains("[error] samplebank::loadSamples() - Unable to load samples from \"" + prefix + "\".\n"))
            << c.what << "\n" << log.text();
        bank.pickRandomSample();
        EXPECT_EQ(bank.getSampleDuration(), 0.0) << c.what;
        bank.play();
        EXPECT_EQ(Mix_Playing(-1), 0) << c.what;
    }
    SampleBank unset;
    EXPECT_EQ(unset.getSampleDuration(), 0.0);
    unset.pickRandomSample();
    unset.play();
}

TEST_F(SampleBankTest, ASecondLoadAppendsFromNumberOneAgain)
{
    writeFile("a1.wav", clip(441));
    writeFile("a2.wav", clip(441));
    SampleBank* bank = newBank();
    bank->loadSamples("a", "wav");
    LogCapture log;
    bank->loadSamples("a", "wav");
    EXPECT_EQ(bank->getSampleCount(), 4);
    EXPECT_TRUE(log.contains("Loaded 2 samples to ASecondLoadAppendsFromNumberOneAgain.")) << log.text();
}

TEST_F(SampleBankTest, PlayingMixesTheClipIntoTheOutput)
{
    writeFile("p1.wav", clip(22050, 6000));
    SampleBank* bank = newBank();
    bank->loadSamples("p", "wav");
    ASSERT_EQ(bank->getSampleCount(), 1);
    MixerProbe probe;
    ASSERT_TRUE(probe.waitForBytes(8192, 5000));
    EXPECT_EQ(probe.peak(), 0) << "nothing plays before play()";
    bank->play();
    EXPECT_EQ(Mix_Playing(-1), 1);
    EXPECT_TRUE(probe.waitForPeak(6000, 5000)) << "peak " << probe.peak();
    EXPECT_EQ(probe.peak(), 6000);
    Mix_HaltChannel(-1);
}

TEST_F(SampleBankTest, ABankNameIsTakenOnce)
{
    SampleBank* first = newBank();
    try {
        engine->create("ABankNameIsTakenOnce", engine);
        FAIL();
    } catch (const ComponentAlreadyExistsException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::Factory<SampleBank>Exception::create() - Unable to create "
                                  "new component. Component \"ABankNameIsTakenOnce\" already exists in this factory!.");
    }
    EXPECT_EQ(engine->find("ABankNameIsTakenOnce"), first);
}

TEST_F(SampleBankTest, AWaveHeaderTheMixerCannotConvertIsRefusedWithTheOffendingValue)
{
    // Each of these once crashed inside the mixer's converter, read past a buffer or had it
    // allocate what the header claimed; the clip before it stays and the series ends there.
    int round = 0;
    for (const HostileFile& file : hostileFiles()) {
        if (file.target != "wav" || file.refusal.empty())
            continue;
        SCOPED_TRACE(file.name);
        const std::string prefix = "h" + toString(++round) + "_";
        writeFile(prefix + "1.wav", clip(441));
        writeFile(prefix + "2.wav", file.make());
        writeFile(prefix + "3.wav", clip(441));
        SampleBank bank;
        bank.setName("Hostile");
        bank.setSoundEngine(engine);
        LogCapture log;
        const double start = threadCpuSeconds();
        bank.loadSamples(prefix, "wav");
        EXPECT_LT(threadCpuSeconds() - start, readerSecondsLimit());
        EXPECT_EQ(bank.getSampleCount(), 1);
        EXPECT_TRUE(log.contains("[error] samplebank::loadSamples() - Failed to load a sample \"" +
                                 path(prefix + "2.wav") + "\". Cause: " + file.refusal))
            << log.text();
        EXPECT_TRUE(log.contains("Loaded 1 samples to Hostile.")) << log.text();
        EXPECT_EQ(log.errors(), 1);
    }
    EXPECT_GT(round, 10);
}

TEST_F(SampleBankTest, WaveHeadersAtTheEdgesOfWhatIsPlayedLoad)
{
    struct Case {
        const char* what;
        std::string file;
    };
    // A chunk the mixer passes over, before the format chunk, whose size is even.
    std::string listed = wavFile(44100, 2, squareWave(4410, 2, 3000));
    listed.insert(12, std::string("LIST\x04\0\0\0INFO", 12));
    const Case cases[] = {
        {"4000 Hz mono", wavFile(4000, 1, squareWave(400, 1, 3000))},
        {"192000 Hz stereo", wavFile(192000, 2, squareWave(19200, 2, 3000))},
        {"8 bits a sample", patchedWav(34, 8, 2)},
        {"a LIST chunk first", listed},
    };
    for (const Case& c : cases) {
        writeFile("edge1.wav", c.file);
        SampleBank bank;
        bank.setSoundEngine(engine);
        LogCapture log;
        bank.loadSamples("edge", "wav");
        ASSERT_EQ(bank.getSampleCount(), 1) << c.what << "\n" << log.text();
        // The mixer only approximates a rate that is no power-of-two multiple of the device's.
        EXPECT_GT(bank.getSampleDuration(), 0.0) << c.what;
        EXPECT_EQ(log.errors(), 0) << c.what;
    }
}

TEST_F(SampleBankTest, ASampleCutShortPlaysTheWholeFramesItHolds)
{
    // 4410 frames of 4 bytes after a 44-byte header, cut 3 bytes into frame 2205: the data chunk
    // still declares all 17640 bytes.
    writeFile("cut1.wav", clip(4410).substr(0, 44 + 2205 * 4 + 3));
    SampleBank bank;
    bank.setSoundEngine(engine);
    LogCapture log;
    bank.loadSamples("cut", "wav");
    ASSERT_EQ(bank.getSampleCount(), 1) << log.text();
    EXPECT_NEAR(bank.getSampleDuration(), 2205 / 44100.0, 1e-6);
    EXPECT_EQ(log.errors(), 0) << log.text();
    EXPECT_EQ(log.warnings(), 1) << log.text();
    EXPECT_TRUE(log.contains("is cut short: the data chunk declares 17640 bytes, but only 8823 follow; the first "
                             "8820 are played."))
        << log.text();
}

TEST_F(SampleBankTest, APipeOrADeviceNamedAsASampleIsRefusedAtOnce)
{
    ASSERT_EQ(mkfifo(path("pipe1.wav").c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", path("zero1.wav").c_str()), 0);
    for (const char* prefix : {"pipe", "zero"}) {
        SCOPED_TRACE(prefix);
        SampleBank bank;
        LogCapture log;
        {
            Watchdog guard(std::string("loading a sample from ") + prefix + "1.wav", 5.0);
            bank.loadSamples(prefix, "wav");
        }
        EXPECT_EQ(bank.getSampleCount(), 0);
        EXPECT_TRUE(log.contains("[error] samplebank::loadSamples() - Failed to load a sample \"" +
                                 path(std::string(prefix) + "1.wav") + "\". Cause: not a regular file.\n"))
            << log.text();
        EXPECT_TRUE(log.contains("Unable to load samples from \"" + std::string(prefix) + "\".")) << log.text();
    }
}
