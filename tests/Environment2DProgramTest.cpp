#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "JpegWriter.h"
#include "TestSupport.h"

// A 2D show played end to end by the program, as a user runs it, in a fresh working folder that
// holds the timeline and its images.
namespace {
const char* const SHOW =
    "<?xml version=\"1.0\"?>\n"
    "<timeline>\n"
    "  <action name=\"createEnvironment2D\" type=\"string\" time=\"0\" param=\"flat\"/>\n"
    "  <action name=\"flat.createAnimatedSprite\" type=\"string\" time=\"0\" param=\"logo\"/>\n"
    "  <action name=\"flat.logo.loadImageSequence\" type=\"string\" time=\"0\" param=\"img/logo\"/>\n"
    "  <action name=\"flat.createFader\" type=\"string\" time=\"0\" param=\"fade\"/>\n"
    "  <action name=\"setActiveEnvironment\" type=\"string\" time=\"0\" param=\"flat\"/>\n"
    "  <action name=\"flat.fade.setColor\" type=\"string\" time=\"1.5\" param=\"#ffffff\"/>\n"
    "  <action name=\"flat.fade.setStartTime\" type=\"float\" time=\"1.5\" param=\"2\"/>\n"
    "  <action name=\"createEnvironment2D\" type=\"string\" time=\"3\" param=\"credits\"/>\n"
    "  <action name=\"credits.createAnimatedSprite\" type=\"string\" time=\"3\" param=\"names\"/>\n"
    "  <action name=\"credits.names.loadImageSequence\" type=\"string\" time=\"3\" param=\"img/names\"/>\n"
    "  <action name=\"setActiveEnvironment\" type=\"string\" time=\"3\" param=\"credits\"/>\n"
    "  <action name=\"credits.names.disable\" type=\"none\" time=\"4\"/>\n"
    "</timeline>\n";

class Environment2DProgramTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        writeFile("show/show.xml", SHOW);
        for (int n = 1; n <= 3; ++n)
            writeJpeg(path("show/img/logo" + std::to_string(n) + ".jpg"), 32, 16, 3,
                      solidPixels(32, 16, {static_cast<unsigned char>(80 * n), 0, 0}));
        writeJpeg(path("show/img/names1.jpg"), 16, 32, 3, solidPixels(16, 32, {0, 0, 200}));
    }

};
}

TEST_F(Environment2DProgramTest, FixedStepShowPlaysFramesUpToTheEndTimeAndEndsInOrder)
{
    ProgramRun run = runProgram({"--timeline", "show/show.xml", "--debugframedraw", "1", "--endtime", "3",
                                 "--loglevel", "4"},
                                temp->path());
    ASSERT_FALSE(run.status == -1 && run.output.empty()) << "the program did not run";
    EXPECT_EQ(run.status, 0) << run.output;
    const std::string& out = run.output;

    // Start-up: the time-0 actions, the 2D scene activated before the loop.
    std::string::size_type loaded = foundAt(out, "Running \"flat.logo.loadImageSequence(\"img/logo\").");
    std::string::size_type switched = foundAt(out, "activateEnvironment() - Switching environment to \"flat\".");
    std::string::size_type loop = foundAt(out, "main() - Entering frame drawing loop.. Hit [ESC] to exit.");
    EXPECT_LT(loaded, switched);
    EXPECT_LT(switched, loop);

    // Frames 0, 1 and 2 are drawn (and shown: the loop goes on to the next frame each time).
    std::string::size_type frame0 = foundAt(out, "[debug_fdraw] program::drawFrame() - Drawing frame at 0 seconds.\n");
    std::string::size_type frame1 = foundAt(out, "[debug_fdraw] program::drawFrame() - Drawing frame at 1 seconds.\n");
    std::string::size_type frame2 = foundAt(out, "[debug_fdraw] program::drawFrame() - Drawing frame at 2 seconds.\n");
    std::string::size_type frame3 = foundAt(out, "[debug_fdraw] program::drawFrame() - Drawing frame at 3 seconds.\n");
    EXPECT_LT(loop, frame0);
    EXPECT_LT(frame0, frame1);
    EXPECT_LT(frame1, frame2);
    EXPECT_LT(frame2, frame3);
    // The actions of 1.5 fire in the frame of 2, after its frame line.
    std::string::size_type colour = foundAt(out, "run() - 1.50 Secs. Running \"flat.fade.setColor(\"#ffffff\").");
    EXPECT_LT(frame2, colour);
    EXPECT_LT(colour, frame3);

    // The frame of time 3: its due actions fire (a new 2D scene is filled and activated), the
    // scene renders, and the end is logged before the frame would be shown.
    std::string::size_type late = foundAt(out, "run() - 3.00 Secs. Running \"createEnvironment2D(\"credits\").");
    std::string::size_type names = foundAt(out, "run() - 3.00 Secs. Running \"credits.names.loadImageSequence(\"img/names\").");
    std::string::size_type credits = foundAt(out, "activateEnvironment() - Switching environment to \"credits\".");
    std::string::size_type end =
        foundAt(out, "[info] program::drawFrame() - End of Playback reached at 3 seconds. Exiting..\n");
    EXPECT_LT(frame3, late);
    EXPECT_LT(late, names);
    EXPECT_LT(names, credits);
    EXPECT_LT(credits, end);
    // Nothing is drawn after it, and the action of time 4 never fires.
    EXPECT_EQ(out.find("Drawing frame at 4 seconds."), std::string::npos) << out;
    EXPECT_EQ(out.find("credits.names.disable"), std::string::npos) << out;
    std::string::size_type totals = foundAt(out, "Log::getInfo() - Total of 0 errors and 0 warnings.", end);
    EXPECT_EQ(out.substr(0, totals).find("[error]"), std::string::npos) << out;

    // The log file holds the same lines.
    std::string log = readFile(path("kelvo.log"));
    EXPECT_NE(log.find("Drawing frame at 3 seconds."), std::string::npos);
    EXPECT_NE(log.find("End of Playback reached at 3 seconds."), std::string::npos);
}

TEST_F(Environment2DProgramTest, MissingImageSequenceEndsTheShowWithTheSpritesMessage)
{
    writeFile("show/broken.xml",
              "<timeline>\n"
              "  <action name=\"createEnvironment2D\" type=\"string\" time=\"0\" param=\"flat\"/>\n"
              "  <action name=\"setActiveEnvironment\" type=\"string\" time=\"0\" param=\"flat\"/>\n"
              "  <action name=\"flat.createAnimatedSprite\" type=\"string\" time=\"1\" param=\"logo\"/>\n"
              "  <action name=\"flat.logo.loadImageSequence\" type=\"string\" time=\"1\" param=\"img/none\"/>\n"
              "</timeline>\n");
    ProgramRun run = runProgram({"--timeline", "show/broken.xml", "--debugframedraw", "1", "--endtime", "5"},
                                temp->path());
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("AnimatedSpriteException::loadImageSequence() - Failed to load any images from "
                              "\"img/none\"!"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("End of Playback"), std::string::npos) << run.output;
}
