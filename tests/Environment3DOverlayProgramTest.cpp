#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "JpegWriter.h"
#include "TestSupport.h"

// A 3D show with sprites and a 3D text played end to end by the program, as a user runs it, in a fresh working
// folder that holds the timeline and its pictures.
namespace {
const char* const SHOW =
    "<?xml version=\"1.0\"?>\n"
    "<timeline>\n"
    "  <action name=\"createEnvironment\" type=\"string\" time=\"0\" param=\"space\"/>\n"
    "  <action name=\"space.cameraController.createHpbCamera\" type=\"string\" time=\"0\" param=\"eye\"/>\n"
    "  <action name=\"space.cameraController.setCamera\" type=\"string\" time=\"0\" param=\"eye\"/>\n"
    "  <action name=\"space.textureManager.createTexture\" type=\"string\" time=\"0\" param=\"logo\"/>\n"
    "  <action name=\"space.textureManager.logo.loadTexture\" type=\"string\" time=\"0\" param=\"logo.jpg\"/>\n"
    "  <action name=\"space.createSprite\" type=\"string\" time=\"0\" param=\"title\"/>\n"
    "  <action name=\"space.title.setTexture\" type=\"string\" time=\"0\" param=\"logo\"/>\n"
    "  <action name=\"space.title.setX\" type=\"float\" time=\"0\" param=\"0.25\"/>\n"
    "  <action name=\"space.title.setWidth\" type=\"float\" time=\"0\" param=\"0.5\"/>\n"
    "  <action name=\"space.title.setHeight\" type=\"float\" time=\"0\" param=\"0.2\"/>\n"
    "  <action name=\"space.createSprite3D\" type=\"string\" time=\"0\" param=\"ball\"/>\n"
    "  <action name=\"space.ball.setTexture\" type=\"string\" time=\"0\" param=\"logo\"/>\n"
    "  <action name=\"space.ball.setZ\" type=\"float\" time=\"0\" param=\"-10\"/>\n"
    "  <action name=\"space.createFontSet\" type=\"string\" time=\"0\" param=\"serif\"/>\n"
    "  <action name=\"space.serif.load\" type=\"string\" time=\"0\" param=\"fonts/set.xml\"/>\n"
    "  <action name=\"space.createText3D\" type=\"string\" time=\"0\" param=\"caption\"/>\n"
    "  <action name=\"space.caption.setFontSet\" type=\"string\" time=\"0\" param=\"serif\"/>\n"
    "  <action name=\"space.caption.setText\" type=\"string\" time=\"0\" param=\"ab\"/>\n"
    "  <action name=\"loadResources\" type=\"string\" time=\"0\" param=\"space\"/>\n"
    "  <action name=\"setActiveEnvironment\" type=\"string\" time=\"0\" param=\"space\"/>\n"
    "  <action name=\"space.ball.setY\" type=\"float\" time=\"2\" param=\"1.5\"/>\n"
    "</timeline>\n";

class Environment3DOverlayProgramTest : public TempDirTest {};
}

TEST_F(Environment3DOverlayProgramTest, ShowWithSpritesAndATextPlaysToItsEndTime)
{
    writeFile("show/show.xml", SHOW);
    writeJpeg(path("show/logo.jpg"), 16, 16, 3, solidPixels(16, 16, {200, 120, 40}));
    // The font set is named from the working folder, its pictures from the show's.
    writeFile("fonts/set.xml", "<fontset>\n"
                               "  <character charcode=\"a\" filename=\"glyphs/a.jpg\"/>\n"
                               "  <character charcode=\"b\" filename=\"glyphs/b.jpg\"/>\n"
                               "</fontset>\n");
    for (const char* glyph : {"a", "b"}) {
        writeJpeg(path(std::string("show/glyphs/") + glyph + ".jpg"), 16, 16, 3, solidPixels(16, 16, {250, 250, 250}));
        writeJpeg(path(std::string("show/glyphs/") + glyph + "alpha.jpg"), 16, 16, 1, solidPixels(16, 16, {255}));
    }
    ProgramRun run =
        runProgram({"--timeline", "show/show.xml", "--debugframedraw", "1", "--endtime", "3"}, temp->path());
    ASSERT_FALSE(run.status == -1 && run.output.empty()) << "the program did not run";
    EXPECT_EQ(run.status, 0) << run.output;
    const std::string& out = run.output;

    // Both sprites record their lists in the first frame and replay them after.
    const std::string recorded = "[info] oglobject::render() - Display list not initialized. Initializing..\n";
    std::string::size_type loop = foundAt(out, "main() - Entering frame drawing loop.. Hit [ESC] to exit.");
    std::string::size_type first = foundAt(out, recorded, loop);
    std::string::size_type second = foundAt(out, recorded, first + recorded.size());
    EXPECT_EQ(out.find(recorded, second + recorded.size()), std::string::npos) << out;
    std::string::size_type moved = foundAt(out, "Running \"space.ball.setY(1.50f).", second);
    std::string::size_type end =
        foundAt(out, "[info] program::drawFrame() - End of Playback reached at 3 seconds. Exiting..\n", moved);
    // The glyphs of the text are made at start-up; at 0 s both edges of their quad lie on the paths'
    // first keys, so the first frame finds the quads flat, once per glyph. With the one warning of
    // a scene without animation, three.
    foundAt(out, "[info] fontset::load() - Loading completed. 2 Fonts loaded to a Fontset.\n");
    std::string::size_type flat = foundAt(out, "[warning] mesh::calcFaceNormals(\"", loop);
    foundAt(out, "[warning] mesh::calcFaceNormals(\"", flat + 1);
    foundAt(out, "Log::getInfo() - Total of 0 errors and 3 warnings.", end);
}
