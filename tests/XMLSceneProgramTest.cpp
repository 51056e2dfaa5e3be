#include <gtest/gtest.h>

#include <string>

#include "LwoWriter.h"
#include "TestSupport.h"

// A show whose 3D scene comes from an XML scene file, played by the program as a user runs it:
// the scene file and its object are found beside the timeline, the object through a file name
// written with a backslash.
namespace {
const char* const SHOW =
    "<timeline>\n"
    "  <action name=\"createEnvironment\" type=\"string\" time=\"0\" param=\"world\"/>\n"
    "  <action name=\"world.loadXMLScene\" type=\"string\" time=\"0\" param=\"scenes/world.xml\"/>\n"
    "  <action name=\"world.cameraController.setCamera\" type=\"string\" time=\"0\" param=\"eye\"/>\n"
    "  <action name=\"loadResources\" type=\"string\" time=\"0\" param=\"world\"/>\n"
    "  <action name=\"setActiveEnvironment\" type=\"string\" time=\"0\" param=\"world\"/>\n"
    "  <action name=\"world.loadXMLScene\" type=\"string\" time=\"1\" param=\"scenes/broken.xml\"/>\n"
    "</timeline>\n";

std::string keys(const std::string& channel, const std::string& at0, const std::string& at24)
{
    return "<channel name=\"" + channel + "\"><key frame=\"0\" value=\"" + at0 +
           "\" curve=\"tcb\" tension=\"0\" continuity=\"0\" bias=\"0\"/><key frame=\"24\" value=\"" + at24 +
           "\" curve=\"tcb\" tension=\"0\" continuity=\"0\" bias=\"0\"/></channel>\n";
}

const std::string WORLD = "<?xml version=\"1.0\"?>\n<scene fps=\"24\">\n"
                          "<camera name=\"eye\">" + keys("Position.X", "0", "0") + keys("Position.Y", "0", "0") +
                          keys("Position.Z", "-5", "-6") + "</camera>\n"
                          "<light name=\"lamp\">" + keys("Position.X", "0", "1") + keys("Position.Y", "3", "3") +
                          keys("Position.Z", "-4", "-4") + "</light>\n"
                          "<object name=\"Cube\" filename=\"models\\cube.lwo\">" + keys("Rotation.H", "0", "3") +
                          keys("Rotation.P", "0", "0") + keys("Rotation.B", "0", "0") + "</object>\n"
                          "</scene>\n";

std::string squareObject()
{
    LwoWriter w;
    w.chunk("TAGS").s0("Paint").end();
    w.chunk("LAYR").u2(1).u2(0).vec12(0, 0, 0).s0("").end();
    w.chunk("PNTS").vec12(-1, -1, 0).vec12(1, -1, 0).vec12(1, 1, 0).vec12(-1, 1, 0).end();
    w.chunk("POLS").id("FACE").u2(4).vx(0).vx(1).vx(2).vx(3).end();
    w.chunk("PTAG").id("SURF").vx(0).u2(0).end();
    w.chunk("SURF").s0("Paint").s0("").subChunk("COLR").vec12(1, 0.5f, 0).vx(0).end().end();
    return w.file();
}

class XMLSceneProgramTest : public TempDirTest {};
}

TEST_F(XMLSceneProgramTest, AShowPlaysItsSceneFileUntilABrokenOneEndsIt)
{
    writeFile("show/show.xml", SHOW);
    writeFile("show/scenes/world.xml", WORLD);
    writeFile("show/models/cube.lwo", squareObject());
    // Not well formed: the camera is never closed.
    writeFile("show/scenes/broken.xml", "<scene fps=\"24\"><camera name=\"late\">" + keys("Position.X", "0", "0") +
                                            "</scene>\n");
    ProgramRun run = runProgram({"--timeline", "show/show.xml", "--debugframedraw", "0.5", "--endtime", "3"},
                                temp->path());
    ASSERT_FALSE(run.status == -1 && run.output.empty()) << "the program did not run";
    const std::string& out = run.output;

    std::string::size_type loading =
        foundAt(out, "[info] environment::loadXMLScene() - Loading XML Scene object \"scenes/world.xml\" to Environment "
                "\"world\"..\n");
    std::string::size_type created =
        foundAt(out, "[info] xmlsceneloader::loadObjectNode() - Created \"Keyframed Cube\" from Actor \"models\\cube.lwo\" "
                "and Keyframer \"Anonymous object\".\n");
    std::string::size_type statistics =
        foundAt(out, "printInfo() - Statistics: Environment \"world\" has 1 cameras, 0 meshes, 1 actors, 1 keyframed "
                "actors, 1 lights, ");
    foundAt(out, "[info] keyframercontroller::initialize() - Initializing keyframers.\n");
    // The first frame draws through the file's camera.
    std::string::size_type frame = foundAt(out, "[info] hpbcamera::render() - Not initialized. Initializing..\n");
    EXPECT_LT(loading, created);
    EXPECT_LT(created, statistics);
    EXPECT_LT(statistics, frame);

    // The broken file at 1 s ends the show as a failure, naming the file and the fault.
    EXPECT_EQ(run.status, 1) << out;
    foundAt(out, "Action \"world.loadXMLScene\" timed at 1.00 seconds");
    foundAt(out, "loadXMLScene() - Failed to load XML scene file \"scenes/broken.xml\". "
            "KelvoEngineException::::XMLParserException::load() - Arrggh! Error occurred while parsing "
            "\"show/scenes/broken.xml\". Errors should have been reported by the parser.");
    EXPECT_EQ(out.find("End of Playback"), std::string::npos) << out;
}
