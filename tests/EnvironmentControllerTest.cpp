#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ComponentExceptions.h"
#include "Environment.h"
#include "EnvironmentController.h"
#include "ExitNowException.h"
#include "RecordingScene.h"
#include "TestSupport.h"
#include "TimedAction.h"
#include "Timeline.h"
#include "TovoEnvironment.h"
#include "TovoIntroEnvironment.h"
#include "TovoOutroEnvironment.h"

namespace {
typedef std::vector<std::string> Calls;

// A scripting object standing in for a scene's actions.
class Counter : public Action<Counter> {
public:
    Counter() { addAction("count", &Counter::count); }
    void count() { ++counted; }
    int counted = 0;
};

class EnvironmentControllerTest : public ::testing::Test {
protected:
    EnvironmentControllerTest() : intro(registerRecordingScene(controller, "intro")), outro(registerRecordingScene(controller, "outro")) {}

    EnvironmentController controller;
    RecordingScene& intro;  // the controller's
    RecordingScene& outro;
};
}

TEST_F(EnvironmentControllerTest, RegisteringNamesTheScene)
{
    EXPECT_EQ(intro.getName(), "intro");
    EXPECT_EQ(outro.getName(), "outro");
    EXPECT_TRUE(intro.calls.empty()) << "a new scene is neither initialised nor loaded";
}

TEST_F(EnvironmentControllerTest, ActivationMakesTheSceneActiveAndInitialisesItEachTime)
{
    LogCapture log;
    controller.stringAction("setActiveEnvironment", "intro");
    EXPECT_TRUE(log.contains("[info] environmentcontroller::activateEnvironment() - Switching environment to "
                             "\"intro\".\n"))
        << log.text();
    EXPECT_EQ(controller.getActiveEnvironment(), &intro);
    EXPECT_EQ(intro.calls, Calls({"initialize"}));
    EXPECT_TRUE(intro.isInitialized());

    controller.stringAction("setActiveEnvironment", "outro");
    controller.stringAction("setActiveEnvironment", "intro");
    EXPECT_EQ(controller.getActiveEnvironment(), &intro);
    EXPECT_EQ(intro.calls, Calls({"initialize", "initialize"}));
    EXPECT_EQ(outro.calls, Calls({"initialize"}));
    EXPECT_EQ(log.errors(), 0);
}

TEST_F(EnvironmentControllerTest, LoadResourcesLoadsWithoutActivating)
{
    LogCapture log;
    controller.stringAction("loadResources", "outro");
    EXPECT_TRUE(log.contains("[info] environmentcontroller::loadResources() - loading resources for environment "
                             "\"outro\".\n"))
        << log.text();
    EXPECT_EQ(outro.calls, Calls({"loadResources"}));
    EXPECT_TRUE(outro.areResourcesLoaded());
    EXPECT_THROW(controller.getActiveEnvironment(), EnvironmentControllerException);

    controller.stringAction("setActiveEnvironment", "intro");
    controller.stringAction("loadResources", "outro");
    EXPECT_EQ(controller.getActiveEnvironment(), &intro) << "loading leaves the active scene as it is";
}

TEST_F(EnvironmentControllerTest, UnknownSceneNameFailsWithTheFactorysMessageAndActivatesNothing)
{
    controller.stringAction("setActiveEnvironment", "intro");
    for (const char* action : {"setActiveEnvironment", "loadResources"}) {
        LogCapture log;
        try {
            controller.stringAction(action, "nowhere");
            ADD_FAILURE() << action << " did not fail";
        } catch (ComponentNotFoundException& e) {
            EXPECT_NE(e.getMessage().find("Factory<GenericEnvironment>Exception::find() - Unable to find component "
                                          "\"nowhere\"."),
                      std::string::npos)
                << e.getMessage();
        }
        EXPECT_EQ(log.errors(), 0) << "the factory's failure is not logged";
        EXPECT_EQ(controller.getActiveEnvironment(), &intro);
    }
    EXPECT_EQ(intro.calls, Calls({"initialize"}));
}

TEST_F(EnvironmentControllerTest, EntryWithoutASceneIsAnErrorOfTheController)
{
    struct Case {
        const char* action;
        const char* message;
    } cases[] = {
        {"setActiveEnvironment", "activateEnvironment() - Unable to find environment called \"empty\"."},
        {"loadResources", "loadResources() - Unable to find environment called \"empty\"."},
    };
    controller.registerEnvironment("empty", nullptr, nullptr);
    for (const Case& c : cases) {
        LogCapture log;
        try {
            controller.stringAction(c.action, "empty");
            ADD_FAILURE() << c.action << " did not fail";
        } catch (EnvironmentControllerException& e) {
            EXPECT_NE(e.getMessage().find(std::string("EnvironmentControllerException::") + c.message),
                      std::string::npos)
                << e.getMessage();
        }
        EXPECT_EQ(log.errors(), 1);
        EXPECT_TRUE(log.contains(std::string("[error] environmentcontroller::") + c.message + "\n")) << log.text();
    }
    EXPECT_THROW(controller.getActiveEnvironment(), EnvironmentControllerException);
}

TEST_F(EnvironmentControllerTest, RenderSetsTheActiveScenesViewThenRendersItAtTheTime)
{
    controller.stringAction("setActiveEnvironment", "intro");
    controller.render(2.5);
    controller.render(2.75);
    EXPECT_EQ(intro.calls, Calls({"initialize", "view", "render", "view", "render"}));
    EXPECT_EQ(intro.renderTimes, std::vector<double>({2.5, 2.75}));
    EXPECT_TRUE(outro.calls.empty());
}

TEST_F(EnvironmentControllerTest, RenderWithoutAnActiveSceneIsAnError)
{
    const char* const message = "render() - No environment available! Unable to render the scene.";
    LogCapture log;
    try {
        controller.render(0.0);
        ADD_FAILURE() << "render did not fail";
    } catch (EnvironmentControllerException& e) {
        EXPECT_NE(e.getMessage().find(std::string("EnvironmentControllerException::") + message), std::string::npos);
    }
    EXPECT_EQ(log.errors(), 1);
    EXPECT_TRUE(log.contains(std::string("[error] environmentcontroller::") + message + "\n")) << log.text();
    EXPECT_TRUE(intro.calls.empty());
}

TEST_F(EnvironmentControllerTest, AskingForTheActiveSceneBeforeAnyActivationIsAnError)
{
    LogCapture log;
    EXPECT_THROW(controller.getActiveEnvironment(), EnvironmentControllerException);
    EXPECT_EQ(log.errors(), 1);
    EXPECT_TRUE(log.contains("[error] environmentcontroller::getActiveEnvironment() - No environments active!\n"));
}

TEST_F(EnvironmentControllerTest, ExitThrowsTheExitRequest)
{
    LogCapture log;
    try {
        controller.action("exit");
        ADD_FAILURE() << "exit did not throw";
    } catch (ExitNowException& e) {
        EXPECT_NE(e.getMessage().find("ExitNowException::Exit requested."), std::string::npos) << e.getMessage();
    }
    EXPECT_EQ(log.errors(), 0);
}

TEST_F(EnvironmentControllerTest, SceneNameRegisteredAgainReachesTheLaterSceneOnly)
{
    Counter first;
    Counter second;
    RecordingScene& earlier = registerRecordingScene(controller, "intro", &first);
    controller.stringAction("setActiveEnvironment", "intro");
    RecordingScene& replacement = registerRecordingScene(controller, "intro", &second);
    EXPECT_EQ(controller.getActiveEnvironment(), &earlier) << "the replaced scene stays active";

    controller.action("intro.count");
    EXPECT_EQ(first.counted, 0);
    EXPECT_EQ(second.counted, 1);
    controller.stringAction("setActiveEnvironment", "intro");
    EXPECT_EQ(controller.getActiveEnvironment(), &replacement);
    EXPECT_EQ(earlier.calls, Calls({"initialize"})) << "a replaced scene lives as long as the controller";
    EXPECT_TRUE(intro.calls.empty());
}

TEST_F(EnvironmentControllerTest, SceneWithoutActionsIsNotAChild)
{
    try {
        controller.action("outro.count");
        ADD_FAILURE() << "a scene without actions was reached";
    } catch (ActionControllableException& e) {
        EXPECT_NE(e.getMessage().find("childAction() - Child action \"outro\" not found!"), std::string::npos);
    }
}

TEST_F(EnvironmentControllerTest, TimelineDrivesTheControllerAsItsRoot)
{
    Timeline timeline;
    timeline.setRoot(&controller);
    timeline.addTimedAction(TimedAction(0.0, "loadResources", ActionKindString, "outro"));
    timeline.addTimedAction(TimedAction(1.0, "setActiveEnvironment", ActionKindString, "outro"));
    timeline.addTimedAction(TimedAction(2.0, "exit", ActionKindNone, ""));
    timeline.update(0.0f);
    EXPECT_EQ(outro.calls, Calls({"loadResources"}));
    timeline.update(1.5f);
    controller.render(1.5);
    EXPECT_EQ(outro.calls, Calls({"loadResources", "initialize", "view", "render"}));
    EXPECT_THROW(timeline.update(2.0f), ExitNowException);
}

TEST(EnvironmentControllerCreation, FirstRegistrationInitialisesAControllerThatWasNot)
{
    EnvironmentController controller;
    RecordingScene& scene = registerRecordingScene(controller, "a");
    EXPECT_THROW(controller.getActiveEnvironment(), EnvironmentControllerException);
    controller.stringAction("setActiveEnvironment", "a");
    EXPECT_EQ(controller.getActiveEnvironment(), &scene);
}

TEST_F(EnvironmentControllerTest, SoundEngineBecomesAChildUnderEachNameButNoScene)
{
    controller.stringAction("createSoundEngine", "music");
    controller.stringAction("createSoundEngine", "voices");
    LogCapture log;
    controller.action("music.play");
    controller.action("voices.play");
    EXPECT_EQ(log.text().find("[info] soundengine::play() - Playing sound.\n[info] soundengine::play() - Playing "
                              "sound.\n"),
              0u)
        << log.text();
    EXPECT_THROW(controller.stringAction("setActiveEnvironment", "music"), ComponentNotFoundException);
    EXPECT_EQ(log.errors(), 0);
}

TEST_F(EnvironmentControllerTest, TheTalkingSceneIsAChildAndTheIntroAndCreditsAreNot)
{
    controller.stringAction("createTovoEnvironment", "kiro");
    controller.stringAction("createTovoIntroEnvironment", "alku");
    controller.stringAction("createTovoOutroEnvironment", "loppu");
    TovoEnvironment* kiro = dynamic_cast<TovoEnvironment*>(controller.Factory<GenericEnvironment>::find("kiro"));
    ASSERT_NE(kiro, nullptr);
    EXPECT_NE(dynamic_cast<TovoIntroEnvironment*>(controller.Factory<GenericEnvironment>::find("alku")), nullptr);
    EXPECT_NE(dynamic_cast<TovoOutroEnvironment*>(controller.Factory<GenericEnvironment>::find("loppu")), nullptr);
    for (const char* name : {"kiro", "alku", "loppu"})
        EXPECT_EQ(controller.Factory<GenericEnvironment>::find(name)->getName(), name);

    controller.floatAction("kiro.setEndTime", 60.0f);
    EXPECT_EQ(kiro->getEndTime(), 60.0f);

    for (std::string name : {"alku", "loppu"}) {
        try {
            controller.floatAction(name + ".setEndTime", 60.0f);
            ADD_FAILURE() << name << " was reached as a child";
        } catch (ActionControllableException& e) {
            EXPECT_NE(e.getMessage().find("childFloatAction() - Child action \"" + name + "\" not found!"),
                      std::string::npos)
                << e.getMessage();
        }
    }
}

TEST_F(EnvironmentControllerTest, The3DSceneIsAChildWhosePathsReachItsObjects)
{
    controller.stringAction("createEnvironment", "space");
    Environment* space = dynamic_cast<Environment*>(controller.Factory<GenericEnvironment>::find("space"));
    ASSERT_NE(space, nullptr);
    EXPECT_EQ(space->getName(), "space");
    EXPECT_FALSE(space->isInitialized()) << "neither initialised nor loaded on creation";
    EXPECT_FALSE(space->areResourcesLoaded());

    controller.stringAction("space.cameraController.createHpbCamera", "eye");
    controller.stringAction("space.textureManager.createTexture", "sky.jpg");
    controller.stringAction("space.createFader", "fade");
    controller.floatAction("space.fade.setDuration", 4.0f);
    EXPECT_TRUE(space->getCameraController().exists("eye"));
    EXPECT_TRUE(space->getTextureManager().exists("sky.jpg"));
    EXPECT_FLOAT_EQ(space->getFaders().find("fade")->getDuration(), 4.0f);
}
