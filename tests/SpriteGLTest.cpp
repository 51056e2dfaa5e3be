#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <string>
#include <vector>

#include "Camera.h"
#include "Environment.h"
#include "GLEnvironment.h"
#include "JpegWriter.h"
#include "Pixels.h"
#include "ResourceLoader.h"
#include "SceneViews.h"
#include "Sprite2D.h"
#include "Sprite3D.h"
#include "Surface.h"
#include "TestSupport.h"

// Screen-space and camera-facing sprites in a 3D scene on the shared window, drawn as the
// controller draws a scene (its view, then its render) with the program's back-face culling, and
// read back from the back buffer.
namespace {
const Pixel RED{255, 0, 0};
const Pixel GREEN{0, 255, 0};
const Pixel BLUE{0, 0, 255};
const Pixel WHITE{255, 255, 255};
const Pixel YELLOW{255, 255, 0};
const Pixel GREY{64, 64, 64};  // the scene's background

// A camera with a roll about its viewing axis and a turn, at a place.
class TurnedCamera : public Camera {
public:
    TurnedCamera(float rollDegrees, const Quaternion& turn, const Vector& place)
    {
        roll = rollDegrees;
        orientation = turn;
        position = place;
    }
};

class SpriteTest : public EyeSceneTest {
protected:
    void SetUp() override
    {
        EyeSceneTest::SetUp();
        // As the program leaves it at start-up.
        glCullFace(GL_BACK);
        glEnable(GL_CULL_FACE);
    }
    void TearDown() override
    {
        glDisable(GL_CULL_FACE);
        leaveLitScene();
        EyeSceneTest::TearDown();
    }

    // A 16 × 16 image of four 8 × 8 quarters, first row at the top: red top left, green top
    // right, blue bottom left, white bottom right.
    void writeQuarters(const std::string& file)
    {
        std::vector<unsigned char> pixels;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const Pixel& p = y < 8 ? (x < 8 ? RED : GREEN) : (x < 8 ? BLUE : WHITE);
                pixels.push_back(static_cast<unsigned char>(p.r));
                pixels.push_back(static_cast<unsigned char>(p.g));
                pixels.push_back(static_cast<unsigned char>(p.b));
            }
        writeJpeg(path(file), 16, 16, 3, pixels);
    }

    // A texture of the scene, created and loaded as the timeline does it.
    void loadTexture(const std::string& name, const std::string& file)
    {
        scene.stringAction("textureManager.createTexture", name);
        scene.stringAction("textureManager." + name + ".loadTexture", file);
    }

    void solidTexture(const std::string& name, const Pixel& colour)
    {
        const std::string file = name + ".jpg";
        writeJpeg(path(file), 16, 16, 3,
                  solidPixels(16, 16,
                              {static_cast<unsigned char>(colour.r), static_cast<unsigned char>(colour.g),
                               static_cast<unsigned char>(colour.b)}));
        loadTexture(name, file);
    }

    void frame(double time = 0.0)
    {
        scene.setViewState();
        scene.render(time);
    }
};
}

TEST_F(SpriteTest, Sprite2DCoversTheWindowFractionsFromItsLowerLeftCornerWithTheImageUpright)
{
    writeQuarters("quarters.jpg");
    loadTexture("quarters", "quarters.jpg");
    scene.stringAction("createSprite", "logo");
    scene.stringAction("logo.setTexture", "quarters");

    struct Case {
        const char* what;
        float x, y, width, height;
        std::vector<Probe> probes;
    } cases[] = {
        // The whole window: each image quarter fills a window quarter. A texel is 40 × 30 pixels,
        // and within half a texel of an edge the repeating texture blends in the opposite side.
        {"at (0, 0), 1 x 1",
         0.0f,
         0.0f,
         1.0f,
         1.0f,
         {{160, 360, RED}, {480, 360, GREEN}, {160, 120, BLUE}, {480, 120, WHITE}, {25, 20, BLUE}, {614, 459, GREEN},
          {25, 459, RED}, {614, 20, WHITE}}},
        // The upper-right window quarter, x 320..640 and y 240..480; the rest is background.
        {"at (0.5, 0.5), 0.5 x 0.5",
         0.5f,
         0.5f,
         0.5f,
         0.5f,
         {{400, 420, RED}, {560, 420, GREEN}, {400, 300, BLUE}, {560, 300, WHITE}, {160, 120, GREY},
          {160, 360, GREY}, {480, 120, GREY}, {310, 300, GREY}, {400, 230, GREY}}},
        // 0.25 wide and 0.5 high from (0.125, 0): x 80..240, y 0..240.
        {"at (0.125, 0), 0.25 x 0.5",
         0.125f,
         0.0f,
         0.25f,
         0.5f,
         {{120, 180, RED}, {200, 180, GREEN}, {120, 60, BLUE}, {200, 60, WHITE}, {70, 120, GREY}, {250, 120, GREY},
          {160, 250, GREY}}},
    };
    for (const Case& c : cases) {
        scene.floatAction("logo.setX", c.x);
        scene.floatAction("logo.setY", c.y);
        scene.floatAction("logo.setWidth", c.width);
        scene.floatAction("logo.setHeight", c.height);
        frame();
        expectProbes(c.probes, c.what);
    }
}

TEST_F(SpriteTest, Sprite2DInALitSceneShowsItsImageUnlitAndHandsBackTheScenesView)
{
    // A light from behind: anything lit would come out dark.
    scene.getLights().create("lamp", &scene)->setPosition(0, 0, -1, 0);
    solidTexture("flat", YELLOW);
    scene.stringAction("createSprite", "card");
    scene.stringAction("card.setTexture", "flat");
    Sprite2D* card = scene.getSprites2D().find("card");

    frame();
    EXPECT_TRUE(closeColour(readPixel(320, 240), YELLOW, 10)) << describe(readPixel(320, 240));

    // The view the scene had: lighting on, the camera's matrices, model-view current, front faces
    // counter-clockwise; the depth test as it was before.
    float modelview[16], projection[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    for (bool depthTest : {true, false}) {
        if (depthTest)
            glEnable(GL_DEPTH_TEST);
        else
            glDisable(GL_DEPTH_TEST);
        card->render(0.0);
        EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST) == GL_TRUE, depthTest);
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING)) << depthTest;
        GLint mode = 0, front = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        glGetIntegerv(GL_FRONT_FACE, &front);
        EXPECT_EQ(mode, GL_MODELVIEW);
        EXPECT_EQ(front, GL_CCW);
        float m[16], p[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        glGetFloatv(GL_PROJECTION_MATRIX, p);
        for (int i = 0; i < 16; ++i) {
            EXPECT_FLOAT_EQ(m[i], modelview[i]) << i;
            EXPECT_FLOAT_EQ(p[i], projection[i]) << i;
        }
    }
}

TEST_F(SpriteTest, Sprite3DFacesATurnedCameraAsAnUprightRectangleAroundItsProjectedPosition)
{
    solidTexture("flat", YELLOW);
    scene.stringAction("createSprite3D", "face");
    scene.stringAction("face.setTexture", "flat");
    scene.floatAction("face.setWidth", 4.0f);
    scene.floatAction("face.setHeight", 2.0f);

    // Every camera sees the sprite's centre at (0, 1.5, -10) in its view. Under the 45 degree
    // projection a unit at depth 10 spans k = 240 / (10 tan 22.5°) = 57.94 pixels, so the sprite
    // covers x 320 ± 2k (204 to 436) and y 240 + 1.5k ± k (269 to 385). A quad that kept the
    // roll of 90 degrees would stand 2k wide and 4k tall instead.
    const double k = 240.0 / (10.0 * std::tan(22.5 * 3.14159265358979 / 180.0));
    const int cx = 320;
    const int cy = static_cast<int>(std::lround(240.0 + 1.5 * k));
    const int hw = static_cast<int>(2.0 * k);
    const int hh = static_cast<int>(k);
    const std::vector<Probe> probes = {
        {cx, cy, YELLOW},
        {cx - hw + 6, cy - hh + 6, YELLOW},
        {cx + hw - 6, cy - hh + 6, YELLOW},
        {cx - hw + 6, cy + hh - 6, YELLOW},
        {cx + hw - 6, cy + hh - 6, YELLOW},
        {cx - hw - 6, cy, GREY},
        {cx + hw + 6, cy, GREY},
        {cx, cy - hh - 6, GREY},
        {cx, cy + hh + 6, GREY},
    };

    struct Case {
        const char* what;
        float roll;  // degrees
        Quaternion turn;
        Vector place;
    } cases[] = {
        {"rolled 90 degrees at the origin", 90.0f, Quaternion(), Vector(0, 0, 0)},
        {"turned about y and x, rolled 30 degrees, away from the origin", 30.0f,
         Quaternion(0.7f, 0, 1, 0) * Quaternion(0.4f, 1, 0, 0), Vector(5, -2, 7)},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string name = "turned" + std::to_string(n++);
        Factory<Camera>& cameras = scene.getCameraController();
        cameras.store(name, std::make_unique<TurnedCamera>(c.roll, c.turn, c.place));
        scene.stringAction("cameraController.setCamera", name);

        // The world position the camera sees at (0, 1.5, -10): back through its rotation R and
        // translation t, P = R^T (v - t).
        scene.setViewState();
        scene.getCameraController().getCurrentCamera()->render(0.0);
        float m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        const float v[3] = {0.0f - m[12], 1.5f - m[13], -10.0f - m[14]};
        float world[3];
        for (int j = 0; j < 3; ++j)
            world[j] = m[j * 4] * v[0] + m[j * 4 + 1] * v[1] + m[j * 4 + 2] * v[2];
        scene.floatAction("face.setX", world[0]);
        scene.floatAction("face.setY", world[1]);
        scene.floatAction("face.setZ", world[2]);

        frame();
        expectProbes(probes, c.what);
        // The camera's view is left as it was.
        float after[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, after);
        for (int i = 0; i < 16; ++i)
            EXPECT_FLOAT_EQ(after[i], m[i]) << c.what << ", element " << i;
    }
}

TEST_F(SpriteTest, PositionActionsChangeOneCoordinateAndA2DSpriteStaysAtDepth0)
{
    scene.stringAction("createSprite", "flat");
    scene.stringAction("createSprite3D", "deep");
    scene.floatAction("deep.setZ", 5.0f);
    for (const char* sprite : {"flat", "deep"}) {
        scene.floatAction(std::string(sprite) + ".setX", 0.3f);
        scene.floatAction(std::string(sprite) + ".setY", 0.2f);
    }
    const Vector flat = scene.getSprites2D().find("flat")->getPosition();
    const Vector deep = scene.getSprites3D().find("deep")->getPosition();
    const struct {
        const char* what;
        Vector got, expected;
    } cases[] = {{"flat", flat, Vector(0.3f, 0.2f, 0.0f)}, {"deep", deep, Vector(0.3f, 0.2f, 5.0f)}};
    for (const auto& c : cases)
        for (int i = 0; i < 3; ++i)
            EXPECT_FLOAT_EQ(c.got[i], c.expected[i]) << c.what << ", component " << i;
    EXPECT_FLOAT_EQ(scene.getSprites2D().find("flat")->getWidth(), 1.0f);
    EXPECT_FLOAT_EQ(scene.getSprites3D().find("deep")->getHeight(), 1.0f);
    EXPECT_THROW(scene.floatAction("flat.setZ", 1.0f), ActionException);
}

TEST_F(SpriteTest, SecondTextureJoinsTheFirstOnTheOneDefaultSurface)
{
    // Yellow modulated by cyan on the next texture unit: green.
    solidTexture("yellow", YELLOW);
    solidTexture("cyan", Pixel{0, 255, 255});
    scene.stringAction("createSprite", "both");
    scene.stringAction("both.setTexture", "yellow");
    scene.stringAction("both.setTexture", "cyan");

    Sprite2D* sprite = scene.getSprites2D().find("both");
    ASSERT_EQ(sprite->getSurfaces().size(), 1);
    Surface* surface = sprite->getSurfaces().find("default");
    EXPECT_EQ(surface->getName(), "default");
    const std::vector<Texture*> expected = {scene.getTextureManager().find("yellow"),
                                            scene.getTextureManager().find("cyan")};
    EXPECT_EQ(surface->getTextures(), expected);
    for (const auto& triangle : sprite->getTriangles())
        EXPECT_EQ(triangle.second.getSurfaceName(), "default");

    ASSERT_GE(surface->getTextureUnits(), 2);
    frame();
    EXPECT_TRUE(closeColour(readPixel(320, 240), GREEN, 10)) << describe(readPixel(320, 240));
}

TEST_F(SpriteTest, TextureSetAfterTheFirstFrameJoinsThePicture)
{
    // Yellow alone, then yellow modulated by cyan on the next texture unit: green. The second
    // texture arrives after the sprite has drawn (and recorded) itself once.
    solidTexture("yellow", YELLOW);
    solidTexture("cyan", Pixel{0, 255, 255});
    struct Case {
        const char* create;
        const char* sprite;
    } cases[] = {{"createSprite", "flat"}, {"createSprite3D", "facing"}};
    for (const Case& c : cases) {
        scene.stringAction(c.create, c.sprite);
        if (std::string(c.create) == "createSprite3D") {
            scene.floatAction(std::string(c.sprite) + ".setZ", -2.0f);
            scene.floatAction(std::string(c.sprite) + ".setWidth", 4.0f);
            scene.floatAction(std::string(c.sprite) + ".setHeight", 4.0f);
        }
        scene.stringAction(std::string(c.sprite) + ".setTexture", "yellow");
        frame();
        EXPECT_TRUE(closeColour(readPixel(320, 240), YELLOW, 10)) << c.sprite << ": " << describe(readPixel(320, 240));

        scene.stringAction(std::string(c.sprite) + ".setTexture", "cyan");
        frame();
        EXPECT_TRUE(closeColour(readPixel(320, 240), GREEN, 10)) << c.sprite << ": " << describe(readPixel(320, 240));
        // One sprite at a time over the middle of the window.
        if (std::string(c.create) == "createSprite")
            scene.floatAction(std::string(c.sprite) + ".setX", 2.0f);
    }
}

TEST_F(SpriteTest, TextureTheSceneDoesNotHoldFailsAndLeavesTheSpriteUnchanged)
{
    scene.stringAction("createSprite", "logo");
    scene.stringAction("createSprite3D", "face");
    struct Case {
        const char* sprite;
        const char* exception;
    } cases[] = {{"logo", "Sprite2DException"}, {"face", "Sprite3DException"}};
    for (const Case& c : cases) {
        try {
            scene.stringAction(std::string(c.sprite) + ".setTexture", "nowhere");
            FAIL() << c.sprite;
        } catch (Exception& e) {
            EXPECT_EQ(e.getMessage(), std::string("KelvoEngineException::::") + c.exception +
                                          "::setTexture() - Failed to set texture. KelvoEngineException::::Factory<"
                                          "Texture>Exception::find() - Unable to find component \"nowhere\".");
        }
    }
    EXPECT_EQ(scene.getSprites2D().find("logo")->getSurfaces().size(), 0);
    EXPECT_EQ(scene.getSprites3D().find("face")->getSurfaces().size(), 0);
}

TEST_F(SpriteTest, CreatingASpriteNameTwiceFailsWithTheFactorysMessage)
{
    struct Case {
        const char* action;
        const char* factory;
    } cases[] = {{"createSprite", "Factory<Sprite2D>"}, {"createSprite3D", "Factory<Sprite3D>"}};
    for (const Case& c : cases) {
        scene.stringAction(c.action, "twice");
        try {
            scene.stringAction(c.action, "twice");
            FAIL() << c.action;
        } catch (EnvironmentException& e) {
            EXPECT_EQ(e.getMessage(), std::string("KelvoEngineException::::EnvironmentException::createSprite() - "
                                                  "Failed to create Sprite. Exception message:KelvoEngineException::::") +
                                          c.factory +
                                          "Exception::create() - Unable to create new component. Component "
                                          "\"twice\" already exists in this factory!.");
        }
    }
    EXPECT_EQ(scene.getSprites2D().size(), 1);
    EXPECT_EQ(scene.getSprites3D().size(), 1);
}

TEST_F(SpriteTest, SceneDrawsScreenSpritesThenFacingSpritesThenFaders)
{
    // A red screen sprite over the window, a green facing sprite 2 x 2 units at depth 5 in the
    // middle, then a black fader at alpha 0.5 over both (half way through its default fade).
    solidTexture("red", RED);
    solidTexture("green", GREEN);
    scene.stringAction("createSprite", "back");
    scene.stringAction("back.setTexture", "red");
    scene.stringAction("createSprite3D", "front");
    scene.stringAction("front.setTexture", "green");
    scene.floatAction("front.setZ", -5.0f);
    scene.floatAction("front.setWidth", 2.0f);
    scene.floatAction("front.setHeight", 2.0f);
    scene.stringAction("createFader", "fade");
    frame(1.0);
    EXPECT_TRUE(closeColour(readPixel(320, 240), Pixel{0, 128, 0}, 10)) << describe(readPixel(320, 240));
    EXPECT_TRUE(closeColour(readPixel(20, 20), Pixel{128, 0, 0}, 10)) << describe(readPixel(20, 20));
}
