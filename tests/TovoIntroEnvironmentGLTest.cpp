#include "TovoIntroEnvironment.h"

#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>

#include <memory>

#include "ActionControllable.h"
#include "EnvironmentController.h"
#include "GLEnvironment.h"
#include "JpegWriter.h"
#include "Random.h"
#include "ResourceLoader.h"
#include "SoundEngine.h"
#include "TestSupport.h"
#include "ViewStateCheck.h"
#include "WavWriter.h"

namespace {
// The scene blends with (1 - source alpha, 1 - source colour): on the white background an image
// drawn at alpha 1 shows its inverse, one at alpha 0 leaves white, and a black image leaves
// everything as it is at any alpha. All pictures but the one a test looks at are black.
const Pixel TITLE{200, 100, 50};
const Pixel TITLE_SHOWN{55, 155, 205};
const Pixel WHITE{255, 255, 255};
const Pixel BLACK{0, 0, 0};
const int CENTRE_X = 320, CENTRE_Y = 240;

// The prop images, each of its own proportions, so that a prop's base scale tells which it shows.
struct PropImage {
    const char* prefix;
    int width, height;
    float baseX, baseY;
};
const PropImage PROPS[5] = {
    {"intro/juo", 16, 16, 1.0f, 1.0f},       {"intro/simankaato", 32, 16, 1.0f, 0.5f},
    {"intro/vasara", 16, 32, 0.5f, 1.0f},    {"intro/vene", 64, 16, 1.0f, 0.25f},
    {"intro/viikset", 16, 64, 0.25f, 1.0f},
};

const int PROP_COUNT = 5;
const int FIRST_PROP = 2;  // draw order: title, first picture, five props, second picture

class TovoIntroEnvironmentTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath(temp->path() + "/");
        // Not Ogg Vorbis: the engine logs that it cannot load it and the show goes on silently.
        writeFile("intro/intro1.ogg", wavFile(44100, 2, squareWave(4410, 2, 3000)));
        writeImage("intro/statics/title1.jpg", 16, 16, TITLE);
        writeImage("intro/statics/ryhma1.jpg", 16, 16, BLACK);
        writeImage("intro/statics/kehys1.jpg", 16, 16, BLACK);
        for (const PropImage& prop : PROPS)
            writeImage(std::string(prop.prefix) + "1.jpg", prop.width, prop.height, BLACK);
    }

    void TearDown() override
    {
        Mix_HaltMusic();
        drainGLErrors();
        TempDirTest::TearDown();
    }

    void writeImage(const std::string& name, int width, int height, const Pixel& colour)
    {
        writeJpeg(path(name), width, height, 3,
                  solidPixels(width, height,
                              {static_cast<unsigned char>(colour.r), static_cast<unsigned char>(colour.g),
                               static_cast<unsigned char>(colour.b)}));
    }

    static int count(const std::string& text, const std::string& piece)
    {
        int found = 0;
        for (std::string::size_type at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
            ++found;
        return found;
    }
};

void expectPixel(const Pixel& expected, int x = CENTRE_X, int y = CENTRE_Y)
{
    Pixel actual = readPixel(x, y);
    EXPECT_TRUE(closeColour(actual, expected))
        << "pixel " << x << "," << y << " is " << actual.r << "," << actual.g << "," << actual.b;
}
}

TEST_F(TovoIntroEnvironmentTest, TitleFadesAtItsKeysCountedFromTheFirstFrame)
{
    struct Case {
        double time;  // playback seconds; the scene is first drawn at 20
        bool visible;
    };
    const Case cases[] = {{20.0, false}, {25.0, false}, {26.0, true}, {29.0, true}, {30.5, false}};
    Random::seed(1);
    TovoIntroEnvironment intro;
    LogCapture log;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time);
        intro.render(c.time);
        EXPECT_NEAR(intro.getSprites()[0].getAlpha(), c.visible ? 1.0f : 0.0f, 1e-4);
        expectPixel(c.visible ? TITLE_SHOWN : WHITE);
    }
    EXPECT_EQ(intro.getStartTime(), 20.0f);
    EXPECT_EQ(log.warnings(), 1);
    EXPECT_TRUE(log.contains("[warning] tovointroenvironment::render() - Not initialized. Initializing..\n"))
        << log.text();
}

TEST_F(TovoIntroEnvironmentTest, TheFirstPictureIsDrawnAtAlphaOneThoughSetToThreeQuarters)
{
    // Grey 204 at alpha 1 shows 255 - 204 = 51; at 0.75 it would show about 140.
    const Pixel grey{204, 204, 204};
    writeImage("intro/statics/ryhma1.jpg", 32, 16, grey);
    TovoIntroEnvironment intro;
    intro.loadResources();
    ASSERT_EQ(intro.getSprites().size(), 8u);
    const KeyframedSprite& picture = intro.getSprites()[1];
    EXPECT_EQ(picture.getAlpha(), 0.75f);
    intro.render(4.0);
    EXPECT_EQ(picture.getAlpha(), 1.0f);
    // It fills the view whatever its proportions.
    for (const auto& at : {std::make_pair(CENTRE_X, CENTRE_Y), std::make_pair(2, 2), std::make_pair(637, 477)})
        expectPixel({51, 51, 51}, at.first, at.second);
}

TEST_F(TovoIntroEnvironmentTest, PropsAreDrawnFromTheEnginesGenerator)
{
    // The draws of one prop: its image, then per track a key count n and n keys, of two numbers
    // each for position and scale and one for alpha and rotation.
    auto expectedImages = [](unsigned int seed) {
        Random::seed(seed);
        std::vector<int> images;
        for (int p = 0; p < PROP_COUNT; ++p) {
            images.push_back(Random::next() % 5);
            for (int numbersPerKey : {2, 2, 1, 1}) {
                const int n = Random::next() % 8 + 2;
                for (int i = 0; i < n * numbersPerKey; ++i)
                    Random::next();
            }
        }
        return images;
    };
    for (unsigned int seed : {3u, 11u, 2024u}) {
        SCOPED_TRACE(seed);
        const std::vector<int> images = expectedImages(seed);
        Random::seed(seed);
        TovoIntroEnvironment first;
        first.loadResources();
        Random::seed(seed);
        TovoIntroEnvironment second;
        second.loadResources();
        for (int p = 0; p < PROP_COUNT; ++p) {
            const KeyframedSprite& prop = first.getSprites()[FIRST_PROP + p];
            EXPECT_EQ(prop.getBaseScaleX(), PROPS[images[p]].baseX) << "prop " << p;
            EXPECT_EQ(prop.getBaseScaleY(), PROPS[images[p]].baseY) << "prop " << p;
        }
        // The same seed gives the same tracks.
        for (double time : {0.0, 1.3, 4.7}) {
            first.render(time);
            second.render(time);
            for (int p = FIRST_PROP; p < FIRST_PROP + PROP_COUNT; ++p) {
                const KeyframedSprite& a = first.getSprites()[p];
                const KeyframedSprite& b = second.getSprites()[p];
                EXPECT_EQ(a.getPosition().x, b.getPosition().x);
                EXPECT_EQ(a.getPosition().y, b.getPosition().y);
                EXPECT_EQ(a.getScale().x, b.getScale().x);
                EXPECT_EQ(a.getAlpha(), b.getAlpha());
                EXPECT_EQ(a.getRotation(), b.getRotation());
            }
        }
    }
}

TEST_F(TovoIntroEnvironmentTest, PropTracksLoopOverTheirRanges)
{
    Random::seed(5);
    TovoIntroEnvironment intro;
    struct State {
        Vector position, scale;
        float alpha, rotation;
    };
    // Scene seconds, in the order drawn: position loops every 10 s, scale and rotation every 2 s,
    // alpha every 5 s.
    const double times[] = {0.0, 3.25, 5.25, 8.25, 13.25};
    std::vector<std::vector<State>> states;
    for (double time : times) {
        intro.render(time);
        std::vector<State> now;
        for (int p = FIRST_PROP; p < FIRST_PROP + PROP_COUNT; ++p) {
            const KeyframedSprite& prop = intro.getSprites()[p];
            now.push_back({prop.getPosition(), prop.getScale(), prop.getAlpha(), prop.getRotation()});
        }
        states.push_back(now);
    }
    for (int p = 0; p < PROP_COUNT; ++p) {
        SCOPED_TRACE(p);
        const State& at3 = states[1][p];
        EXPECT_NEAR(states[4][p].position.x, at3.position.x, 1e-5);
        EXPECT_NEAR(states[4][p].position.y, at3.position.y, 1e-5);
        EXPECT_NEAR(states[2][p].scale.x, at3.scale.x, 1e-5);
        EXPECT_NEAR(states[2][p].scale.y, at3.scale.y, 1e-5);
        EXPECT_NEAR(states[2][p].rotation, at3.rotation, 1e-3);
        EXPECT_NEAR(states[3][p].alpha, at3.alpha, 1e-5);
        // Keys lie in their bounds: scale 0.7 .. 1.1 at the keys, alpha within 0 .. 1.
        EXPECT_GE(states[0][p].scale.x, 0.7f - 1e-5f);
        EXPECT_LE(states[0][p].scale.x, 1.1f + 1e-5f);
        EXPECT_GE(at3.alpha, 0.0f);
        EXPECT_LE(at3.alpha, 1.0f);
    }
}

TEST_F(TovoIntroEnvironmentTest, AClockSetBackBeforeTheFirstFrameStartsTheSceneOver)
{
    TovoIntroEnvironment intro;
    intro.render(20.0);
    intro.render(26.0);
    expectPixel(TITLE_SHOWN);
    intro.render(5.0);  // the timer's "reset" or "set"
    EXPECT_EQ(intro.getStartTime(), 5.0f);
    expectPixel(WHITE);
    intro.render(11.0);
    expectPixel(TITLE_SHOWN);
    // A clock going back, but not before the first frame, just shows the earlier scene time.
    intro.render(9.0);
    EXPECT_EQ(intro.getStartTime(), 5.0f);
    expectPixel(WHITE);
}

TEST_F(TovoIntroEnvironmentTest, TheMusicStartsOnceWhenTheSceneIsInitialised)
{
    const std::string played = "[info] soundengine::play() - Playing sound.\n";
    LogCapture log;
    TovoIntroEnvironment intro;
    intro.loadResources();
    EXPECT_TRUE(log.contains("[error] soundengine::load() - Unable to load music from \"" + path("intro/intro1.ogg") +
                             "\".\n"))
        << log.text();
    EXPECT_EQ(count(log.text(), played), 0);
    intro.initialize();
    EXPECT_EQ(count(log.text(), played), 1);
    intro.initialize();
    for (double time : {1.0, 2.0, 3.0})
        intro.render(time);
    EXPECT_EQ(count(log.text(), played), 1) << log.text();
}

TEST_F(TovoIntroEnvironmentTest, TheControllerLoadsAndActivatesItByNameButReachesNothingInside)
{
    writeImage("intro/statics/ryhma1.jpg", 16, 16, {204, 204, 204});
    EnvironmentController controller;
    controller.initialize();
    controller.stringAction("createTovoIntroEnvironment", "intro");
    GenericEnvironment* registered = controller.Factory<GenericEnvironment>::find("intro");
    TovoIntroEnvironment* intro = dynamic_cast<TovoIntroEnvironment*>(registered);
    ASSERT_NE(intro, nullptr);
    EXPECT_EQ(intro->getName(), "intro");
    controller.stringAction("loadResources", "intro");
    EXPECT_EQ(intro->getSprites().size(), 8u);
    controller.stringAction("setActiveEnvironment", "intro");
    EXPECT_EQ(controller.getActiveEnvironment(), intro);
    for (double time : {1.0, 2.0}) {
        leaveLit3DState();
        controller.render(time);
        expectFlatView(true, GL_ONE_MINUS_SRC_ALPHA, GL_ONE_MINUS_SRC_COLOR);
        expectPixel({51, 51, 51}, 2, 2);
        EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
    }
    try {
        controller.action("intro.play");
        ADD_FAILURE() << "a path into the intro was followed";
    } catch (const ActionControllableException& e) {
        EXPECT_NE(e.getMessage().find("childAction() - Child action \"intro\" not found!"), std::string::npos)
            << e.getMessage();
    }
}
