#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"

// The program run as a user runs it, in a fresh working folder, under the shared X server.
namespace {
const char* const BANNER = "main() - This is an Vantor Studios Vemk KelvoEngine project, built ";
const char* const HELP_LINE = "main() - Printing Command Line Help.\nAvailable command line options:\n\n"
                              "  --timeline <path_to/timeline.xml>\n";
const char* const HELP_END = "                        Defaults: znear 1.0, zfar 300.0.\n\n";
const char* const NO_TIMELINE = "[error] program::main() - No Timeline xml file specified. Please give --timeline "
                                "<xmlfile> as a command line parameter. Aborting... \n";
const char* const WINDOW_LINE = "sdlInitializeVideo() - Frame buffer is 640x480x";
const char* const STARTUP_FAILURE =
    "[error] program::main() - Initialization terminated because of an exception. Exception message follows. ";
const char* const LOOP_ENTRY = "main() - Entering frame drawing loop.. Hit [ESC] to exit.";
const char* const LOGLEVEL_MISSING = "CommandlineException::getParameter() - Empty or missing Logging level value (0 - "
                                     "errors only, 1 - warnings, 2 - informative, 3 - debug, 4 - debug frame drawing).";

const char* const EMPTY_TIMELINE = "<?xml version=\"1.0\"?>\n<timeline>\n</timeline>\n";

class ProgramTest : public TempDirTest {
protected:
    ProgramRun run(const std::vector<std::string>& arguments)
    {
        ProgramRun result = runProgram(arguments, temp->path());
        if (result.status == -1 && result.output.empty())
            ADD_FAILURE() << "the program did not run";
        return result;
    }

    static bool has(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }
    std::string logFile() const { return readFile(path("kelvo.log")); }
};
}

TEST_F(ProgramTest, HelpIsShownWithoutOpeningAWindowAndEndsWith255)
{
    writeFile("show.xml", EMPTY_TIMELINE);
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--help", "--timeline", "show.xml"},
        {"--timeline", "show.xml", "-h"},
        {"-?"},
    };
    for (const std::vector<std::string>& arguments : cases) {
        std::string shown = arguments.empty() ? "(none)" : arguments[0];
        ProgramRun result = run(arguments);
        EXPECT_EQ(result.status, 255) << shown << "\n" << result.output;
        // The banner comes first, the help text after it, the error line last.
        std::string::size_type banner = result.output.find(BANNER);
        std::string::size_type help = result.output.find(HELP_LINE);
        std::string::size_type error = result.output.find(NO_TIMELINE);
        ASSERT_NE(banner, std::string::npos) << shown << "\n" << result.output;
        ASSERT_NE(help, std::string::npos) << shown << "\n" << result.output;
        ASSERT_NE(error, std::string::npos) << shown << "\n" << result.output;
        EXPECT_LT(banner, help);
        EXPECT_LT(help, error);
        EXPECT_TRUE(has(result.output, HELP_END)) << shown;
        EXPECT_FALSE(has(result.output, WINDOW_LINE)) << shown;
        EXPECT_FALSE(has(result.output, "Loading Timeline")) << shown;

        // The log file holds everything, the last line included, though the process just returned.
        std::string log = logFile();
        EXPECT_TRUE(has(log, BANNER)) << shown;
        EXPECT_TRUE(has(log, HELP_LINE)) << shown;
        EXPECT_TRUE(has(log, HELP_END)) << shown;
        EXPECT_EQ(log.size() - log.rfind(NO_TIMELINE), std::string(NO_TIMELINE).size()) << shown << "\n" << log;
    }
}

TEST_F(ProgramTest, WithoutALogFileTheLinesGoToStandardOutputOnly)
{
    ProgramRun result = run({"--nologfile"});
    EXPECT_EQ(result.status, 1) << result.output;
    EXPECT_FALSE(fileExists(path("kelvo.log")));
    EXPECT_TRUE(has(result.output, BANNER));
    EXPECT_TRUE(has(result.output, WINDOW_LINE)) << result.output;
    EXPECT_TRUE(has(result.output, "[error] program::main() - Error! No Timeline xml file specified. Please give "
                                   "--timeline <xmlfile> as a command line parameter. Aborting... \n"))
        << result.output;
    EXPECT_TRUE(has(result.output, "Log::getInfo() - Total of 1 errors and 0 warnings."));
}

TEST_F(ProgramTest, LogLevelOutsideTheRangeWarnsAndKeepsInformativeLines)
{
    writeFile("show.xml", EMPTY_TIMELINE);
    ProgramRun result = run({"--loglevel", "7", "--timeline", "show.xml"});
    EXPECT_EQ(result.status, 1) << result.output;
    EXPECT_TRUE(has(result.output,
                    "[warning] program::main() - Unknown logging level specified. Using informative level (2).\n"))
        << result.output;
    EXPECT_TRUE(has(result.output, WINDOW_LINE));
    EXPECT_TRUE(has(result.output, LOOP_ENTRY));
    EXPECT_TRUE(has(logFile(), "Total of 2 errors and 1 warnings."));
}

TEST_F(ProgramTest, LogLevelZeroShowsOnlyErrorsFromThenOn)
{
    writeFile("show.xml", EMPTY_TIMELINE);
    ProgramRun result = run({"--timeline", "show.xml", "--loglevel", "0"});
    EXPECT_EQ(result.status, 1) << result.output;
    EXPECT_TRUE(has(result.output, BANNER)) << "the banner is written before the level applies";
    EXPECT_FALSE(has(result.output, WINDOW_LINE));
    EXPECT_FALSE(has(result.output, LOOP_ENTRY));
    EXPECT_FALSE(has(result.output, "drawFrame() - Terminating.."));
    EXPECT_FALSE(has(result.output, "Total of"));
    EXPECT_TRUE(has(result.output, "[error] program::drawFrame() - Exception occurred while drawing  frame."))
        << result.output;
    // Only the banner is informative; everything after it is an error line.
    std::string afterBanner = result.output.substr(result.output.find(BANNER));
    EXPECT_EQ(afterBanner.find("[info]", 1), std::string::npos) << afterBanner;
    EXPECT_FALSE(has(logFile(), LOOP_ENTRY));
}

TEST_F(ProgramTest, LogLevelWithoutAValueEndsStartUpAsAFailure)
{
    const std::vector<std::vector<std::string>> cases = {
        {"--timeline", "show.xml", "--loglevel", "-1"},
        {"--timeline", "show.xml", "--loglevel"},
    };
    writeFile("show.xml", EMPTY_TIMELINE);
    for (const std::vector<std::string>& arguments : cases) {
        ProgramRun result = run(arguments);
        EXPECT_EQ(result.status, 1) << result.output;
        EXPECT_TRUE(has(result.output, std::string(STARTUP_FAILURE) + "KelvoEngineException::::" + LOGLEVEL_MISSING))
            << result.output;
        EXPECT_FALSE(has(result.output, WINDOW_LINE)) << "the value is read before the window opens";
        EXPECT_TRUE(has(result.output, "Total of 2 errors and 0 warnings."));
    }
}

TEST_F(ProgramTest, TimelineThatCannotBeReadEndsStartUpAsAFailure)
{
    writeFile("broken.xml", "<timeline><action name=\"exit\" type=\"none\" time=\"0\"></timeline>");
    writeFile("shows/x", "");
    struct Case {
        const char* file;
        const char* message;
    } cases[] = {
        {"missing.xml", "XMLParserException::load() - An error occured during parsing. File \"missing.xml\": file not "
                        "found."},
        {"shows", "XMLParserException::load() - An error occured during parsing. File \"shows\": not a regular "
                  "file."},
        {"broken.xml", "XMLParserException::load() - Error occurred while parsing \"broken.xml\". Errors should "
                       "have been reported by the parser."},
    };
    for (const Case& c : cases) {
        ProgramRun result = run({"--timeline", c.file});
        EXPECT_EQ(result.status, 1) << result.output;
        EXPECT_TRUE(has(result.output, std::string(STARTUP_FAILURE) + "KelvoEngineException::::" + c.message))
            << result.output;
        EXPECT_FALSE(has(result.output, LOOP_ENTRY));
        EXPECT_TRUE(has(logFile(), c.message)) << c.file;
    }
}

TEST_F(ProgramTest, ExitAmongTheStartActionsIsLoggedAsAStartUpFailureButEndsInOrder)
{
    // In a sub-folder: the timeline's folder becomes the resource folder. The clock is reachable
    // as "timer" before the show ends.
    writeFile("shows/show.xml", "<timeline>\n"
                                "  <action name=\"timer.loopAt\" type=\"float\" time=\"0\" param=\"10\"/>\n"
                                "  <action name=\"exit\" type=\"none\" time=\"0\"/>\n"
                                "  <action name=\"setActiveEnvironment\" type=\"string\" time=\"0\" param=\"x\"/>\n"
                                "</timeline>\n");
    ProgramRun result = run({"--timeline", "shows/show.xml"});
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_TRUE(has(result.output, std::string(STARTUP_FAILURE) + "KelvoEngineException::::ExitNowException::Exit "
                                                                  "requested.\n"))
        << result.output;
    EXPECT_TRUE(has(result.output, "Total of 1 errors and 0 warnings.")) << result.output;
    EXPECT_FALSE(has(result.output, "Switching environment"));
    EXPECT_FALSE(has(result.output, LOOP_ENTRY));
}

TEST_F(ProgramTest, AFailingStartActionEndsStartUpAsAFailure)
{
    writeFile("show.xml", "<timeline><action name=\"Timer.reset\" type=\"none\" time=\"-1\"/></timeline>");
    ProgramRun result = run({"--timeline", "show.xml"});
    EXPECT_EQ(result.status, 1) << result.output;
    EXPECT_TRUE(has(result.output, std::string(STARTUP_FAILURE) + "KelvoEngineException::::TimelineException::run() - "
                                                                  "Action \"Timer.reset\" timed at -1.00 seconds"))
        << result.output;
}

TEST_F(ProgramTest, FirstFrameWithoutAnActiveSceneEndsTheShowAsAFailure)
{
    writeFile("show.xml", EMPTY_TIMELINE);
    ProgramRun result = run({"--timeline", "show.xml"});
    EXPECT_EQ(result.status, 1) << result.output;
    const char* expected[] = {
        LOOP_ENTRY,
        "[error] environmentcontroller::render() - No environment available! Unable to render the scene.\n",
        "[error] program::drawFrame() - Exception occurred while drawing  frame. Exception message follows. "
        "KelvoEngineException::::EnvironmentControllerException::render() - No environment available! Unable to "
        "render the scene.\n",
        "[info] program::drawFrame() - Terminating..\n",
        "Log::getInfo() - Total of 2 errors and 0 warnings.\n",
    };
    std::string::size_type at = 0;
    std::string log = logFile();
    for (const char* line : expected) {
        at = log.find(line, at);
        ASSERT_NE(at, std::string::npos) << line << "\n" << log;
    }
    EXPECT_EQ(log.size() - at, std::string(expected[4]).size()) << "the totals are the last line";
}

TEST_F(ProgramTest, UnknownArgumentsAndValuesThatAreNoNumbersAreWarnedAboutAndPlayGoesOn)
{
    writeFile("show.xml", EMPTY_TIMELINE);
    struct Case {
        std::vector<std::string> arguments;
        std::vector<std::string> warnings;
    } cases[] = {
        {{"--timeline", "show.xml", "--frobnicate", "3"},
         {"main() - Ignoring the unknown option \"--frobnicate\" and its value \"3\"."}},
        {{"--fulscreen", "--timeline", "show.xml"}, {"main() - Ignoring the unknown option \"--fulscreen\"."}},
        {{"show.xml", "--timeline", "show.xml"},
         {"main() - Ignoring the argument \"show.xml\": it follows no option that takes a value."}},
        {{"--timeline", "show.xml", "--endtime", "abc"},
         {"main() - The value \"abc\" of the option \"--endtime\" is not a number; it is read as 0."}},
        {{"--zfar", "9x", "--timeline", "show.xml", "--znear", "0.5", "--loglevel", "3x"},
         {"main() - The value \"9x\" of the option \"--zfar\" is not a number; it is read as 9.",
          "main() - The value \"3x\" of the option \"--loglevel\" is not a number; it is read as 3."}},
        // Only the first of an option given twice is read, and only it is checked.
        {{"--timeline", "show.xml", "--endtime", "2.5", "--endtime", "x", "--nologfile", "--debugframedraw", "1"}, {}},
    };
    for (const Case& c : cases) {
        ProgramRun result = run(c.arguments);
        const std::string shown = c.arguments[0] + " " + c.arguments[1];
        EXPECT_EQ(result.status, 1) << shown << "\n" << result.output;
        std::string::size_type at = 0;
        for (const std::string& warning : c.warnings) {
            at = result.output.find("[warning] program::" + warning + "\n", at);
            ASSERT_NE(at, std::string::npos) << warning << "\n" << result.output;
        }
        EXPECT_LT(at, result.output.find(WINDOW_LINE)) << "warned at start-up\n" << result.output;
        // The show plays on: the empty timeline fails in its first frame, as without the warnings.
        EXPECT_TRUE(has(result.output, LOOP_ENTRY)) << shown;
        EXPECT_TRUE(has(result.output, "Total of 2 errors and " + std::to_string(c.warnings.size()) + " warnings."))
            << shown << "\n" << result.output;
    }
}

TEST_F(ProgramTest, ALogFileThatCannotBeWrittenSaysWhy)
{
    std::filesystem::create_directory(path("kelvo.log"));
    ProgramRun result = run({"--help"});
    EXPECT_EQ(result.status, 255) << result.output;
    EXPECT_TRUE(has(result.output, "Log::initialize() - Error: Failed to initialize log file \"kelvo.log\". Reason: Is a "
                                   "directory.\n"))
        << result.output;
    EXPECT_TRUE(has(result.output, BANNER)) << "the log goes on to standard output";
}

TEST_F(ProgramTest, TheBundledShowsVoicesOverItsMusicNeverReachFullScale)
{
    // The bundled show's own scenes and sound files, the talking scene started while the intro's
    // music is at its loudest, so that the voices sit on the music for most of ten seconds.
    // SDL's disk driver records what the device plays, at about real-time pace.
    std::filesystem::create_directory(path("mix"));
    for (const char* folder : {"intro", "ki", "ro"})
        std::filesystem::create_directory_symlink(sourceDir() + "/show/" + folder, path(std::string("mix/") + folder));
    writeFile("mix/timeline.xml",
              "<timeline>\n"
              "  <action name=\"createSoundEngine\" type=\"string\" time=\"0\" param=\"sound\"/>\n"
              "  <action name=\"createTovoIntroEnvironment\" type=\"string\" time=\"0\" param=\"intro\"/>\n"
              "  <action name=\"createTovoEnvironment\" type=\"string\" time=\"0\" param=\"talk\"/>\n"
              "  <action name=\"loadResources\" type=\"string\" time=\"0\" param=\"talk\"/>\n"
              "  <action name=\"loadResources\" type=\"string\" time=\"0\" param=\"intro\"/>\n"
              "  <action name=\"setActiveEnvironment\" type=\"string\" time=\"0\" param=\"intro\"/>\n"
              "  <action name=\"setActiveEnvironment\" type=\"string\" time=\"0.5\" param=\"talk\"/>\n"
              "</timeline>\n");
    const std::string recording = path("mix.raw");
    const char* const variables[] = {"SDL_AUDIODRIVER", "SDL_DISKAUDIOFILE", "SDL_DISKAUDIODELAY"};
    std::vector<std::string> saved;
    for (const char* variable : variables)
        saved.push_back(std::getenv(variable) ? std::getenv(variable) : "");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", recording.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "40", 1);  // milliseconds between buffers of 2048 frames (46 ms)
    ProgramRun result = run({"--timeline", "mix/timeline.xml", "--endtime", "12", "--loglevel", "3"});
    for (size_t i = 0; i < saved.size(); ++i)
        setenv(variables[i], saved[i].c_str(), 1);

    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_TRUE(has(result.output, "[info] soundengine::play() - Playing sound.")) << result.output;
    EXPECT_TRUE(has(result.output, "talks for ")) << "nobody spoke\n" << result.output;
    const std::string raw = readFile(recording);
    ASSERT_GE(raw.size(), 44100u * 4 * 8) << "at least eight seconds of 16-bit stereo were played";
    int fullScale = 0;
    int peak = 0;
    for (size_t i = 0; i + 1 < raw.size(); i += 2) {
        const int sample = static_cast<int16_t>(static_cast<uint16_t>(static_cast<unsigned char>(raw[i]) |
                                                                      static_cast<unsigned char>(raw[i + 1]) << 8));
        peak = std::max(peak, std::abs(sample));
        if (sample >= 32767 || sample <= -32767)
            ++fullScale;
    }
    EXPECT_EQ(fullScale, 0) << "of " << raw.size() / 2 << " samples; the loudest is " << peak;
}

TEST_F(ProgramTest, AShowWithSoundPlaysSilentlyToItsEndWithoutAnAudioDevice)
{
    writeFile("show/tune.wav", std::string("RIFF"));
    writeFile("show/show.xml",
              "<timeline>\n"
              "  <action name=\"createEnvironment2D\" type=\"string\" time=\"0\" param=\"flat\"/>\n"
              "  <action name=\"setActiveEnvironment\" type=\"string\" time=\"0\" param=\"flat\"/>\n"
              "  <action name=\"createSoundEngine\" type=\"string\" time=\"0\" param=\"sound\"/>\n"
              "  <action name=\"sound.load\" type=\"string\" time=\"0\" param=\"tune.wav\"/>\n"
              "  <action name=\"sound.play\" type=\"none\" time=\"1\"/>\n"
              "  <action name=\"sound.stop\" type=\"none\" time=\"1\"/>\n"
              "  <action name=\"sound.load\" type=\"string\" time=\"2\" param=\"tune.wav\"/>\n"
              "  <action name=\"sound.play\" type=\"none\" time=\"2\"/>\n"
              "</timeline>\n");
    const char* const saved = std::getenv("SDL_AUDIODRIVER");
    const std::string kept = saved ? saved : "";
    setenv("SDL_AUDIODRIVER", "nosuchdriver", 1);
    ProgramRun result = run({"--timeline", "show/show.xml", "--debugframedraw", "1", "--endtime", "3"});
    setenv("SDL_AUDIODRIVER", kept.c_str(), 1);

    EXPECT_EQ(result.status, 0) << result.output;
    // Each failure in a sentence of its own, naming its own subsystem and cause.
    EXPECT_TRUE(has(result.output, "[warning] program::sdlInitializeVideo() - Audio initialization failed. No "
                                   "available audio device. Playing without sound.\n"))
        << result.output;
    EXPECT_FALSE(has(result.output, "X11")) << result.output;
    for (const char* action : {"load", "play", "stop"}) {
        const std::string warning = std::string("[warning] soundengine::no audio device: ") + action + " does nothing\n";
        const std::string::size_type first = result.output.find(warning);
        EXPECT_NE(first, std::string::npos) << action << "\n" << result.output;
        EXPECT_EQ(result.output.find(warning, first + 1), std::string::npos) << action << " warned twice";
    }
    EXPECT_FALSE(has(result.output, "not found")) << result.output;
    EXPECT_TRUE(has(result.output, "drawFrame() - End of Playback reached at 3")) << result.output;
    // The device's error and the four warnings.
    EXPECT_TRUE(has(result.output, "Total of 1 errors and 4 warnings.")) << result.output;
}
