#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"

// A 3D show played end to end by the program, as a user runs it, in a fresh working folder that
// holds the timeline.
namespace {
const char* const SHOW =
    "<?xml version=\"1.0\"?>\n"
    "<timeline>\n"
    "  <action name=\"createEnvironment\" type=\"string\" time=\"0\" param=\"space\"/>\n"
    "  <action name=\"space.cameraController.createHpbCamera\" type=\"string\" time=\"0\" param=\"eye\"/>\n"
    "  <action name=\"space.cameraController.setCamera\" type=\"string\" time=\"0\" param=\"eye\"/>\n"
    "  <action name=\"space.setBackgroundColor\" type=\"string\" time=\"0\" param=\"#336699\"/>\n"
    "  <action name=\"space.createFader\" type=\"string\" time=\"0\" param=\"fadein\"/>\n"
    "  <action name=\"space.fadein.setDuration\" type=\"float\" time=\"0\" param=\"2\"/>\n"
    "  <action name=\"loadResources\" type=\"string\" time=\"0\" param=\"space\"/>\n"
    "  <action name=\"setActiveEnvironment\" type=\"string\" time=\"0\" param=\"space\"/>\n"
    "  <action name=\"space.cameraController.nextCamera\" type=\"none\" time=\"1\"/>\n"
    "</timeline>\n";

class Environment3DProgramTest : public TempDirTest {};
}

TEST_F(Environment3DProgramTest, FixedStepShowFadesInThroughItsCameraAndEndsInOrder)
{
    writeFile("show/show.xml", SHOW);
    ProgramRun run = runProgram({"--timeline", "show/show.xml", "--debugframedraw", "1", "--endtime", "3",
                                 "--loglevel", "4", "--znear", "0.5", "--zfar", "500"},
                                temp->path());
    ASSERT_FALSE(run.status == -1 && run.output.empty()) << "the program did not run";
    EXPECT_EQ(run.status, 0) << run.output;
    const std::string& out = run.output;

    // Start-up: the scene is filled, loaded and activated before the loop; activation initialises it.
    std::string::size_type fader = foundAt(out, "Running \"space.createFader(\"fadein\").");
    std::string::size_type switched = foundAt(out, "activateEnvironment() - Switching environment to \"space\".");
    std::string::size_type initialized = foundAt(out, "[info] environment::initialize() - Initializing environment \"space\".");
    foundAt(out, "[info] environment::initialize() - Scene has no lights, lighting is disabled.");
    std::string::size_type statistics =
        foundAt(out, "[info] environment::printInfo() - Statistics: Environment \"space\" has 1 cameras, 0 meshes, 0 "
                "actors, 0 keyframed actors, 0 lights, 0 surfaces (in library) and 0 textures. \n");
    std::string::size_type loop = foundAt(out, "main() - Entering frame drawing loop.. Hit [ESC] to exit.");
    EXPECT_LT(fader, switched);
    EXPECT_LT(switched, initialized);
    EXPECT_LT(statistics, loop);
    EXPECT_EQ(out.find("environment::render() - Not initialized."), std::string::npos) << "activated before";

    // Frames 0 to 3 through the camera; the camera action of 1 fires in the frame of 1.
    std::string::size_type frame0 = foundAt(out, "[debug_fdraw] program::drawFrame() - Drawing frame at 0 seconds.\n");
    std::string::size_type camera = foundAt(out, "[info] hpbcamera::render() - Not initialized. Initializing..\n");
    std::string::size_type frame1 = foundAt(out, "[debug_fdraw] program::drawFrame() - Drawing frame at 1 seconds.\n");
    std::string::size_type next = foundAt(out, "[info] cameracontroller::setNextCamera() - Switched camera to \"eye\".\n",
                                     frame1);
    std::string::size_type frame3 = foundAt(out, "[debug_fdraw] program::drawFrame() - Drawing frame at 3 seconds.\n");
    std::string::size_type end =
        foundAt(out, "[info] program::drawFrame() - End of Playback reached at 3 seconds. Exiting..\n");
    EXPECT_LT(loop, frame0);
    EXPECT_LT(frame0, camera);
    EXPECT_LT(camera, frame1);
    EXPECT_LT(frame1, next);
    EXPECT_LT(next, frame3);
    EXPECT_LT(frame3, end);
    EXPECT_EQ(out.find("Drawing frame at 4 seconds."), std::string::npos) << out;

    // The one warning of a scene without animation.
    foundAt(out, "[warning] keyframercontroller::initialize() - No keyframers available.\n");
    foundAt(out, "Log::getInfo() - Total of 0 errors and 1 warnings.", end);
}

TEST_F(Environment3DProgramTest, SceneWithoutACurrentCameraEndsTheShowInItsFirstFrame)
{
    writeFile("show/blind.xml",
              "<timeline>\n"
              "  <action name=\"createEnvironment\" type=\"string\" time=\"0\" param=\"space\"/>\n"
              "  <action name=\"space.cameraController.createHpbCamera\" type=\"string\" time=\"0\" param=\"eye\"/>\n"
              "  <action name=\"setActiveEnvironment\" type=\"string\" time=\"0\" param=\"space\"/>\n"
              "</timeline>\n");
    ProgramRun run = runProgram({"--timeline", "show/blind.xml", "--debugframedraw", "1", "--endtime", "5"},
                                temp->path());
    EXPECT_EQ(run.status, 1) << run.output;
    foundAt(run.output, "[error] program::drawFrame() - Exception occurred while drawing  frame. Exception message "
                   "follows. KelvoEngineException::::EnvironmentException::render() - Environment \"space\" has no "
                   "camera to draw through: no camera was set. The action \"space.cameraController.setCamera\" sets "
                   "one. KelvoEngineException::::Factory<CameraController>Exception::find() - Unable to find "
                   "component \"\".\n");
    EXPECT_EQ(run.output.find("End of Playback"), std::string::npos) << run.output;
}

TEST_F(Environment3DProgramTest, BundledShowPlaysItsGardenWithoutErrors)
{
    // The bundled show from the repository, played from a working folder that holds it, as
    // ./play plays it from the repository's root, a frame a second up to the last second of its 3D
    // garden.
    std::filesystem::create_directory_symlink(sourceDir() + "/show", path("show"));
    ProgramRun run = runProgram({"--timeline", "show/timeline.xml", "--debugframedraw", "1", "--endtime", "20"},
                                temp->path());
    ASSERT_FALSE(run.status == -1 && run.output.empty()) << "the program did not run";
    EXPECT_EQ(run.status, 0) << run.output;
    const std::string& out = run.output;

    // Everything of the garden loads at start-up; the garden is entered at 8 s and draws to the end.
    foundAt(out, "[info] environment::load3DS() - Loading .3ds scene \"garden/garden.3ds\" to Environment \"garden\"..\n"
            "[info] environment::load3DS() - Loading completed.\n");
    foundAt(out, "[info] environment::loadXMLScene() - Loading XML Scene object \"garden/signpost.xml\" to Environment "
            "\"garden\"..\n"
            "[info] environment::loadLWO() - Loading LightWave object \"garden/signpost.lwo\" to Environment "
            "\"garden\"..\n"
            "[info] environment::loadLWO() - Loading successfully completed.\n"
            "[info] xmlsceneloader::loadObjectNode() - Created \"Keyframed Signpost\" from Actor "
            "\"garden/signpost.lwo\" and Keyframer \"Anonymous object\".\n");
    foundAt(out, "[info] fontset::load() - Loading completed. 1 Fonts loaded to a Fontset.\n");
    std::string::size_type loop = foundAt(out, "main() - Entering frame drawing loop.. Hit [ESC] to exit.");
    std::string::size_type entered =
        foundAt(out, "activateEnvironment() - Switching environment to \"garden\".", loop);
    foundAt(out, "[info] environment::printInfo() - Statistics: Environment \"garden\" has 1 cameras, 2 meshes, 1 actors, "
            "1 keyframed actors, 2 lights, 2 surfaces (in library) and 7 textures. \n",
       entered);
    std::string::size_type end =
        foundAt(out, "[info] program::drawFrame() - End of Playback reached at 20 seconds. Exiting..\n", entered);
    EXPECT_EQ(out.find("Switching environment to \"intro\"."), std::string::npos) << out;

    // The sky sphere's pole triangles have no area, and each of the scene's two meshes is prepared
    // at its first frame: three warnings, and no error.
    foundAt(out, "[warning] mesh::calcFaceNormals(\"sky\") - 16 zero face normals detected.");
    foundAt(out, "[warning] keyframedmesh::render(\"Crate\") - Not initialized.", entered);
    foundAt(out, "[warning] keyframedmesh::render(\"Lawn\") - Not initialized.", entered);
    EXPECT_EQ(out.find("[error]"), std::string::npos) << out;
    foundAt(out, "Log::getInfo() - Total of 0 errors and 3 warnings.", end);
}
