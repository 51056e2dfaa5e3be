#include "Timeline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "Action.inl"
#include "ExitNowException.h"
#include "TestSupport.h"
#include "Timer.h"

namespace {
// Root of a test show: records "<name>(<value>)" for every action that reaches it.
class Stage : public Action<Stage> {
public:
    Stage()
    {
        addAction("a", &Stage::a);
        addAction("b", &Stage::b);
        addAction("c", &Stage::c);
        addAction("d", &Stage::d);
        addStringAction("say", &Stage::say);
        addFloatAction("scale", &Stage::scale);
        addIntAction("count", &Stage::count);
        addAction("exit", &Stage::exit);
        addAction("oops", &Stage::oops);
    }

    void a() { calls.push_back("a()"); }
    void b() { calls.push_back("b()"); }
    void c() { calls.push_back("c()"); }
    void d() { calls.push_back("d()"); }
    void say(std::string text) { calls.push_back("say(" + text + ")"); }
    void scale(float value) { calls.push_back("scale(" + std::to_string(value) + ")"); }
    void count(int value) { calls.push_back("count(" + std::to_string(value) + ")"); }
    void exit() { throw ExitNowException("Exit requested."); }
    void oops() { throw std::runtime_error("oops"); }

    std::vector<std::string> calls;
};

class TimelineTest : public ::testing::Test {
protected:
    TimelineTest() { timeline.setRoot(&stage); }

    // The calls that one update fires.
    std::vector<std::string> fire(float time)
    {
        stage.calls.clear();
        timeline.update(time);
        return stage.calls;
    }

    Stage stage;
    Timeline timeline;
};

typedef std::vector<std::string> Calls;
}

TEST_F(TimelineTest, FiresInFileOrderAndStopsAtTheFirstActionNotDue)
{
    timeline.addTimedAction(TimedAction(5.0, "a", ActionKindNone, ""));
    timeline.addTimedAction(TimedAction(2.0, "b", ActionKindNone, ""));
    timeline.addTimedAction(TimedAction(8.0, "c", ActionKindNone, ""));
    EXPECT_EQ(fire(3.0f), Calls{});
    EXPECT_EQ(fire(6.0f), (Calls{"a()", "b()"}));
    EXPECT_EQ(fire(9.0f), Calls{"c()"});
    EXPECT_EQ(fire(100.0f), Calls{});
}

TEST_F(TimelineTest, StartUpUpdateFiresTheLeadingActionsAtOrBeforeZero)
{
    timeline.addTimedAction(TimedAction(-1.0, "a", ActionKindNone, ""));
    timeline.addTimedAction(TimedAction(0.0, "b", ActionKindNone, ""));
    timeline.addTimedAction(TimedAction(0.0, "c", ActionKindNone, ""));
    timeline.addTimedAction(TimedAction(0.001, "d", ActionKindNone, ""));
    EXPECT_EQ(fire(0.0f), (Calls{"a()", "b()", "c()"}));
    // A clock going backwards fires nothing again; a jump forward fires what was skipped.
    EXPECT_EQ(fire(-5.0f), Calls{});
    EXPECT_EQ(fire(1.0f), Calls{"d()"});
}

TEST_F(TimelineTest, RewindLetsEveryActionFireAgain)
{
    timeline.addTimedAction(TimedAction(1.0, "a", ActionKindNone, ""));
    EXPECT_EQ(fire(1.0f), Calls{"a()"});
    EXPECT_EQ(fire(1.0f), Calls{});
    timeline.rewind();
    EXPECT_EQ(fire(1.0f), Calls{"a()"});
}

TEST_F(TimelineTest, EachKindCallsItsEntryPointWithTheConvertedParameterAndLogsIt)
{
    struct Case {
        int kind;
        const char* action;
        const char* parameter;
        const char* call;
        const char* line;
    } cases[] = {
        {ActionKindNone, "a", "", "a()", "[info] timeline::run() - 1.50 Secs. Running a().\n"},
        {ActionKindString, "say", "hi there", "say(hi there)",
         "[info] timeline::run() - 1.50 Secs. Running \"say(\"hi there\").\n"},
        {ActionKindFloat, "scale", "2.5", "scale(2.500000)",
         "[info] timeline::run() - 1.50 Secs. Running \"scale(2.50f).\n"},
        {ActionKindFloat, "scale", "abc", "scale(0.000000)",
         "[info] timeline::run() - 1.50 Secs. Running \"scale(0.00f).\n"},
        {ActionKindInteger, "count", "12abc", "count(12)",
         "[info] timeline::run() - 1.50 Secs. Running \"count(12.00i).\n"},
        {ActionKindInteger, "count", "99999999999", "count(2147483647)",
         "[info] timeline::run() - 1.50 Secs. Running \"count(2147483647.00i).\n"},
    };
    for (const Case& c : cases) {
        stage.calls.clear();
        LogCapture log;
        Log::getInstance()->setLevel(LogLevel::info);
        timeline.run(TimedAction(1.5, c.action, c.kind, c.parameter));
        EXPECT_EQ(stage.calls, Calls{c.call}) << c.call;
        EXPECT_EQ(log.text(), c.line) << c.call;
    }
}

TEST_F(TimelineTest, UnknownKindIsLoggedNowhereAndCallsNothing)
{
    LogCapture log;
    Log::getInstance()->setLevel(LogLevel::frame);
    timeline.run(TimedAction(1.0, "a", 7, ""));
    EXPECT_EQ(stage.calls, Calls{});
    EXPECT_EQ(log.text(), "");
}

TEST_F(TimelineTest, FailuresAreWrappedWithTheActionAndItsTimeAndCountAsFired)
{
    timeline.addTimedAction(TimedAction(4.0, "say", ActionKindNone, ""));
    timeline.addTimedAction(TimedAction(4.0, "nobody.a", ActionKindNone, ""));
    timeline.addTimedAction(TimedAction(4.0, "a", ActionKindNone, ""));
    LogCapture log;
    try {
        timeline.update(5.0f);
        FAIL() << "no exception";
    } catch (const TimelineException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::TimelineException::run() - Action \"say\" timed at 4.00 "
                                  "seconds failed to execute! KelvoEngineException::::ActionException::action() - "
                                  "Action \"say\" takes a string, not none!");
    }
    // The Action's own not-found line is the only one logged.
    EXPECT_EQ(log.errors(), 1);
    try {
        timeline.update(5.0f);
        FAIL() << "no exception";
    } catch (const TimelineException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::TimelineException::run() - Action \"nobody.a\" timed at "
                                  "4.00 seconds failed to execute! KelvoEngineException::::"
                                  "ActionControllableException::childAction() - Child action \"nobody\" not found!");
    }
    EXPECT_EQ(fire(5.0f), Calls{"a()"});
}

TEST_F(TimelineTest, ExitPassesThroughUnwrapped)
{
    timeline.addTimedAction(TimedAction(0.0, "exit", ActionKindNone, ""));
    timeline.addTimedAction(TimedAction(0.0, "a", ActionKindNone, ""));
    try {
        timeline.update(0.0f);
        FAIL() << "no exception";
    } catch (const ExitNowException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::ExitNowException::Exit requested.");
    } catch (const Exception& e) {
        FAIL() << "wrapped: " << e.getMessage();
    }
    EXPECT_EQ(fire(0.0f), Calls{"a()"});
}

TEST_F(TimelineTest, ThrowsThatAreNotEngineExceptionsPassThrough)
{
    timeline.addTimedAction(TimedAction(0.0, "oops", ActionKindNone, ""));
    EXPECT_THROW(timeline.update(0.0f), std::runtime_error);
}

TEST(TimelineState, FreshTimelineHasNoNameNoOffsetAndIgnoresUpdates)
{
    Timeline timeline;
    EXPECT_EQ(timeline.getName(), "");
    EXPECT_EQ(timeline.getTimeOffset(), 0.0f);
    timeline.update(1000.0f);
    timeline.setName("show");
    EXPECT_EQ(timeline.getName(), "show");
}

TEST(TimedAction, KeepsItsFieldsAndConvertsLeadingNumbers)
{
    TimedAction action(2.25, "scene.fader.setDuration", ActionKindFloat, "1.5s");
    EXPECT_EQ(action.getTime(), 2.25);
    EXPECT_EQ(action.getAction(), "scene.fader.setDuration");
    EXPECT_EQ(action.getKind(), ActionKindFloat);
    EXPECT_EQ(action.getParameter(), "1.5s");
    EXPECT_EQ(action.getFloatParameter(), 1.5f);
    EXPECT_EQ(action.getIntParameter(), 1);
    struct Case {
        const char* text;
        float asFloat;
        int asInt;
    } cases[] = {
        {"", 0.0f, 0}, {"abc", 0.0f, 0}, {"-3.75", -3.75f, -3}, {" 42", 42.0f, 42},
        {"-99999999999", -1e11f, -2147483647 - 1},
    };
    for (const Case& c : cases) {
        TimedAction parsed(0.0, "x", ActionKindFloat, c.text);
        EXPECT_EQ(parsed.getFloatParameter(), c.asFloat) << c.text;
        EXPECT_EQ(parsed.getIntParameter(), c.asInt) << c.text;
    }
    EXPECT_EQ(TimedAction(0.0, "x", ActionKindFloat, "1e300").getFloatParameter(), HUGE_VALF);
}

TEST(TimelineWithTimer, TimerActionsReachTheClockThroughItsChildName)
{
    static Uint32 ticks = 0;  // ms
    Timer timer;
    timer.setTickSource([] { return ticks; });
    Stage stage;
    stage.addChildAction(&timer, "timer");
    Timeline timeline;
    timeline.setRoot(&stage);
    timeline.addTimedAction(TimedAction(1.0, "timer.set", ActionKindFloat, "12.5"));
    timeline.addTimedAction(TimedAction(2.0, "timer.loopAt", ActionKindFloat, "10"));
    timeline.addTimedAction(TimedAction(3.0, "Timer.reset", ActionKindNone, ""));
    ticks = 1000;
    timeline.update(1.0f);
    EXPECT_FLOAT_EQ(timer.getTime(), 12.5f);
    timeline.update(2.0f);
    EXPECT_FLOAT_EQ(timer.getTime(), 2.5f);
    // Child names are case-sensitive.
    EXPECT_THROW(timeline.update(3.0f), TimelineException);
    EXPECT_FLOAT_EQ(timer.getTime(), 2.5f);
}
