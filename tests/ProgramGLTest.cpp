#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <cfloat>
#include <cstdio>
#include <string>
#include <vector>

#include "Environment.h"
#include "EnvironmentController.h"
#include "GLEnvironment.h"
#include "Program.h"
#include "RecordingScene.h"
#include "TestSupport.h"
#include "TimedAction.h"
#include "Timeline.h"
#include "Timer.h"
#include "WindowCaption.h"

// The frame loop's steps run in-process on the shared window, with the playback clock driven by
// a tick source of the test's own. Nothing here reaches the shutdown routine.
namespace {
Uint32 ticks = 0;  // ms
Uint32 readTicks()
{
    return ticks;
}

std::string caption()
{
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    return title ? title : "";
}

SDL_KeyboardEvent keyPress(SDLKey key)
{
    SDL_KeyboardEvent event = {};
    event.type = SDL_KEYDOWN;
    event.state = SDL_PRESSED;
    event.keysym.sym = key;
    return event;
}

class ProgramFrameTest : public ::testing::Test {
protected:
    ProgramFrameTest() : controller(new EnvironmentController()), scene(registerRecordingScene(*controller, "intro"))
    {
        timeline.setRoot(controller);
        timeline.setName("show.xml");
        program.attach(controller, &timeline);
        ticks = 0;
        Program::getPlaybackTimer().setTickSource(readTicks);
        Program::getPlaybackTimer().reset();
    }
    ~ProgramFrameTest() override
    {
        Program::getPlaybackTimer().setTickSource(nullptr);
        delete controller;
    }

    // One frame with the clock at ms.
    void frameAt(Uint32 ms)
    {
        ticks = ms;
        program.drawFrame();
    }

    EnvironmentController* controller;  // owned here; the program would delete it at shutdown
    RecordingScene& scene;              // the controller's
    Timeline timeline;
    Program program;
};
}

TEST_F(ProgramFrameTest, FrameFiresDueActionsThenRendersTheActiveSceneAtTheClocksTime)
{
    timeline.addTimedAction(TimedAction(0.5, "setActiveEnvironment", ActionKindString, "intro"));
    timeline.addTimedAction(TimedAction(3.0, "loadResources", ActionKindString, "intro"));
    frameAt(1250);
    EXPECT_EQ(scene.calls, std::vector<std::string>({"initialize", "view", "render"}));
    ASSERT_EQ(scene.renderTimes.size(), 1u);
    EXPECT_NEAR(scene.renderTimes[0], 1.25, 1e-6);
    frameAt(2000);
    frameAt(3000);
    EXPECT_EQ(scene.calls, std::vector<std::string>({"initialize", "view", "render", "view", "render",
                                                     "loadResources", "view", "render"}));
    ASSERT_EQ(scene.renderTimes.size(), 3u);
    EXPECT_NEAR(scene.renderTimes[2], 3.0, 1e-6);
}

TEST_F(ProgramFrameTest, CaptionShowsTheTimeAndFromAfterFiveSecondsTheFrameRate)
{
    controller->activateEnvironment("intro");
    frameAt(0);
    EXPECT_EQ(caption(), "Vantor Vemk Kelvo - show.xml [time 0.00]");
    frameAt(2500);
    EXPECT_EQ(caption(), "Vantor Vemk Kelvo - show.xml [time 2.50]");
    frameAt(5000);
    EXPECT_EQ(caption(), "Vantor Vemk Kelvo - show.xml [time 5.00]") << "exactly 5 seconds is not more than 5";
    frameAt(6250);
    // Four frames over 6.25 seconds.
    EXPECT_EQ(caption(), "Vantor Vemk Kelvo - show.xml [fps 0.64] [time 6.25]");
    frameAt(7000);
    EXPECT_EQ(caption(), "Vantor Vemk Kelvo - show.xml [fps 0.64] [time 7.00]") << "the rate stays until the next";
    frameAt(11500);
    // Two frames since the last rate, over 5.25 seconds.
    EXPECT_EQ(caption(), "Vantor Vemk Kelvo - show.xml [fps 0.38] [time 11.50]");
}

TEST_F(ProgramFrameTest, CaptionReachesTheWindowOnlyWhenItsTextChanges)
{
    controller->activateEnvironment("intro");
    frameAt(2500);
    SDL_WM_SetCaption("set elsewhere", nullptr);
    frameAt(2504);
    EXPECT_EQ(caption(), "set elsewhere") << "2.504 s reads 2.50, as the caption already shown does";
    frameAt(2510);
    EXPECT_EQ(caption(), "Vantor Vemk Kelvo - show.xml [time 2.51]");
}

TEST(WindowCaption, HoldsTheWidestFloatsWithALongTitle)
{
    const std::string title(300, 't');
    char number[64];
    WindowCaption windowCaption;
    windowCaption.setTitle(title);
    windowCaption.setFrameRate(-FLT_MAX);
    windowCaption.show(-FLT_MAX);
    std::snprintf(number, sizeof number, "%.2f", static_cast<double>(-FLT_MAX));
    EXPECT_EQ(caption(), title + " [fps " + number + "] [time " + number + "]");
    windowCaption.setTitle("short");
    windowCaption.show(0.125f);
    EXPECT_EQ(caption(), "short [time 0.12]") << "a new title drops the rate";
}

TEST_F(ProgramFrameTest, TabOnASceneWithoutCamerasWarnsAndChangesNothing)
{
    controller->activateEnvironment("intro");
    LogCapture log;
    program.keyboardCallback(keyPress(SDLK_TAB));
    EXPECT_EQ(log.warnings(), 1);
    EXPECT_EQ(log.errors(), 0);
    EXPECT_TRUE(log.contains("[warning] program::keyboardCallback() - Current environment is not camera "
                             "controllable.\n"))
        << log.text();
    EXPECT_EQ(controller->getActiveEnvironment(), &scene);
    EXPECT_EQ(scene.calls, std::vector<std::string>({"initialize"}));
}

TEST_F(ProgramFrameTest, TabOnA3DSceneSwitchesToItsNextCameraInNameOrder)
{
    controller->stringAction("createEnvironment", "space");
    controller->stringAction("space.cameraController.createHpbCamera", "b");
    controller->stringAction("space.cameraController.createHpbCamera", "a");
    controller->stringAction("setActiveEnvironment", "space");
    Environment* space = dynamic_cast<Environment*>(controller->getActiveEnvironment());
    ASSERT_NE(space, nullptr);
    LogCapture log;
    for (const char* expected : {"a", "b", "a"}) {
        program.keyboardCallback(keyPress(SDLK_TAB));
        EXPECT_EQ(space->getCameraController().getCurrentCamera()->getName(), expected);
    }
    EXPECT_TRUE(log.contains("[info] cameracontroller::setNextCamera() - Switched camera to \"b\".\n")) << log.text();
    EXPECT_EQ(log.warnings(), 0);
    EXPECT_EQ(log.errors(), 0);
}

TEST_F(ProgramFrameTest, TabOnA3DSceneWithoutCamerasReportsTheFailureAndGoesOn)
{
    controller->stringAction("createEnvironment", "space");
    controller->stringAction("setActiveEnvironment", "space");
    LogCapture log;
    program.keyboardCallback(keyPress(SDLK_TAB));
    EXPECT_TRUE(log.contains("[error] program::keyboardCallback() - Unable to switch camera. "
                             "KelvoEngineException::::CameraControllerException::setNextCamera() - There are no "
                             "cameras available.\n"))
        << log.text();
}

TEST_F(ProgramFrameTest, TabWithoutAnActiveSceneReportsTheFailureAndGoesOn)
{
    LogCapture log;
    program.keyboardCallback(keyPress(SDLK_TAB));
    EXPECT_TRUE(log.contains("[error] program::keyboardCallback() - Unable to switch camera. "
                             "KelvoEngineException::::EnvironmentControllerException::getActiveEnvironment() - No "
                             "environments active!\n"))
        << log.text();
    EXPECT_EQ(log.warnings(), 0);
    // One from the controller, one from the keyboard handler.
    EXPECT_EQ(log.errors(), 2);
}

TEST_F(ProgramFrameTest, OtherKeysOnlyLogThePressAtDebugLevel)
{
    LogCapture log;  // restores the level it found
    Log::getInstance()->setLevel(LogLevel::debug);
    program.keyboardCallback(keyPress(SDLK_SPACE));
    EXPECT_EQ(log.text(), "[debug] program::keyboardCallback() - Key press detected.\n");
}

TEST_F(ProgramFrameTest, ResizedPerspectiveReaches3DScenesMadeBeforeAndAfter)
{
    controller->stringAction("createEnvironment", "before");
    program.windowResize(320, -1);
    controller->stringAction("createEnvironment", "after");
    float expected[16];
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 320.0 / 480.0, 1.0, 300.0);
    glGetFloatv(GL_PROJECTION_MATRIX, expected);
    for (const char* name : {"before", "after"}) {
        GenericEnvironment* scene = controller->Factory<GenericEnvironment>::find(name);
        glLoadIdentity();
        scene->setViewState();
        float projection[16];
        glGetFloatv(GL_PROJECTION_MATRIX, projection);
        for (int i = 0; i < 16; ++i)
            EXPECT_FLOAT_EQ(projection[i], expected[i]) << name << ", element " << i;
    }
    program.windowResize(640, 480);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST_F(ProgramFrameTest, ResizeSetsTheViewportAndThePerspective)
{
    program.windowResize(320, -1);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 320);
    EXPECT_EQ(viewport[3], 480);
    float m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    // 45 degrees over a 320:480 window; near 1, far 300.
    EXPECT_NEAR(m[5], 2.4142135, 1e-4);
    EXPECT_NEAR(m[0], 2.4142135 * 480.0 / 320.0, 1e-4);
    EXPECT_NEAR(m[14], 2.0 * 300.0 / (1.0 - 300.0), 1e-3);
    program.windowResize(640, 480);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}
