#include "ActionControllable.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Action.inl"
#include "TestSupport.h"

namespace {
// A scriptable object that records every handler call as "<object>:<handler>(<value>)".
class Recorder : public Action<Recorder> {
public:
    Recorder(const std::string& id, std::vector<std::string>* calls) : id(id), calls(calls)
    {
        setClassName("Action<Recorder>");
        addAction("ping", &Recorder::ping);
        addStringAction("say", &Recorder::say);
        addStringAction("sayRef", &Recorder::sayRef);
        addFloatAction("scale", &Recorder::scale);
        addIntAction("count", &Recorder::count);
        addAction("fail", &Recorder::fail);
        addAction("raise", &Recorder::raise);
        addAction("rebind", &Recorder::rebind);
    }

    void ping() { record("ping()"); }
    void say(std::string text) { record("say(" + text + ")"); }
    void sayRef(const std::string& text) { record("sayRef(" + text + ")"); }
    int scale(float value)
    {
        record("scale(" + std::to_string(value) + ")");
        return 1;
    }
    void count(int value) { record("count(" + std::to_string(value) + ")"); }
    void fail() { throw InvalidParameterValueException("fail() - bad value"); }
    void raise() { throw std::runtime_error("not an engine exception"); }
    void pong() { record("pong()"); }
    void rename(const std::string& newId) { id = newId; }
    void rebind()
    {
        // Replaces the very handler that is running.
        addAction("rebind", &Recorder::pong);
        record("rebind()");
    }

private:
    void record(const std::string& call) { calls->push_back(id + ":" + call); }

    std::string id;
    std::vector<std::string>* calls;
};

// Scriptable with no actions of its own.
class Bare : public Action<Bare> {};

class ActionTree : public ::testing::Test {
protected:
    ActionTree() : root("root", &calls), a("a", &calls), b("b", &calls)
    {
        root.addChildAction(&a, "a");
        a.addChildAction(&b, "b");
    }

    std::vector<std::string> calls;
    Recorder root;
    Recorder a;
    Recorder b;
};

template <typename E, typename F> std::string messageOf(F f)
{
    try {
        f();
    } catch (const E& e) {
        return e.getMessage();
    }
    return "(nothing thrown)";
}
}

TEST_F(ActionTree, EachKindReachesItsHandlerAtEveryDepth)
{
    root.action("ping");
    root.stringAction("a.say", "hello world");
    root.floatAction("a.b.scale", 2.5f);
    root.intAction("a.b.count", -7);
    root.stringAction("a.b.sayRef", "by reference");
    std::vector<std::string> expected = {"root:ping()", "a:say(hello world)", "b:scale(2.500000)", "b:count(-7)",
                                         "b:sayRef(by reference)"};
    EXPECT_EQ(calls, expected);
}

TEST_F(ActionTree, UnknownChildIsReportedByTheForwardingOperationWithoutALogLine)
{
    struct Case {
        std::string path;
        int kind;  // 0 none, 1 string, 2 float, 3 int
        std::string message;
    } cases[] = {
        {"x.ping", 0, "childAction() - Child action \"x\" not found!"},
        {"a.x.say", 1, "childStringAction() - Child action \"x\" not found!"},
        {"a.b.x.scale", 2, "childFloatAction() - Child action \"x\" not found!"},
        {"A.count", 3, "childIntAction() - Child action \"A\" not found!"},
        {"a..ping", 0, "childAction() - Child action \"\" not found!"},
        {".ping", 0, "childAction() - Child action \"\" not found!"},
    };
    for (const Case& c : cases) {
        LogCapture log;
        std::string message = messageOf<ActionControllableException>([&] {
            switch (c.kind) {
            case 0: root.action(c.path); break;
            case 1: root.stringAction(c.path, "v"); break;
            case 2: root.floatAction(c.path, 1.0f); break;
            default: root.intAction(c.path, 1); break;
            }
        });
        EXPECT_EQ(message, "KelvoEngineException::::ActionControllableException::" + c.message) << c.path;
        EXPECT_EQ(log.text(), "") << c.path;
        EXPECT_EQ(log.errors(), 0) << c.path;
    }
    EXPECT_TRUE(calls.empty());
}

TEST_F(ActionTree, UnknownActionIsLoggedAndThrownPerKind)
{
    // Known with two other parameters.
    root.addFloatAction("twin", &Recorder::scale);
    root.addIntAction("twin", &Recorder::count);
    struct Case {
        std::string path;
        int kind;
        std::string message;
    } cases[] = {
        // A string handler exists under "say", but an action without a parameter looks in its own
        // table only; the failure says what the name takes.
        {"a.say", 0, "action() - Action \"say\" takes a string, not none!"},
        {"ping", 1, "stringAction() - Action \"ping\" takes no parameter, not a string!"},
        {"a.b.count", 2, "floatAction() - Action \"count\" takes an integer, not a float!"},
        {"scale", 3, "intAction() - Action \"scale\" takes a float, not an integer!"},
        {"twin", 1, "stringAction() - Action \"twin\" takes a float or an integer, not a string!"},
        {"twin", 0, "action() - Action \"twin\" takes a float or an integer, not none!"},
        {"a.", 0, "action() - Action \"\" not found!"},
        {"Ping", 0, "action() - Action \"Ping\" not found!"},
        {"a.b.pong", 2, "floatAction() - Action \"pong\" not found!"},
    };
    for (const Case& c : cases) {
        LogCapture log;
        std::string message = messageOf<ActionException>([&] {
            switch (c.kind) {
            case 0: root.action(c.path); break;
            case 1: root.stringAction(c.path, "v"); break;
            case 2: root.floatAction(c.path, 1.0f); break;
            default: root.intAction(c.path, 1); break;
            }
        });
        EXPECT_EQ(message, "KelvoEngineException::::ActionException::" + c.message) << c.path;
        EXPECT_EQ(log.text(), "[error] action::" + c.message + "\n") << c.path;
        EXPECT_EQ(log.errors(), 1) << c.path;
    }
    EXPECT_TRUE(calls.empty());
}

TEST_F(ActionTree, HandlerExceptionsPassThroughUnchanged)
{
    LogCapture log;
    EXPECT_EQ(messageOf<InvalidParameterValueException>([&] { root.action("a.b.fail"); }),
              "KelvoEngineException::::InvalidParameterValueException::fail() - bad value");
    EXPECT_THROW(root.action("a.raise"), std::runtime_error);
    EXPECT_EQ(log.errors(), 0);
}

TEST_F(ActionTree, ChildrenAreReplacedAndRemovedByNameAndNotOwned)
{
    Recorder other("other", &calls);
    root.addChildAction(&other, "a");
    root.addChildAction(&other, "alias");
    root.action("a.ping");
    root.action("alias.ping");
    root.removeChildAction("a");
    EXPECT_EQ(messageOf<ActionControllableException>([&] { root.action("a.ping"); }),
              "KelvoEngineException::::ActionControllableException::childAction() - Child action \"a\" not found!");
    EXPECT_EQ(messageOf<ActionControllableException>([&] { root.removeChildAction("a"); }),
              "KelvoEngineException::::ActionControllableException::removeChildAction() - Child action object "
              "\"a\" not found!");
    // The replaced and removed children are untouched and still work on their own.
    a.action("ping");
    other.action("ping");
    std::vector<std::string> expected = {"other:ping()", "other:ping()", "a:ping()", "other:ping()"};
    EXPECT_EQ(calls, expected);
}

TEST_F(ActionTree, NameRegisteredAgainCallsOnlyTheLaterHandler)
{
    root.action("rebind");
    root.action("rebind");
    std::vector<std::string> expected = {"root:rebind()", "root:pong()"};
    EXPECT_EQ(calls, expected);
}

TEST(ActionControllable, SplitChildNameTakesTheTextBeforeTheFirstPoint)
{
    struct Case {
        std::string path;
        std::string head;
        std::string rest;
    } cases[] = {
        {"a.b.c", "a", "b.c"}, {"a..b", "a", ".b"}, {"a.", "a", ""}, {".b", "", "b"},
    };
    for (const Case& c : cases) {
        std::string path = c.path;
        EXPECT_EQ(ActionControllable::splitChildName(path), c.head) << c.path;
        EXPECT_EQ(path, c.rest) << c.path;
    }
    EXPECT_TRUE(ActionControllable::isChildAction("a.b"));
    EXPECT_TRUE(ActionControllable::isChildAction("."));
    EXPECT_FALSE(ActionControllable::isChildAction("ab"));
}

TEST(ActionControllable, ClassWithoutActionsStillForwardsToItsChildren)
{
    std::vector<std::string> calls;
    Bare bare;
    Recorder child("child", &calls);
    bare.addChildAction(&child, "child");
    bare.intAction("child.count", 3);
    EXPECT_EQ(calls, std::vector<std::string>{"child:count(3)"});
    LogCapture log;
    EXPECT_THROW(bare.action("exit"), ActionException);
    EXPECT_THROW(bare.stringAction("child", "x"), ActionException);
    EXPECT_EQ(log.errors(), 2);
}

TEST(ActionControllable, FunctorWithoutObjectDoesNothing)
{
    std::vector<std::string> calls;
    Recorder recorder("r", &calls);
    recorder.addAction("ping", Recorder::VoidFunctor(&Recorder::ping, nullptr));
    recorder.addStringAction("say", Recorder::StringFunctor());
    LogCapture log;
    recorder.action("ping");
    recorder.stringAction("say", "x");
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(log.errors(), 0);
}

TEST(ActionControllable, NotFoundLinesComeFromTheActionSource)
{
    EXPECT_NE((", " + Log::getInstance()->listSources() + ", ").find(", action, "), std::string::npos)
        << Log::getInstance()->listSources();
}

TEST(ActionControllable, CopyCallsItsOwnHandlersAndKeepsTheChildren)
{
    std::vector<std::string> calls;
    Recorder child("child", &calls);
    auto original = std::make_unique<Recorder>("original", &calls);
    original->addChildAction(&child, "child");
    Recorder copy(*original);
    copy.rename("copy");
    original.reset();
    copy.stringAction("say", "mine");
    copy.action("child.ping");
    std::vector<std::string> expected = {"copy:say(mine)", "child:ping()"};
    EXPECT_EQ(calls, expected);
}

TEST(ActionControllable, HandlerBoundToAnotherObjectStaysBoundToIt)
{
    std::vector<std::string> calls;
    Recorder target("target", &calls);
    Recorder relay("relay", &calls);
    relay.addAction("forward", Recorder::VoidFunctor(&Recorder::ping, &target));
    Recorder copy(relay);
    relay.action("forward");
    copy.action("forward");
    std::vector<std::string> expected = {"target:ping()", "target:ping()"};
    EXPECT_EQ(calls, expected);
}
