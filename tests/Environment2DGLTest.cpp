#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <string>
#include <vector>

#include "AnimatedSprite.h"
#include "Camera.h"
#include "Environment2D.h"
#include "EnvironmentController.h"
#include "Fader.h"
#include "GLEnvironment.h"
#include "Pixels.h"
#include "JpegWriter.h"
#include "ResourceLoader.h"
#include "TestSupport.h"

// The 2D scene on the shared window: state and pixels read back from the back buffer.
namespace {
// A perspective 3D view with depth test, lighting and blending on, as a 3D scene or the start-up
// leaves it.
void perspectiveView()
{
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    Camera::setPerspective(45.0f, 640.0f / 480.0f, 1.0f, 300.0f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -5.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

void expectFlatView()
{
    float m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    // glOrtho(-1, 1, -1, 1, -1, 1) is the identity with z mirrored.
    const float ortho[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(m[i], ortho[i]) << "projection " << i;
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(m[i], i % 5 == 0 ? 1.0f : 0.0f) << "modelview " << i;
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    float clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[0], 1.0f);
    EXPECT_FLOAT_EQ(clear[1], 1.0f);
    EXPECT_FLOAT_EQ(clear[2], 1.0f);
    EXPECT_FLOAT_EQ(clear[3], 1.0f);
}

const std::vector<unsigned char> RED = {255, 0, 0};
const std::vector<unsigned char> BLUE = {0, 0, 255};

class Environment2DTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath(temp->path() + "/");
        drainGLErrors();
        perspectiveView();
        writeJpeg(path("img/red1.jpg"), 16, 16, 3, solidPixels(16, 16, RED));
        writeJpeg(path("img/blue1.jpg"), 16, 16, 3, solidPixels(16, 16, BLUE));
    }
    void TearDown() override
    {
        EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        ResourceLoader::setResourcePath("");
        TempDirTest::TearDown();
    }

    // As the controller renders a scene: its view, then its render.
    static Pixel frame(Environment2D& scene, double time)
    {
        scene.setViewState();
        scene.render(time);
        return readPixel();
    }
};
}

TEST_F(Environment2DTest, FreshSceneIsEmptyAndUninitialized)
{
    Environment2D scene;
    EXPECT_FALSE(scene.isInitialized());
    EXPECT_FALSE(scene.areResourcesLoaded());
    EXPECT_TRUE(scene.getSprites().empty());
    EXPECT_EQ(scene.getFaders().size(), 0);
    EXPECT_EQ(scene.getFaders().getFactoryName(), "Factory<Fader>");
    EXPECT_EQ(scene.getTextureManager().size(), 0);
    scene.loadResources();
    EXPECT_TRUE(scene.areResourcesLoaded());
    EXPECT_FALSE(scene.isInitialized());
}

TEST_F(Environment2DTest, InitializeLoadsTheResourcesAndSetsTheFlatView)
{
    Environment2D scene;
    scene.initialize();
    EXPECT_TRUE(scene.isInitialized());
    EXPECT_TRUE(scene.areResourcesLoaded());
    expectFlatView();

    // Once only: a second call changes nothing.
    perspectiveView();
    scene.initialize();
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(Environment2DTest, EmptySceneRendersWhite)
{
    Environment2D scene;
    Pixel p = frame(scene, 0.0);
    EXPECT_TRUE(nearColour(p, 255, 255, 255, 0)) << describe(p);
    EXPECT_TRUE(scene.isInitialized());
}

TEST_F(Environment2DTest, ViewStateIsSetAtEachRenderAfterA3DView)
{
    Environment2D scene;
    scene.stringAction("createAnimatedSprite", "sprite");
    scene.stringAction("sprite.loadImageSequence", "img/red");
    // The 3D set-up (or another scene) runs after the 2D scene was initialized at time 0.
    perspectiveView();
    Pixel p = frame(scene, 0.0);
    expectFlatView();
    EXPECT_TRUE(nearColour(p, 255, 0, 0)) << describe(p);
    // The unit square in the -1..1 view: x 160..480, y 120..360; white around it.
    EXPECT_TRUE(nearColour(readPixel(170, 130), 255, 0, 0));
    EXPECT_TRUE(nearColour(readPixel(150, 240), 255, 255, 255, 0));
    EXPECT_TRUE(nearColour(readPixel(320, 370), 255, 255, 255, 0));
}

TEST_F(Environment2DTest, FirstSpriteCreationInitializesAndTheFirstRenderDoesNotAgain)
{
    Environment2D scene;
    scene.createFader("fade");
    EXPECT_FALSE(scene.isInitialized()) << "creating a fader does not initialize";
    scene.createAnimatedSprite("s");
    EXPECT_TRUE(scene.isInitialized());
    expectFlatView();

    // Not initialized again at the first render: the clear colour set since stays.
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    scene.getFaders().find("fade")->disable();
    scene.render(0.0);
    EXPECT_TRUE(nearColour(readPixel(), 0, 255, 0, 0)) << describe(readPixel());
}

TEST_F(Environment2DTest, SpritesDrawInCreationOrder)
{
    Environment2D scene;
    scene.createAnimatedSprite("b");
    scene.createAnimatedSprite("a");
    scene.stringAction("b.loadImageSequence", "img/red");
    scene.stringAction("a.loadImageSequence", "img/blue");
    ASSERT_EQ(scene.getSprites().size(), 2u);
    Pixel p = frame(scene, 0.0);
    EXPECT_TRUE(nearColour(p, 0, 0, 255)) << "a, created second, covers b: " << describe(p);
}

TEST_F(Environment2DTest, FadersDrawInNameOrderAfterAllSprites)
{
    Environment2D scene;
    scene.createFader("z");
    scene.createFader("m");
    scene.createAnimatedSprite("sprite");  // created after the faders, drawn before them
    scene.stringAction("sprite.loadImageSequence", "img/blue");
    // m: opaque green; z: red at alpha 0.5.
    scene.stringAction("m.setColor", "#00ff00");
    scene.floatAction("m.setEndAlpha", 1.0f);
    scene.stringAction("z.setColor", "#ff0000");
    scene.floatAction("z.setStartAlpha", 0.5f);
    scene.floatAction("z.setEndAlpha", 0.5f);

    Pixel p = frame(scene, 1.0);
    // m first covers everything green, then z blends red over it: half red, half green. In
    // creation order (z, then m) it would be plain green; with the sprite last, blue.
    EXPECT_TRUE(nearColour(p, 128, 128, 0, 3)) << describe(p);
    EXPECT_TRUE(nearColour(readPixel(5, 5), 128, 128, 0, 3)) << describe(readPixel(5, 5));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(Environment2DTest, DefaultFaderDarkensTheSceneAndSwitchesItselfOff)
{
    Environment2D scene;
    scene.createFader("fade");
    Fader* fader = scene.getFaders().find("fade");
    EXPECT_EQ(fader->getName(), "fade");
    EXPECT_FLOAT_EQ(fader->getStartAlpha(), 1.0f);
    EXPECT_FLOAT_EQ(fader->getEndAlpha(), 0.0f);
    EXPECT_FLOAT_EQ(fader->getStartTime(), 0.0f);
    EXPECT_FLOAT_EQ(fader->getDuration(), 2.0f);
    EXPECT_FLOAT_EQ(fader->getRed() + fader->getGreen() + fader->getBlue(), 0.0f);

    EXPECT_TRUE(nearColour(frame(scene, 0.0), 0, 0, 0, 1));
    Pixel p = frame(scene, 1.0);
    EXPECT_TRUE(nearColour(p, 128, 128, 128, 2)) << describe(p);
    frame(scene, 2.5);
    EXPECT_FALSE(fader->isEnabled());
    EXPECT_TRUE(nearColour(frame(scene, 1.0), 255, 255, 255, 0));
    scene.action("fade.enable");
    EXPECT_TRUE(nearColour(frame(scene, 1.0), 128, 128, 128, 2));
}

TEST_F(Environment2DTest, SpriteAlphaDarkensWithoutBlending)
{
    Environment2D scene;
    scene.createAnimatedSprite("sprite");
    scene.stringAction("sprite.loadImageSequence", "img/red");
    scene.getSprites()[0]->setAlpha(0.5f);
    Pixel p = frame(scene, 0.0);
    EXPECT_TRUE(nearColour(p, 128, 0, 0)) << "darkened, not blended with the white: " << describe(p);
}

TEST_F(Environment2DTest, RepeatedSpriteNameDrawsBothAndReachesTheNewest)
{
    Environment2D scene;
    scene.createAnimatedSprite("s");
    scene.stringAction("s.loadImageSequence", "img/red");
    scene.createAnimatedSprite("s");
    scene.stringAction("s.loadImageSequence", "img/blue");
    ASSERT_EQ(scene.getSprites().size(), 2u);
    EXPECT_EQ(scene.getSprites()[0]->getFrameCount(), 1);
    EXPECT_EQ(scene.getSprites()[1]->getFrameCount(), 1);
    scene.action("s.disable");
    EXPECT_TRUE(scene.getSprites()[0]->isEnabled());
    EXPECT_FALSE(scene.getSprites()[1]->isEnabled());
    Pixel p = frame(scene, 0.0);
    EXPECT_TRUE(nearColour(p, 255, 0, 0)) << "the first is still drawn: " << describe(p);
}

TEST_F(Environment2DTest, SpriteWithoutImagesDoesNotStopTheScene)
{
    Environment2D scene;
    scene.createAnimatedSprite("empty");
    scene.createAnimatedSprite("red");
    scene.stringAction("red.loadImageSequence", "img/red");
    EXPECT_TRUE(nearColour(frame(scene, 0.0), 255, 0, 0));
    EXPECT_TRUE(nearColour(frame(scene, 1.0), 255, 0, 0));
    EXPECT_EQ(scene.getSprites()[0]->getCurrentFrame(), -1);
}

TEST_F(Environment2DTest, CreateFaderTwiceFailsWithTheExactTextAndKeepsTheFirst)
{
    Environment2D scene;
    scene.createFader("fade");
    Fader* first = scene.getFaders().find("fade");
    first->setStartTime(4.0f);
    LogCapture log;
    try {
        scene.stringAction("createFader", "fade");
        ADD_FAILURE() << "no exception";
    } catch (EnvironmentException& e) {
        EXPECT_EQ(e.getMessage(),
                  "KelvoEngineException::::EnvironmentException::createFader() - Failed to create Fader. Exception "
                  "message:KelvoEngineException::::Factory<Fader>Exception::create() - Unable to create new component. "
                  "Component \"fade\" already exists in this factory!.");
    }
    EXPECT_EQ(log.errors(), 0);
    EXPECT_EQ(scene.getFaders().size(), 1);
    EXPECT_EQ(scene.getFaders().find("fade"), first);
    scene.floatAction("fade.setDuration", 7.0f);
    EXPECT_FLOAT_EQ(first->getDuration(), 7.0f) << "the child is still the first fader";
    EXPECT_FLOAT_EQ(first->getStartTime(), 4.0f);
}

TEST_F(Environment2DTest, UnknownChildOrActionFails)
{
    Environment2D scene;
    LogCapture log;
    EXPECT_THROW(scene.stringAction("nobody.loadImageSequence", "img/red"), Exception);
    EXPECT_THROW(scene.action("createFader"), ActionException);
}

TEST_F(Environment2DTest, ControllerCreatesTheSceneAndPathsReachItsObjects)
{
    EnvironmentController controller;
    controller.initialize();
    controller.stringAction("createEnvironment2D", "flat");
    GenericEnvironment* generic = controller.Factory<GenericEnvironment>::find("flat");
    ASSERT_NE(generic, nullptr);
    EXPECT_EQ(generic->getName(), "flat");
    Environment2D* scene = dynamic_cast<Environment2D*>(generic);
    ASSERT_NE(scene, nullptr);
    EXPECT_FALSE(scene->isInitialized()) << "neither initialized nor loaded on creation";

    controller.stringAction("flat.createAnimatedSprite", "sprite");
    controller.stringAction("flat.sprite.loadImageSequence", "img/red");
    controller.stringAction("flat.createFader", "fade");
    controller.floatAction("flat.fade.setStartTime", 10.0f);
    ASSERT_EQ(scene->getSprites().size(), 1u);
    EXPECT_EQ(scene->getSprites()[0]->getFrameCount(), 1);
    EXPECT_TRUE(scene->getTextureManager().exists("img/red1.jpg"));
    EXPECT_FLOAT_EQ(scene->getFaders().find("fade")->getStartTime(), 10.0f);

    controller.stringAction("loadResources", "flat");
    EXPECT_TRUE(scene->areResourcesLoaded());
    controller.stringAction("setActiveEnvironment", "flat");
    EXPECT_EQ(controller.getActiveEnvironment(), scene);
    perspectiveView();
    controller.render(1.0);
    EXPECT_TRUE(nearColour(readPixel(), 255, 0, 0)) << describe(readPixel());
    EXPECT_TRUE(nearColour(readPixel(5, 5), 255, 255, 255, 0));

    // A second scene of the same name replaces the first by name.
    controller.stringAction("createEnvironment2D", "flat");
    EXPECT_NE(controller.Factory<GenericEnvironment>::find("flat"), generic);
    EXPECT_THROW(controller.stringAction("flat.sprite.loadImageSequence", "img/red"), Exception);
    EXPECT_EQ(controller.getActiveEnvironment(), scene) << "the active scene stays active";
    controller.render(1.0);
    EXPECT_TRUE(nearColour(readPixel(), 255, 0, 0)) << "the replaced scene lives with the controller";
}
