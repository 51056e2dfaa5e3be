#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "AnimatedSprite.h"
#include "GLEnvironment.h"
#include "Pixels.h"
#include "JpegWriter.h"
#include "KeyframedSprite.h"
#include "Random.h"
#include "ResourceLoader.h"
#include "TestSupport.h"
#include "Texture.h"
#include "TextureManager.h"

// Animated sprites drawn in the flat view of the 2D scenes (orthographic -1..1, texturing on, no
// blending) over a white window; images are JPEGs written into the test's resource folder.
namespace {
const std::vector<unsigned char> RED = {255, 0, 0};
const std::vector<unsigned char> GREEN = {0, 255, 0};
const std::vector<unsigned char> BLUE = {0, 0, 255};

class AnimatedSpriteTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath(temp->path() + "/");
        drainGLErrors();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-1.0, 1.0, -1.0, 1.0, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glDisable(GL_BLEND);
        glEnable(GL_TEXTURE_2D);
        white();
    }
    void TearDown() override
    {
        EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
        glDisable(GL_TEXTURE_2D);
        ResourceLoader::setResourcePath("");
        TempDirTest::TearDown();
    }

    static void white()
    {
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    void image(const std::string& name, int width, int height, const std::vector<unsigned char>& colour) const
    {
        writeJpeg(path(name), width, height, 3, solidPixels(width, height, colour));
    }

    // A sprite of the manager with the sequence prefix loaded.
    AnimatedSprite* loaded(AnimatedSprite& sprite, const std::string& prefix)
    {
        sprite.setTextureManager(&manager);
        sprite.loadImageSequence(prefix);
        return &sprite;
    }

    // The centre pixel after drawing sprite alone over white at time.
    static Pixel centreAt(AnimatedSprite& sprite, double time)
    {
        white();
        sprite.render(time);
        return readPixel(320, 240);
    }

    TextureManager manager;
};
}

TEST_F(AnimatedSpriteTest, FreshSpriteHasTheDocumentedValues)
{
    AnimatedSprite sprite;
    EXPECT_FLOAT_EQ(sprite.getBaseScaleX(), 1.0f);
    EXPECT_FLOAT_EQ(sprite.getBaseScaleY(), 1.0f);
    EXPECT_FLOAT_EQ(sprite.getAlpha(), 1.0f);
    EXPECT_FLOAT_EQ(sprite.getRotation(), 0.0f);
    EXPECT_FLOAT_EQ(sprite.getScale().x, 1.0f);
    EXPECT_FLOAT_EQ(sprite.getScale().y, 1.0f);
    EXPECT_FLOAT_EQ(sprite.getPosition().x, 0.0f);
    EXPECT_TRUE(sprite.isEnabled());
    EXPECT_EQ(sprite.getFrameCount(), 0);
    EXPECT_EQ(sprite.getCurrentFrame(), -1);
    EXPECT_FLOAT_EQ(sprite.getNextSwitchTime(), 0.0f);
}

TEST_F(AnimatedSpriteTest, SequenceStopsAtTheFirstMissingNumber)
{
    image("seq/b01.jpg", 16, 16, RED);
    image("seq/b02.jpg", 16, 16, GREEN);
    image("seq/b04.jpg", 16, 16, BLUE);
    AnimatedSprite sprite;
    loaded(sprite, "seq/b0");
    EXPECT_EQ(sprite.getFrameCount(), 2);
    EXPECT_TRUE(manager.exists("seq/b01.jpg"));
    EXPECT_TRUE(manager.exists("seq/b02.jpg"));
    EXPECT_FALSE(manager.exists("seq/b04.jpg"));
    EXPECT_FALSE(manager.exists("seq/b03.jpg"));

    // Shown in sequence order, one image a second, starting at the first render.
    EXPECT_TRUE(nearColour(centreAt(sprite, 0.0), 255, 0, 0));
    EXPECT_TRUE(nearColour(centreAt(sprite, 1.0), 0, 255, 0));
    Pixel p = centreAt(sprite, 2.0);
    EXPECT_TRUE(nearColour(p, 255, 0, 0)) << "wraps round after two images: " << describe(p);
}

TEST_F(AnimatedSpriteTest, NumbersHaveNoLeadingZerosAndGoPastNine)
{
    for (int n = 1; n <= 11; ++n)
        image("anim" + std::to_string(n) + ".jpg", 8, 8, n % 2 ? RED : BLUE);
    image("anim012.jpg", 8, 8, RED);
    AnimatedSprite sprite;
    loaded(sprite, "anim");
    EXPECT_EQ(sprite.getFrameCount(), 11);
}

TEST_F(AnimatedSpriteTest, TheLastImagesAspectSetsTheBaseScale)
{
    image("wide1.jpg", 200, 100, RED);
    AnimatedSprite wide;
    loaded(wide, "wide");
    EXPECT_FLOAT_EQ(wide.getBaseScaleX(), 1.0f);
    EXPECT_FLOAT_EQ(wide.getBaseScaleY(), 0.5f);

    image("tall1.jpg", 100, 200, RED);
    AnimatedSprite tall;
    loaded(tall, "tall");
    EXPECT_FLOAT_EQ(tall.getBaseScaleX(), 0.5f);
    EXPECT_FLOAT_EQ(tall.getBaseScaleY(), 1.0f);

    // A wide, then a square, then a tall image: the tall one decides.
    image("mix1.jpg", 64, 32, RED);
    image("mix2.jpg", 32, 32, GREEN);
    image("mix3.jpg", 48, 64, BLUE);
    AnimatedSprite mix;
    loaded(mix, "mix");
    EXPECT_EQ(mix.getFrameCount(), 3);
    EXPECT_FLOAT_EQ(mix.getBaseScaleX(), 0.75f);
    EXPECT_FLOAT_EQ(mix.getBaseScaleY(), 1.0f);

    // Drawn: the 200 x 100 image covers x -0.5..0.5 and y -0.25..0.25 of the -1..1 view.
    white();
    wide.render(0.0);
    EXPECT_TRUE(nearColour(readPixel(320, 240), 255, 0, 0));
    EXPECT_TRUE(nearColour(readPixel(165, 240), 255, 0, 0));
    EXPECT_TRUE(nearColour(readPixel(320, 240 + 55), 255, 0, 0));
    EXPECT_TRUE(nearColour(readPixel(320, 240 + 65), 255, 255, 255)) << describe(readPixel(320, 240 + 65));
    EXPECT_TRUE(nearColour(readPixel(155, 240), 255, 255, 255));
}

TEST_F(AnimatedSpriteTest, NoImageFailsNamingThePathTriedAndKeepsTheFramesItHad)
{
    image("one1.jpg", 8, 8, RED);
    std::filesystem::create_directories(path("folder1.jpg"));
    AnimatedSprite sprite;
    loaded(sprite, "one");
    struct Case {
        const char* prefix;
        const char* file;  // the first image's joined path, after the resource folder
        const char* reason;
    } cases[] = {
        {"none", "none1.jpg", "file not found"},
        {"sub\\none", "sub/none1.jpg", "file not found"},
        {"folder", "folder1.jpg", "not a regular file"},
    };
    for (const Case& c : cases) {
        LogCapture log;
        try {
            sprite.stringAction("loadImageSequence", c.prefix);
            ADD_FAILURE() << "no exception for " << c.prefix;
        } catch (AnimatedSpriteException& e) {
            EXPECT_EQ(e.getMessage(), std::string("KelvoEngineException::::AnimatedSpriteException::loadImageSequence() - "
                                                  "Failed to load any images from \"") +
                                          c.prefix + "\"! File \"" + temp->path() + "/" + c.file + "\": " + c.reason + ".");
        }
        EXPECT_EQ(sprite.getFrameCount(), 1);
        EXPECT_EQ(log.errors(), 0);
        EXPECT_EQ(log.warnings(), 0);
    }
}

TEST_F(AnimatedSpriteTest, UnreadableFirstImageFailsAndALaterOneEndsTheSequence)
{
    writeFile("bad1.jpg", "not a jpeg");
    AnimatedSprite sprite;
    sprite.setTextureManager(&manager);
    EXPECT_THROW(sprite.loadImageSequence("bad"), AnimatedSpriteException);
    EXPECT_EQ(sprite.getFrameCount(), 0);
    EXPECT_FALSE(manager.exists("bad1.jpg")) << "the texture that failed to load leaves the manager";

    image("part1.jpg", 8, 8, RED);
    image("part2.jpg", 8, 8, GREEN);
    writeFile("part3.jpg", "broken");
    image("part4.jpg", 8, 8, BLUE);
    sprite.loadImageSequence("part");
    EXPECT_EQ(sprite.getFrameCount(), 2);
    EXPECT_FALSE(manager.exists("part3.jpg"));
}

TEST_F(AnimatedSpriteTest, ASecondSequenceIsAppended)
{
    image("a1.jpg", 8, 8, RED);
    image("c1.jpg", 8, 8, BLUE);
    image("c2.jpg", 8, 8, GREEN);
    AnimatedSprite sprite;
    loaded(sprite, "a");
    sprite.stringAction("loadImageSequence", "c");
    EXPECT_EQ(sprite.getFrameCount(), 3);
    EXPECT_TRUE(nearColour(centreAt(sprite, 0.0), 255, 0, 0));
    EXPECT_TRUE(nearColour(centreAt(sprite, 1.0), 0, 0, 255));
    EXPECT_TRUE(nearColour(centreAt(sprite, 2.0), 0, 255, 0));
}

TEST_F(AnimatedSpriteTest, ImagesFirstRowIsAtTheTop)
{
    // Top half red, bottom half blue.
    std::vector<unsigned char> pixels;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const std::vector<unsigned char>& c = y < 16 ? RED : BLUE;
            pixels.insert(pixels.end(), c.begin(), c.end());
        }
    writeJpeg(path("half1.jpg"), 32, 32, 3, pixels);
    AnimatedSprite sprite;
    loaded(sprite, "half");
    white();
    sprite.render(0.0);
    // The square spans 160..480 in x and 120..360 in y (window rows count from the bottom).
    EXPECT_TRUE(nearColour(readPixel(320, 330), 255, 0, 0, 12)) << describe(readPixel(320, 330));
    EXPECT_TRUE(nearColour(readPixel(320, 150), 0, 0, 255, 12)) << describe(readPixel(320, 150));
}

TEST_F(AnimatedSpriteTest, PositionScaleRotationAndAlphaPlaceAndTintTheSquare)
{
    image("sq1.jpg", 16, 16, RED);
    AnimatedSprite sprite;
    loaded(sprite, "sq");
    sprite.setPosition(Vector(0.5f, 0.5f, 0.0f));
    sprite.setScale(Vector(0.5f, 0.5f, 7.0f));
    white();
    sprite.render(0.0);
    // Centre (0.5, 0.5) is window pixel (480, 360); the square is 0.5 wide: 160 x 120 pixels.
    EXPECT_TRUE(nearColour(readPixel(480, 360), 255, 0, 0));
    EXPECT_TRUE(nearColour(readPixel(480 + 75, 360 + 55), 255, 0, 0));
    EXPECT_TRUE(nearColour(readPixel(480 + 85, 360), 255, 255, 255));
    EXPECT_TRUE(nearColour(readPixel(320, 240), 255, 255, 255));

    // Rotated 45 degrees: a diamond; the square's corner region is white, the diamond's tip red.
    sprite.setPosition(Vector(0.0f, 0.0f, 0.0f));
    sprite.setScale(Vector(1.0f, 1.0f, 1.0f));
    sprite.setRotation(45.0f);
    white();
    sprite.render(0.5);
    EXPECT_TRUE(nearColour(readPixel(320 + 150, 240 + 110), 255, 255, 255)) << "corner of the unrotated square";
    EXPECT_TRUE(nearColour(readPixel(320 + 215, 240), 255, 0, 0)) << "tip at 0.707 on the x axis";

    // Alpha darkens the image: with modulate mode and no blending, red 1 becomes red 0.5.
    sprite.setRotation(0.0f);
    sprite.setAlpha(0.5f);
    Pixel p = centreAt(sprite, 0.5);
    EXPECT_TRUE(nearColour(p, 128, 0, 0)) << describe(p);
}

TEST_F(AnimatedSpriteTest, AlphaIsKeptWithinZeroAndOne)
{
    AnimatedSprite sprite;
    sprite.setAlpha(1.7f);
    EXPECT_FLOAT_EQ(sprite.getAlpha(), 1.0f);
    sprite.setAlpha(-0.2f);
    EXPECT_FLOAT_EQ(sprite.getAlpha(), 0.0f);
    sprite.setAlpha(0.3f);
    EXPECT_FLOAT_EQ(sprite.getAlpha(), 0.3f);
    sprite.setAlpha(std::numeric_limits<float>::quiet_NaN());
    EXPECT_FLOAT_EQ(sprite.getAlpha(), 0.0f);
    sprite.setAlpha(0.0f);
    EXPECT_FLOAT_EQ(sprite.getAlpha(), 0.0f);
    sprite.setAlpha(1.0f);
    EXPECT_FLOAT_EQ(sprite.getAlpha(), 1.0f);
}

TEST_F(AnimatedSpriteTest, DisabledSpriteNeitherDrawsNorAdvances)
{
    image("d1.jpg", 8, 8, RED);
    image("d2.jpg", 8, 8, GREEN);
    AnimatedSprite sprite;
    loaded(sprite, "d");
    EXPECT_TRUE(nearColour(centreAt(sprite, 0.0), 255, 0, 0));
    sprite.action("disable");
    EXPECT_FALSE(sprite.isEnabled());
    for (double t : {1.0, 2.0, 3.5}) {
        EXPECT_TRUE(nearColour(centreAt(sprite, t), 255, 255, 255)) << t;
        EXPECT_EQ(sprite.getCurrentFrame(), 0) << t;
        EXPECT_FLOAT_EQ(sprite.getNextSwitchTime(), 1.0f) << t;
    }
    // Enabled again after its switch time: exactly one image further.
    sprite.action("enable");
    EXPECT_TRUE(nearColour(centreAt(sprite, 5.0), 0, 255, 0));
    EXPECT_EQ(sprite.getCurrentFrame(), 1);
    EXPECT_FLOAT_EQ(sprite.getNextSwitchTime(), 6.0f) << "measured from the switching render";
}

TEST_F(AnimatedSpriteTest, WithoutJitterASwitchComesExactlyOneFrameTimeAfterTheLast)
{
    image("j1.jpg", 8, 8, RED);
    image("j2.jpg", 8, 8, GREEN);
    image("j3.jpg", 8, 8, BLUE);
    AnimatedSprite sprite;
    loaded(sprite, "j");
    sprite.setFrameTime(0.25f, 0.0f);
    sprite.render(0.1);
    EXPECT_EQ(sprite.getCurrentFrame(), 0);
    EXPECT_FLOAT_EQ(sprite.getNextSwitchTime(), 0.35f);
    sprite.render(0.3);
    EXPECT_EQ(sprite.getCurrentFrame(), 0);
    sprite.render(0.35);
    EXPECT_EQ(sprite.getCurrentFrame(), 1);
    // A late frame switches once, and the next interval counts from it.
    sprite.render(2.0);
    EXPECT_EQ(sprite.getCurrentFrame(), 2);
    EXPECT_FLOAT_EQ(sprite.getNextSwitchTime(), 2.25f);
    sprite.render(2.25);
    EXPECT_EQ(sprite.getCurrentFrame(), 0);
}

TEST_F(AnimatedSpriteTest, JitteredIntervalsComeFromTheEnginesGeneratorWithinTheirBounds)
{
    image("r1.jpg", 8, 8, RED);
    image("r2.jpg", 8, 8, GREEN);
    AnimatedSprite sprite;
    loaded(sprite, "r");
    sprite.setFrameTime(0.3f, 0.1f);

    // The generator's values for this seed, as the sprite will draw them.
    Random::seed(4711u);
    std::vector<int> values;
    for (int i = 0; i < 200; ++i)
        values.push_back(Random::next());
    Random::seed(4711u);

    const float c = 1.0f / 32767.0f;
    float smallest = 1.0f, largest = 0.0f;
    double t = 0.0;
    int switches = 0;
    while (switches < 200) {
        const int before = sprite.getCurrentFrame();
        sprite.render(t);
        if (sprite.getCurrentFrame() != before) {
            const float expected =
                static_cast<float>((static_cast<float>(values[switches]) * 0.1f * c + 0.3f) + t - 0.1f * 0.5);
            ASSERT_FLOAT_EQ(sprite.getNextSwitchTime(), expected) << "switch " << switches;
            const double interval = sprite.getNextSwitchTime() - t;
            smallest = std::min(smallest, static_cast<float>(interval));
            largest = std::max(largest, static_cast<float>(interval));
            ++switches;
        }
        t += 0.01;
    }
    EXPECT_GE(smallest, 0.25f - 1e-4f);
    EXPECT_LE(largest, 0.35f + 1e-4f);
    EXPECT_LT(smallest, 0.26f) << "the spread is used";
    EXPECT_GT(largest, 0.34f);
}

TEST_F(AnimatedSpriteTest, ClockGoingBackwardsRestartsTheSchedule)
{
    image("k1.jpg", 8, 8, RED);
    image("k2.jpg", 8, 8, GREEN);
    image("k3.jpg", 8, 8, BLUE);
    AnimatedSprite sprite;
    loaded(sprite, "k");
    sprite.setFrameTime(2.0f, 0.0f);
    sprite.render(0.0);
    sprite.render(2.0);
    sprite.render(4.0);
    sprite.render(6.0);
    sprite.render(8.0);
    EXPECT_EQ(sprite.getCurrentFrame(), 1);
    EXPECT_FLOAT_EQ(sprite.getNextSwitchTime(), 10.0f);

    // The timer is reset: the sprite switches at once and goes on from the new time, instead
    // of freezing until 10 seconds come round again.
    EXPECT_TRUE(nearColour(centreAt(sprite, 0.0), 0, 0, 255));
    EXPECT_EQ(sprite.getCurrentFrame(), 2);
    EXPECT_FLOAT_EQ(sprite.getNextSwitchTime(), 2.0f);
    sprite.render(1.0);
    EXPECT_EQ(sprite.getCurrentFrame(), 2);
    EXPECT_TRUE(nearColour(centreAt(sprite, 2.0), 255, 0, 0));
    EXPECT_EQ(sprite.getCurrentFrame(), 0);

    // Rendering again at the time of the last switch is no step back.
    sprite.render(2.0);
    EXPECT_EQ(sprite.getCurrentFrame(), 0);
    sprite.render(2.5);
    EXPECT_EQ(sprite.getCurrentFrame(), 0);
    EXPECT_FLOAT_EQ(sprite.getNextSwitchTime(), 4.0f);

    // A step back within the current interval, but before its switch time: restarts too.
    sprite.render(1.5);
    EXPECT_EQ(sprite.getCurrentFrame(), 1);
    EXPECT_FLOAT_EQ(sprite.getNextSwitchTime(), 3.5f);
}

TEST_F(AnimatedSpriteTest, SpriteWithoutImagesDrawsAndAdvancesNothing)
{
    AnimatedSprite sprite;
    sprite.setTextureManager(&manager);
    for (double t : {0.0, 1.0, 5.0}) {
        EXPECT_TRUE(nearColour(centreAt(sprite, t), 255, 255, 255));
        EXPECT_EQ(sprite.getCurrentFrame(), -1);
        EXPECT_FLOAT_EQ(sprite.getNextSwitchTime(), 0.0f);
    }
    // No texture manager either: the sequence fails, nothing breaks.
    AnimatedSprite bare;
    image("x1.jpg", 8, 8, RED);
    EXPECT_THROW(bare.loadImageSequence("x"), AnimatedSpriteException);
    bare.render(1.0);
    EXPECT_EQ(bare.getCurrentFrame(), -1);
}

TEST_F(AnimatedSpriteTest, BeforeTheFirstSwitchATimeBelowZeroShowsNothing)
{
    image("n1.jpg", 8, 8, RED);
    AnimatedSprite sprite;
    loaded(sprite, "n");
    EXPECT_TRUE(nearColour(centreAt(sprite, -0.5), 255, 255, 255));
    EXPECT_EQ(sprite.getCurrentFrame(), -1);
    EXPECT_TRUE(nearColour(centreAt(sprite, 0.0), 255, 0, 0));
    EXPECT_EQ(sprite.getCurrentFrame(), 0);
}

TEST_F(AnimatedSpriteTest, CopyShowsTheSameTexturesAndRunsItsOwnActions)
{
    image("p1.jpg", 8, 8, RED);
    AnimatedSprite original;
    loaded(original, "p");
    AnimatedSprite copy(original);
    EXPECT_EQ(copy.getFrameCount(), 1);
    copy.action("disable");
    EXPECT_FALSE(copy.isEnabled());
    EXPECT_TRUE(original.isEnabled()) << "the copy's handlers act on the copy";
    EXPECT_TRUE(nearColour(centreAt(original, 0.0), 255, 0, 0));
    copy.action("enable");
    EXPECT_TRUE(nearColour(centreAt(copy, 0.0), 255, 0, 0));
}

TEST_F(AnimatedSpriteTest, KeyframedSpriteWithoutKeysShowsTheDefaults)
{
    image("f1.jpg", 16, 16, RED);
    KeyframedSprite sprite;
    loaded(sprite, "f");
    sprite.setPosition(Vector(0.7f, 0.7f, 0.0f));
    sprite.setAlpha(0.2f);
    sprite.render(3.0);
    EXPECT_FLOAT_EQ(sprite.getPosition().x, 0.0f);
    EXPECT_FLOAT_EQ(sprite.getPosition().y, 0.0f);
    EXPECT_FLOAT_EQ(sprite.getRotation(), 0.0f);
    EXPECT_FLOAT_EQ(sprite.getAlpha(), 1.0f);
    EXPECT_FLOAT_EQ(sprite.getScale().x, 1.0f);
    EXPECT_FLOAT_EQ(sprite.getScale().y, 1.0f);
    EXPECT_FLOAT_EQ(sprite.getScale().z, 1.0f);
}

TEST_F(AnimatedSpriteTest, KeyframedSpriteFollowsCopiesOfItsTracks)
{
    image("g1.jpg", 16, 16, RED);
    KeyframedSprite sprite;
    loaded(sprite, "g");

    TCBVectorInterpolator position(24.0f);
    position.addKey(0.0f, Vector(-0.5f, 0.0f, 0.0f));
    position.addKey(24.0f, Vector(0.5f, 0.0f, 0.0f));
    TCBFloatInterpolator alpha(24.0f);
    alpha.addKey(0.0f, 0.5f);
    alpha.addKey(24.0f, 1.5f);
    TCBVectorInterpolator scale(24.0f);
    scale.addKey(0.0f, Vector(0.5f, 0.5f, 1.0f));
    TCBFloatInterpolator rotation(24.0f);
    rotation.addKey(0.0f, 30.0f);
    sprite.setPositionTrack(position);
    sprite.setAlphaTrack(alpha);
    sprite.setScaleTrack(scale);
    sprite.setRotationTrack(rotation);
    // The caller's tracks are not kept.
    position.addKey(48.0f, Vector(9.0f, 9.0f, 9.0f));

    white();
    sprite.render(0.0);
    EXPECT_FLOAT_EQ(sprite.getPosition().x, -0.5f);
    EXPECT_FLOAT_EQ(sprite.getAlpha(), 0.5f);
    EXPECT_FLOAT_EQ(sprite.getScale().x, 0.5f);
    EXPECT_FLOAT_EQ(sprite.getRotation(), 30.0f);
    EXPECT_TRUE(nearColour(readPixel(160, 240), 128, 0, 0)) << describe(readPixel(160, 240));
    EXPECT_TRUE(nearColour(readPixel(320, 240), 255, 255, 255));

    // At 1 second (frame 24) the alpha track's 1.5 is drawn as alpha 1.
    white();
    sprite.render(1.0);
    EXPECT_FLOAT_EQ(sprite.getPosition().x, 0.5f);
    EXPECT_FLOAT_EQ(sprite.getAlpha(), 1.0f);
    EXPECT_TRUE(nearColour(readPixel(480, 240), 255, 0, 0)) << describe(readPixel(480, 240));
    sprite.render(2.0);
    EXPECT_FLOAT_EQ(sprite.getPosition().x, 0.5f) << "the copy ends at its own last key";

    // A copy of the sprite carries copies of the tracks.
    KeyframedSprite copy(sprite);
    copy.render(0.0);
    EXPECT_FLOAT_EQ(copy.getPosition().x, -0.5f);
    EXPECT_FLOAT_EQ(copy.getAlpha(), 0.5f);
}
