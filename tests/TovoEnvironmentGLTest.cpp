#include "TovoEnvironment.h"

#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>

#include <cmath>
#include <memory>

#include "ComponentExceptions.h"
#include "EnvironmentController.h"
#include "GLEnvironment.h"
#include "JpegWriter.h"
#include "Random.h"
#include "ResourceLoader.h"
#include "SampleBankRegistry.h"
#include "SoundEngine.h"
#include "TestSupport.h"
#include "ViewStateCheck.h"
#include "WavWriter.h"

namespace {
// The four flip-books, one solid image each; drawn multiplied onto white, so a pixel shows the
// image's own colour.
const Pixel KI_IDLE{230, 40, 40};
const Pixel KI_TALK{40, 40, 230};
const Pixel RO_IDLE{40, 200, 40};
const Pixel RO_TALK{230, 200, 40};
const Pixel WHITE{255, 255, 255};

// Window pixels at the characters' centres, (-0.7, -0.25) and (0.5, -0.25), and one that neither
// covers.
const int KI_X = 96, KI_Y = 180;
const int RO_X = 480, RO_Y = 180;
const int EMPTY_X = 620, EMPTY_Y = 460;

const double FRAME = 1.0 / 64;  // a small time step, exact in float and double

bool isShortPause(double wait)
{
    return wait >= 0.2 - 1e-4 && wait <= 1.0 + 1e-4;
}

bool isLongPause(double wait)
{
    return wait >= 3.0 - 1e-4 && wait <= 7.0 + 1e-4;
}

// Seeds the engine's generator so that its next number is odd (Ki speaks) or even (Ro speaks).
void seedSpeaker(bool ki)
{
    for (unsigned int seed = 1;; ++seed) {
        Random::seed(seed);
        if ((Random::next() % 2 == 1) == ki) {
            Random::seed(seed);
            return;
        }
    }
}

class TovoEnvironmentTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath(temp->path() + "/");
        engine = SoundEngine::getInstance();
        ASSERT_NE(Mix_QuerySpec(nullptr, nullptr, nullptr), 0) << "the dummy audio device did not open";
        removeBanks();
        writeImage("ki/idle/b01.jpg", KI_IDLE);
        writeImage("ki/talk/b01.jpg", KI_TALK);
        writeImage("ro/idle/b01.jpg", RO_IDLE);
        writeImage("ro/talk/b01.jpg", RO_TALK);
        scene.reset(new TovoEnvironment());
    }

    void TearDown() override
    {
        scene.reset();
        removeBanks();
        drainGLErrors();
        TempDirTest::TearDown();
    }

    void removeBanks()
    {
        removeSampleBank(engine, "KiPankki");
        removeSampleBank(engine, "RoPankki");
    }

    void writeImage(const std::string& name, const Pixel& colour)
    {
        writeJpeg(path(name), 16, 16, 3,
                  solidPixels(16, 16,
                              {static_cast<unsigned char>(colour.r), static_cast<unsigned char>(colour.g),
                               static_cast<unsigned char>(colour.b)}));
    }

    // Ki's one clip: 176400 bytes at 44100 Hz, 16-bit stereo, so 1.0 s; Ro's lasts 0.5 s.
    void writeClips()
    {
        writeFile("ki/wavs/Keplo1.wav", wavFile(44100, 2, squareWave(44100, 2, 3000)));
        writeFile("ro/wavs/Zarpo1.wav", wavFile(44100, 2, squareWave(22050, 2, 3000)));
    }

    // What each character shows in the frame just drawn.
    void expectShown(const Pixel& ki, const Pixel& ro)
    {
        Pixel atKi = readPixel(KI_X, KI_Y);
        Pixel atRo = readPixel(RO_X, RO_Y);
        EXPECT_TRUE(closeColour(atKi, ki)) << "Ki shows " << atKi.r << "," << atKi.g << "," << atKi.b;
        EXPECT_TRUE(closeColour(atRo, ro)) << "Ro shows " << atRo.r << "," << atRo.g << "," << atRo.b;
    }

    SoundEngine* engine = nullptr;
    std::unique_ptr<TovoEnvironment> scene;
};
}

TEST_F(TovoEnvironmentTest, FirstDecisionComesStrictlyAfterThreeSeconds)
{
    writeClips();
    LogCapture log;
    scene->render(10.0);
    EXPECT_EQ(log.warnings(), 1);
    EXPECT_TRUE(log.contains("[warning] tovoenvironment::render() - Not initialized. Initializing..\n")) << log.text();
    EXPECT_EQ(scene->getNextEventTime(), 13.0f);
    for (double time : {12.5, 13.0}) {
        scene->render(time);
        EXPECT_EQ(scene->getNextEventTime(), 13.0f) << time;
        EXPECT_FALSE(scene->isTalking()) << time;
        expectShown(KI_IDLE, RO_IDLE);
    }
    scene->render(13.0 + FRAME);
    EXPECT_GT(scene->getNextEventTime(), 13.0f + FRAME) << "the first decision is taken";
}

TEST_F(TovoEnvironmentTest, TheSpeakerTalksForExactlyTheLengthOfTheirClip)
{
    struct Case {
        const char* speaker;
        bool odd;         // the draw that chooses the speaker
        double seconds;   // length of the speaker's clip
        Pixel ki, ro;     // shown while talking
        const char* line;
    };
    const Case cases[] = {
        {"Ki", true, 1.0, KI_TALK, RO_IDLE,
         "[debug] tovoenvironment::startTalkSequence() - Ki talks for 1 seconds.\n"},
        {"Ro", false, 0.5, KI_IDLE, RO_TALK,
         "[debug] tovoenvironment::startTalkSequence() - Ro talks for 0.5 seconds.\n"},
    };
    writeClips();
    scene->render(100.0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.speaker);
        // A decision time after the pending event, exact in float.
        const double start = std::floor(scene->getNextEventTime()) + 1.5;
        LogCapture log;
        Log::getInstance()->setLevel(LogLevel::debug);
        seedSpeaker(c.odd);
        scene->render(start);
        EXPECT_TRUE(scene->isTalking());
        EXPECT_EQ(scene->getKiState(), c.odd ? 1 : 0);
        EXPECT_EQ(scene->getRoState(), c.odd ? 0 : 1);
        EXPECT_EQ(scene->getNextEventTime(), static_cast<float>(start + c.seconds));
        EXPECT_EQ(Mix_Playing(-1), 1) << "the clip plays";
        EXPECT_TRUE(log.contains(c.line)) << log.text();
        expectShown(c.ki, c.ro);

        scene->render(start + c.seconds);
        EXPECT_TRUE(scene->isTalking()) << "still talking at the clip's end";
        expectShown(c.ki, c.ro);

        scene->render(start + c.seconds + FRAME);
        EXPECT_FALSE(scene->isTalking());
        EXPECT_EQ(scene->getKiState(), 0);
        EXPECT_EQ(scene->getRoState(), 0);
        const double wait = scene->getNextEventTime() - (start + c.seconds + FRAME);
        EXPECT_TRUE(isShortPause(wait) || isLongPause(wait)) << wait;
        expectShown(KI_IDLE, RO_IDLE);
        Mix_HaltChannel(-1);
    }
}

TEST_F(TovoEnvironmentTest, PausesAreShortOrLongAndMostlyShort)
{
    LogCapture log;
    Log::getInstance()->setLevel(LogLevel::debug);
    const int rounds = 1000;
    int shortPauses = 0;
    for (int i = 0; i < rounds; ++i) {
        Random::seed(i);
        log.clear();
        scene->startIdleSequence(2.0);
        const double wait = scene->getNextEventTime() - 2.0;
        ASSERT_TRUE(isShortPause(wait) || isLongPause(wait)) << "seed " << i << ": " << wait;
        const bool shortPause = isShortPause(wait);
        shortPauses += shortPause ? 1 : 0;
        const char* line =
            shortPause ? "startIdleSequence() - Short wait for " : "startIdleSequence() - Long wait for ";
        EXPECT_TRUE(log.contains(line)) << "seed " << i << ": " << log.text();
        EXPECT_FALSE(scene->isTalking());
    }
    // Seeded, so the share is fixed; about 70 % are short.
    EXPECT_GT(shortPauses, rounds * 65 / 100);
    EXPECT_LT(shortPauses, rounds * 75 / 100);
}

TEST_F(TovoEnvironmentTest, AnUtteranceEndingAfterTheEndTimeBecomesAPause)
{
    struct Case {
        float endTime;
        bool talks;  // Ki's 1-second clip, chosen at 60, ends at 61
    };
    const Case cases[] = {{60.0f, false}, {61.0f, true}, {62.0f, true}, {0.0f, true}, {-1.0f, true}};
    writeClips();
    scene->loadResources();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.endTime);
        Mix_HaltChannel(-1);
        scene->floatAction("setEndTime", c.endTime);
        EXPECT_EQ(scene->getEndTime(), c.endTime);
        seedSpeaker(true);
        scene->startTalkSequence(60.0);
        EXPECT_EQ(scene->isTalking(), c.talks);
        EXPECT_EQ(scene->getKiState(), c.talks ? 1 : 0);
        EXPECT_EQ(scene->getRoState(), 0);
        EXPECT_EQ(Mix_Playing(-1), c.talks ? 1 : 0);
        const double wait = scene->getNextEventTime() - 60.0;
        if (c.talks)
            EXPECT_EQ(wait, 1.0);
        else
            EXPECT_TRUE(isShortPause(wait) || isLongPause(wait)) << wait;
    }
}

TEST_F(TovoEnvironmentTest, EmptyBanksOnlyEverPause)
{
    // Ki's first file is missing, Ro's is no wave: both banks stay empty.
    writeFile("ro/wavs/Zarpo1.wav", "RIFF but no wave at all");
    writeFile("ro/wavs/Zarpo2.wav", wavFile(44100, 2, squareWave(4410, 2, 3000)));
    LogCapture log;
    scene->render(10.0);
    EXPECT_TRUE(log.contains("[error] samplebank::loadSamples() - Unable to load samples from \"ki/wavs/Keplo\".\n"))
        << log.text();
    EXPECT_TRUE(log.contains("[error] samplebank::loadSamples() - Unable to load samples from \"ro/wavs/Zarpo\".\n"))
        << log.text();
    int kiTurns = 0;
    for (int i = 0; i < 40; ++i) {
        Random::seed(i);
        kiTurns += Random::next() % 2;
        Random::seed(i);
        const double time = scene->getNextEventTime() + FRAME;
        scene->render(time);
        EXPECT_FALSE(scene->isTalking()) << i;
        EXPECT_EQ(scene->getKiState(), 0) << i;
        EXPECT_EQ(scene->getRoState(), 0) << i;
        EXPECT_EQ(Mix_Playing(-1), 0) << i;
        const double wait = scene->getNextEventTime() - time;
        EXPECT_TRUE(isShortPause(wait) || isLongPause(wait)) << i << ": " << wait;
    }
    EXPECT_GT(kiTurns, 0);
    EXPECT_LT(kiTurns, 40) << "both characters had their turn";
    expectShown(KI_IDLE, RO_IDLE);
}

TEST_F(TovoEnvironmentTest, TheClockGoingBackReschedulesFromTheNewTime)
{
    writeClips();
    scene->render(200.0);  // first decision due at 203
    scene->render(201.0);
    scene->render(0.5);  // the timer's "reset" or "set": 2 s of the wait were left
    EXPECT_EQ(scene->getNextEventTime(), 2.5f);
    scene->render(2.5);
    EXPECT_EQ(scene->getNextEventTime(), 2.5f);

    seedSpeaker(true);
    scene->render(2.5 + FRAME);  // Ki talks for 1 s, to 3.515625
    ASSERT_TRUE(scene->isTalking());
    scene->render(3.0);
    scene->render(1.0);  // back again, 0.515625 s of the clip left
    EXPECT_EQ(scene->getNextEventTime(), 1.515625f);
    scene->render(1.515625);
    EXPECT_TRUE(scene->isTalking());
    scene->render(1.515625 + FRAME);
    EXPECT_FALSE(scene->isTalking());
}

TEST_F(TovoEnvironmentTest, ImagesAreClampedNotRepeated)
{
    writeClips();
    scene->loadResources();
    const TextureManager::ComponentMap& textures = scene->getTextureManager().getTextures();
    EXPECT_EQ(textures.size(), 4u);
    for (const auto& entry : textures) {
        EXPECT_FALSE(entry.second->repeatS) << entry.first;
        EXPECT_FALSE(entry.second->repeatT) << entry.first;
    }
}

TEST_F(TovoEnvironmentTest, ASecondTalkingSceneFailsOnTheTakenBankNames)
{
    writeClips();
    scene->loadResources();
    TovoEnvironment second;
    try {
        second.loadResources();
        FAIL() << "the second scene loaded";
    } catch (const ComponentAlreadyExistsException& e) {
        EXPECT_NE(e.getMessage().find("Factory<SampleBank>Exception::create() - Unable to create new component. "
                                      "Component \"KiPankki\" already exists in this factory!."),
                  std::string::npos)
            << e.getMessage();
    }
    seedSpeaker(true);
    scene->startTalkSequence(5.0);
    EXPECT_EQ(scene->getNextEventTime(), 6.0f) << "the first scene keeps its banks";
}

TEST_F(TovoEnvironmentTest, DrawsInItsOwnViewAfterALit3DScene)
{
    writeClips();
    EnvironmentController controller;
    controller.initialize();
    TovoEnvironment* actions = scene.get();
    controller.registerEnvironment("kiro", std::move(scene), actions);
    controller.stringAction("setActiveEnvironment", "kiro");
    for (double time : {1.0, 1.5}) {
        leaveLit3DState();
        controller.render(time);
        expectFlatView(true, GL_ZERO, GL_SRC_COLOR);
        expectShown(KI_IDLE, RO_IDLE);
        EXPECT_TRUE(closeColour(readPixel(EMPTY_X, EMPTY_Y), WHITE));
        EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
    }
}
