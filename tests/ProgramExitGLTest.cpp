#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "EnvironmentController.h"
#include "GLEnvironment.h"
#include "GenericEnvironment.h"
#include "Log.h"
#include "Program.h"
#include "TimedAction.h"
#include "Timeline.h"
#include "Timer.h"

// The ways the frame loop ends, each in a child process (the shutdown ends the process). The
// child writes its log lines and the times it renders to standard error, which the parent matches.
namespace {
Uint32 ticks = 0;  // ms
Uint32 readTicks()
{
    return ticks;
}

class EchoScene : public GenericEnvironment {
public:
    void initialize() override { initialized = true; }
    void loadResources() override {}
    void render(double time) override { std::cerr << "render " << time << "\n"; }
    void setViewState() override {}
};

class ProgramExitTest : public ::testing::Test {
protected:
    ProgramExitTest() : controller(new EnvironmentController())
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        controller->initialize();
        controller->registerEnvironment("scene", std::make_unique<EchoScene>(), nullptr);
        controller->activateEnvironment("scene");
        timeline.setRoot(controller);
        timeline.setName("show.xml");
        program.attach(controller, &timeline);
    }

    // In the child: logs to standard error, options applied, clock at 0.
    void start(std::vector<std::string> options)
    {
        Log::getInstance()->setCaptureStream(&std::cerr);
        options.insert(options.begin(), "kelvo");
        std::vector<char*> arguments;
        for (std::string& option : options)
            arguments.push_back(&option[0]);
        program.applyCommandline(static_cast<int>(arguments.size()), arguments.data());
        ticks = 0;
        Program::getPlaybackTimer().setTickSource(readTicks);
        Program::getPlaybackTimer().reset();
    }

    void framesAt(const std::vector<Uint32>& times)
    {
        for (Uint32 ms : times) {
            ticks = ms;
            program.drawFrame();
        }
    }

    // Deleted by the shutdown in a child that ends through it, else by the fixture.
    ~ProgramExitTest() override { delete controller; }

    EnvironmentController* controller;
    Timeline timeline;
    Program program;
};

const char* const TOTALS = "Log::getInfo\\(\\) - Total of [0-9]+ errors and [0-9]+ warnings\\.";
}

TEST_F(ProgramExitTest, FixedStepClockRendersWholeStepsAndEndsInTheFrameOfTheEndTime)
{
    EXPECT_EXIT(
        {
            start({"--debugframedraw", "1.9", "--endtime", "3"});
            for (int i = 0; i < 10; ++i)
                program.drawFrame();
        },
        ::testing::ExitedWithCode(0),
        "^render 0\nrender 1\nrender 2\nrender 3\n\\[info\\] program::drawFrame\\(\\) - End of Playback reached at 3 seconds\\. "
        "Exiting\\.\\.\n.*Total of 0 errors");
}

TEST_F(ProgramExitTest, RealTimeClockEndsInTheFirstFrameAtOrAfterTheEndTime)
{
    EXPECT_EXIT(
        {
            start({"--endtime", "30", "--debugframedraw", "0.5"});
            framesAt({1000, 29990, 30500, 40000});
        },
        ::testing::ExitedWithCode(0),
        "render 29\\.99\nrender 30\\.5\n\\[info\\] program::drawFrame\\(\\) - End of Playback reached at 30 seconds\\. Exiting\\.\\.");
}

TEST_F(ProgramExitTest, ExitActionDuringPlaybackEndsInOrder)
{
    timeline.addTimedAction(TimedAction(1.0, "exit", ActionKindNone, ""));
    EXPECT_EXIT(
        {
            start({});
            framesAt({0, 500, 1500, 2000});
        },
        ::testing::ExitedWithCode(0),
        "render 0\nrender 0\\.5\n(\\[info\\] timeline[^\n]*\n)?\\[info\\] program::drawFrame\\(\\) - Exit requested\\. Terminating\\.\\.\n.*"
        "Total of 0 errors");
}

TEST_F(ProgramExitTest, FailingActionDuringPlaybackEndsAsAFailure)
{
    timeline.addTimedAction(TimedAction(1.0, "nothing", ActionKindNone, ""));
    EXPECT_EXIT(
        {
            start({});
            framesAt({0, 1500, 2000});
        },
        ::testing::ExitedWithCode(1),
        "render 0\n(\\[[^\n]*\n)*\\[error\\] program::drawFrame\\(\\) - Exception occurred while drawing  frame\\. Exception "
        "message follows\\. KelvoEngineException::::TimelineException::run\\(\\) - Action \"nothing\" timed at 1\\.00 "
        "seconds failed to execute! [^\n]*\n\\[info\\] program::drawFrame\\(\\) - Terminating\\.\\.\n");
}

TEST_F(ProgramExitTest, EscapeEndsInOrder)
{
    EXPECT_EXIT(
        {
            start({});
            SDL_KeyboardEvent event = {};
            event.type = SDL_KEYDOWN;
            event.keysym.sym = SDLK_ESCAPE;
            program.keyboardCallback(event);
        },
        ::testing::ExitedWithCode(0), "keyboardCallback\\(\\) - Keyboard exit\\. Terminating\\.\n.*Total of 0 errors");
}

TEST_F(ProgramExitTest, ClosingTheWindowEndsInOrder)
{
    EXPECT_EXIT(
        {
            start({});
            SDL_Event quit = {};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
            program.handleEvents();
            std::cerr << "still running\n";
        },
        ::testing::ExitedWithCode(0), TOTALS);
}

TEST_F(ProgramExitTest, EventsWithoutKeysOrQuitLeaveTheLoopRunning)
{
    SDL_Event motion = {};
    motion.type = SDL_MOUSEMOTION;
    SDL_PushEvent(&motion);
    EXPECT_EQ(program.handleEvents(), 0);
}
