#include <gtest/gtest.h>

#include <GL/gl.h>

#include <memory>
#include <string>

#include "3dsChunkIds.h"
#include "Environment.h"
#include "GLEnvironment.h"
#include "KeyframedMesh.h"
#include "Pixels.h"
#include "ResourceLoader.h"
#include "SceneViews.h"
#include "TestSupport.h"
#include "ThreeDSScenes.h"
#include "ThreeDSWriter.h"

using namespace _3dsChunk;

// The 3D scene's "load3DS" action: a 3D Studio file read into the scene the timeline names, and
// the show that plays it.
namespace {
// A camera looking at a square that a red lamp lights and that moves right over ten frames.
std::string stage()
{
    ThreeDSWriter w;
    w.chunk(MATERIAL).chunk(MATERIAL_NAME).str("Paint").end();
    w.raw(chunkOf(MATERIAL_DIFFUSE, colourByte(255, 255, 255)) + chunkOf(MATERIAL_AMBIENT, colourByte(0, 0, 0)));
    w.end();
    w.chunk(OBJECT_BLOCK).str("Cam").chunk(CAMERA).vec(0, -10, 0).vec(0, 0, 0).f32(0).f32(35).end().end();
    w.raw(lightObject("Lamp", 0, -10, 0, colourFloat(1, 0, 0)));
    w.chunk(OBJECT_BLOCK).str("Square").chunk(TRI_MESH);
    w.chunk(VERTEX_LIST).u16(4).vec(-1, 0, -1).vec(1, 0, -1).vec(1, 0, 1).vec(-1, 0, 1).end();
    w.chunk(FACE_LIST).u16(2).u16(0).u16(1).u16(2).u16(0).u16(0).u16(2).u16(3).u16(0);
    w.chunk(FACE_MATERIAL).str("Paint").u16(2).u16(0).u16(1).end();
    w.end().end().end();
    const std::string animation = keyframerData(
        frames(0, 10) + chunkOf(OBJECT_TRACK, nodeId(0) + nodeName("Square") +
                                                  positionKeys({{0, 0, {}, 0, 0, 0}, {10, 0, {}, 3, 0, 0}})));
    return inMain(editor(w.bytes()) + animation);
}

class Load3DSTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath("");
        drainGLErrors();
        scene = std::make_unique<Environment>();
        scene->setName("stage");
    }
    void TearDown() override
    {
        leaveLitScene();
        TempDirTest::TearDown();
    }

    std::unique_ptr<Environment> scene;
};
}

TEST_F(Load3DSTest, TheActionFillsTheSceneAndLogsAroundTheLoad)
{
    writeFile("stage.3ds", stage());
    LogCapture log;
    scene->stringAction("load3DS", "stage.3ds");
    EXPECT_EQ(log.text(), "[info] environment::load3DS() - Loading .3ds scene \"stage.3ds\" to Environment \"stage\"..\n"
                          "[info] environment::load3DS() - Loading completed.\n");
    EXPECT_EQ(scene->getKeyframedMeshes().size(), 1);
    EXPECT_EQ(scene->getLights().size(), 1);
    EXPECT_EQ(scene->getSurfaces().size(), 1);
    EXPECT_EQ(scene->getCameraController().size(), 1);
    EXPECT_EQ(scene->getKeyframerController().getKeyframerCount(), 1);
}

TEST_F(Load3DSTest, TheSceneDrawsTheFileThroughItsCameraAndAnimatesIt)
{
    writeFile("stage.3ds", stage());
    scene->stringAction("load3DS", "stage.3ds");
    scene->stringAction("cameraController.setCamera", "Cam");
    scene->setViewState();
    scene->render(0.0);
    const Pixel lit = readPixel(320, 240);
    EXPECT_GT(lit.r, 100) << "white paint in red light: " << describe(lit);
    EXPECT_LT(lit.g, 40) << describe(lit);
    scene->setViewState();
    scene->render(10.0 / 24.0);
    EXPECT_TRUE(nearColour(readPixel(320, 240), 0, 0, 0, 2)) << "moved away: " << describe(readPixel(320, 240));
    EXPECT_GT(readPixel(500, 240).r, 100) << describe(readPixel(500, 240));
}

TEST_F(Load3DSTest, AFailedLoadNamesTheFileAndTheLoadersMessage)
{
    LogCapture log;
    try {
        scene->stringAction("load3DS", "missing.3ds");
        ADD_FAILURE() << "no exception";
    } catch (const EnvironmentException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::EnvironmentException::load3DS() - Failed to load .3ds scene "
                                  "file \"missing.3ds\". Caught an exception. KelvoEngineException::::"
                                  "3dsLoaderException::load() - 3d scene loading failed. Unable to open 3ds scene "
                                  "resource. ");
    }
    EXPECT_FALSE(log.contains("Loading completed."));
}

TEST_F(Load3DSTest, LoadingTheSameFileTwiceIntoOneSceneFailsAtItsFirstName)
{
    writeFile("stage.3ds", stage());
    scene->stringAction("load3DS", "stage.3ds");
    try {
        scene->stringAction("load3DS", "stage.3ds");
        ADD_FAILURE() << "no exception";
    } catch (const EnvironmentException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::EnvironmentException::load3DS() - Failed to load .3ds scene "
                                  "file \"stage.3ds\". Caught an exception. KelvoEngineException::::Factory<Surface>"
                                  "Exception::create() - Unable to create new component. Component \"Paint\" already "
                                  "exists in this factory!.");
    }
    // A second scene takes the same file whole.
    Environment other;
    other.stringAction("load3DS", "stage.3ds");
    EXPECT_EQ(other.getKeyframedMeshes().size(), 1);
}

TEST_F(Load3DSTest, AShowLoadsTheFileFromTheTimelinesFolderAndPlaysIt)
{
    writeFile("show/scenes/stage.3ds", stage());
    writeFile("show/show.xml",
              "<?xml version=\"1.0\"?>\n"
              "<timeline>\n"
              "  <action name=\"createEnvironment\" type=\"string\" time=\"0\" param=\"stage\"/>\n"
              "  <action name=\"stage.load3DS\" type=\"string\" time=\"0\" param=\"scenes\\stage.3ds\"/>\n"
              "  <action name=\"stage.cameraController.setCamera\" type=\"string\" time=\"0\" param=\"Cam\"/>\n"
              "  <action name=\"setActiveEnvironment\" type=\"string\" time=\"0\" param=\"stage\"/>\n"
              "</timeline>\n");
    ProgramRun run = runProgram({"--timeline", "show/show.xml", "--debugframedraw", "1", "--endtime", "1"}, temp->path());
    ASSERT_FALSE(run.status == -1 && run.output.empty()) << "the program did not run";
    EXPECT_EQ(run.status, 0) << run.output;
    const std::string& out = run.output;
    EXPECT_NE(out.find("[info] environment::load3DS() - Loading .3ds scene \"scenes\\stage.3ds\" to Environment "
                       "\"stage\"..\n[info] environment::load3DS() - Loading completed.\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("Environment \"stage\" has 1 cameras, 1 meshes, 0 actors, 0 keyframed actors, 1 lights, 1 "
                       "surfaces (in library) and 0 textures."),
              std::string::npos)
        << out;
    EXPECT_EQ(out.find("[error]"), std::string::npos) << out;
}
