#include "CameraController.h"

#include <gtest/gtest.h>

#include <string>

#include "HpbCamera.h"
#include "TestSupport.h"
#include "TrackCamera.h"

namespace {

const std::string NOT_FOUND = "KelvoEngineException::::Factory<CameraController>Exception::";

std::string switched(const std::string& name)
{
    return "[info] cameracontroller::setNextCamera() - Switched camera to \"" + name + "\".\n";
}

}  // namespace

TEST(CameraController, NextCameraWalksTheNamesInOrderAndWrapsRound)
{
    CameraController cameras;
    cameras.stringAction("createTrackCamera", "c");
    cameras.stringAction("createHpbCamera", "a");
    cameras.stringAction("createTrackCamera", "b");
    struct Step {
        const char* from;  // current name before the step
        const char* to;
    } steps[] = {{"", "a"}, {"b", "c"}, {"c", "a"}, {"a", "b"}, {"gone", "a"}};
    for (const Step& step : steps) {
        cameras.setCamera(step.from);
        LogCapture log;
        cameras.action("nextCamera");
        EXPECT_EQ(log.text(), switched(step.to)) << "from \"" << step.from << "\"";
        EXPECT_EQ(cameras.getCurrentCamera()->getName(), step.to);
    }
}

TEST(CameraController, NextCameraWithoutCamerasIsAnError)
{
    CameraController cameras;
    LogCapture log;
    try {
        cameras.setNextCamera();
        ADD_FAILURE() << "no exception";
    } catch (const ComponentNotFoundException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::CameraControllerException::"
                                  "setNextCamera() - There are no cameras available.");
    }
    EXPECT_EQ(log.text(), "[error] cameracontroller::setNextCamera() - There are no cameras available.\n");
    EXPECT_EQ(log.errors(), 1);
}

TEST(CameraController, SetCameraTakesAnyNameAndTheLookupFailsLater)
{
    CameraController cameras;
    try {
        cameras.getCurrentCamera();
        ADD_FAILURE() << "no exception at start";
    } catch (const ComponentNotFoundException& e) {
        EXPECT_EQ(e.getMessage(), NOT_FOUND + "find() - Unable to find component \"\".");
    }
    cameras.createHpbCamera("front");
    LogCapture log;
    cameras.stringAction("setCamera", "ghost");
    EXPECT_EQ(log.text(), switched("ghost"));
    EXPECT_EQ(log.errors(), 0);
    try {
        cameras.getCurrentCamera();
        ADD_FAILURE() << "no exception for an unknown name";
    } catch (const ComponentNotFoundException& e) {
        EXPECT_EQ(e.getMessage(), NOT_FOUND + "find() - Unable to find component \"ghost\".");
    }
    cameras.stringAction("setCamera", "front");
    EXPECT_EQ(cameras.getCurrentCamera(), cameras.find("front"));
}

TEST(CameraController, CreatedCamerasAreNamedReplaceTheirNamesakeAndAreNotMadeCurrent)
{
    CameraController cameras;
    cameras.stringAction("createTrackCamera", "Camera01");
    Camera* first = cameras.find("Camera01");
    cameras.stringAction("createTrackCamera", "Camera01");
    Camera* second = cameras.find("Camera01");
    EXPECT_NE(second, first);
    EXPECT_EQ(cameras.size(), 1);
    EXPECT_NE(dynamic_cast<TrackCamera*>(second), nullptr);
    EXPECT_EQ(second->getName(), "Camera01");

    cameras.stringAction("createHpbCamera", "Camera01");
    EXPECT_NE(dynamic_cast<HpbCamera*>(cameras.find("Camera01")), nullptr);
    cameras.stringAction("createHpbCamera", "top");
    EXPECT_EQ(cameras.find("top")->getName(), "top");
    EXPECT_EQ(cameras.size(), 2);
    EXPECT_THROW(cameras.getCurrentCamera(), ComponentNotFoundException);
    // Cameras are reached through the controller only, never as children of it.
    EXPECT_THROW(cameras.action("top.nextCamera"), ActionControllableException);
}
