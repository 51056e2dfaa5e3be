#include "XMLTimeline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Action.inl"
#include "DOMTreeErrorReporter.h"
#include "ResourceLoader.h"
#include "StringUtil.h"
#include "HostileFiles.h"
#include "TestSupport.h"
#include "UnreadableFiles.h"
#include "Watchdog.h"

namespace {
typedef std::vector<std::string> Calls;

// Root of a test show: records "<clock>: <name>(<value>)" for every action that reaches it.
class Stage : public Action<Stage> {
public:
    Stage(Calls& calls, const float& clock, const std::string& prefix) : calls(calls), clock(clock), prefix(prefix)
    {
        addAction("note", &Stage::note);
        addStringAction("say", &Stage::say);
        addFloatAction("scale", &Stage::scale);
        addIntAction("count", &Stage::count);
    }

    void note() { record("note()"); }
    void say(std::string text) { record("say(" + text + ")"); }
    void scale(float value) { record("scale(" + toString(static_cast<double>(value)) + ")"); }
    void count(int value) { record("count(" + toString(value) + ")"); }

private:
    void record(const std::string& call) { calls.push_back(toString(static_cast<double>(clock)) + ": " + prefix + call); }

    Calls& calls;
    const float& clock;  // seconds
    std::string prefix;
};

class XMLTimelineTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath("data/");
        root.addChildAction(&scene, "scene");
        timeline.setRoot(&root);
    }
    void TearDown() override
    {
        ResourceLoader::setResourcePath("");
        TempDirTest::TearDown();
    }

    void load(const std::string& content)
    {
        writeFile("data/t.xml", content);
        timeline.load("t.xml");
    }

    // The message of the XMLParserException that loading content throws, "" when it loads.
    std::string loadFailure(const std::string& content)
    {
        try {
            load(content);
        } catch (const XMLParserException& e) {
            return e.getMessage();
        }
        return "";
    }

    // What fires when the clock reaches each time in turn.
    Calls play(std::initializer_list<float> times)
    {
        calls.clear();
        for (float time : times) {
            clock = time;
            timeline.update(time);
        }
        return calls;
    }

    Calls calls;
    float clock = 0.0f;
    Stage root{calls, clock, ""};
    Stage scene{calls, clock, "scene."};
    XMLTimeline timeline;
};

const std::string HEAD = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
const std::string PREFIX = "KelvoEngineException::::XMLParserException::";

std::string show(const std::string& body)
{
    return HEAD + "<timeline version=\"1\">\n" + body + "</timeline>\n";
}
}

TEST_F(XMLTimelineTest, ActionsOfEveryKindReachTheRootAtTheirTimes)
{
    LogCapture log;
    load(show("  <action name=\"note\" type=\"none\" time=\"0\" param=\"ignored\"/>\n"
              "  <action name=\"say\" type=\"string\" time=\"1.5\" param=\"hello world\"/>\n"
              "  <action name=\"scene.scale\" type=\"float\" time=\"2\" param=\"2.5\"/>\n"
              "  <action name=\"count\" type=\"integer\" time=\"3.25\" param=\"12abc\"/>\n"
              "  <action name=\"scene.say\" type=\"string\" time=\"3.25\" param=\"Caf\xc3\xa9 \xe2\x82\xac\"/>\n"));
    EXPECT_EQ(timeline.getName(), "t.xml");
    EXPECT_TRUE(log.contains("[info] xmltimeline::load() - Loading Timeline from \"t.xml\"..\n"));
    EXPECT_TRUE(log.contains("[info] xmltimeline::load() - Loading completed. 5 Actions loaded to the timeline.\n"));
    EXPECT_EQ(log.errors(), 0);
    EXPECT_EQ(play({0.0f, 1.0f, 1.5f, 3.0f, 4.0f}),
              (Calls{"0.00: note()", "1.50: say(hello world)", "3.00: scene.scale(2.50)", "4.00: count(12)",
                     "4.00: scene.say(Caf\xe9 ?)"}));
}

TEST_F(XMLTimelineTest, OnlyActionElementsDirectlyInTheRootAreTaken)
{
    LogCapture log;
    load(HEAD + "<!-- show -->\n<timeline>\n"
                "  <!-- <action name=\"note\" type=\"none\" time=\"0\"/> -->\n"
                "  <?tool setting?>\n"
                "  text\n"
                "  <Action name=\"note\" type=\"none\" time=\"0\"/>\n"
                "  <group><action name=\"note\" type=\"none\" time=\"0\"/></group>\n"
                "  <action name=\"say\" type=\"string\" time=\"1\" param=\"outer\">\n"
                "    <action name=\"note\" type=\"none\" time=\"0\"/>\n"
                "  </action>\n"
                "</timeline>\n");
    EXPECT_TRUE(log.contains("Loading completed. 1 Actions loaded to the timeline."));
    EXPECT_EQ(play({0.0f, 10.0f}), Calls{"10.00: say(outer)"});
}

TEST_F(XMLTimelineTest, AnEmptyTimelineLoadsNoActions)
{
    LogCapture log;
    load(HEAD + "<timeline/>\n");
    EXPECT_TRUE(log.contains("[info] xmltimeline::load() - Loading completed. 0 Actions loaded to the timeline.\n"));
    EXPECT_EQ(play({0.0f, 1000.0f}), Calls{});
}

TEST_F(XMLTimelineTest, TimesAreLeadingNumbersAndFileOrderIsKept)
{
    load(show("<action name=\"count\" type=\"integer\" time=\"-1\" param=\"1\"/>\n"
              "<action name=\"count\" type=\"integer\" time=\"abc\" param=\"2\"/>\n"
              "<action name=\"count\" type=\"integer\" time=\"2.5s\" param=\"3\"/>\n"
              "<action name=\"count\" type=\"integer\" time=\"1\" param=\"4\"/>\n"));
    EXPECT_EQ(play({0.0f, 2.0f, 2.5f}), (Calls{"0.00: count(1)", "0.00: count(2)", "2.50: count(3)", "2.50: count(4)"}));
}

TEST_F(XMLTimelineTest, TypeWordsOtherThanTheThreeSendNoParameter)
{
    LogCapture loading;
    load(show("<action name=\"say\" type=\"String\" time=\"1\" param=\"dropped\"/>\n"
              "<action name=\"note\" type=\"\" time=\"2\" param=\"dropped\"/>\n"
              "<action name=\"note\" type=\"FLOAT\" time=\"3\"/>\n"
              "<action name=\"note\" type=\"none\" time=\"3\"/>\n"));
    // One warning for each type word that is none of the four; "none" itself is quiet.
    EXPECT_EQ(loading.warnings(), 3) << loading.text();
    EXPECT_EQ(loading.errors(), 0);
    for (const char* line : {"[warning] xmltimeline::load() - Action \"say\" has the type \"String\", which is none of "
                             "\"string\", \"float\", \"integer\" and \"none\": it is sent without a parameter.\n",
                             "[warning] xmltimeline::load() - Action \"note\" has the type \"\", which is none of "
                             "\"string\", \"float\", \"integer\" and \"none\": it is sent without a parameter.\n",
                             "[warning] xmltimeline::load() - Action \"note\" has the type \"FLOAT\", which is none of "
                             "\"string\", \"float\", \"integer\" and \"none\": it is sent without a parameter.\n"})
        EXPECT_TRUE(loading.contains(line)) << line << loading.text();
    LogCapture log;
    clock = 1.0f;
    try {
        timeline.update(1.0f);
        FAIL() << "a string handler answered an action without parameter";
    } catch (const TimelineException& e) {
        EXPECT_NE(e.getMessage().find("run() - Action \"say\" timed at 1.00 seconds failed to execute! "),
                  std::string::npos);
    }
    EXPECT_TRUE(log.contains("[error] action::action() - Action \"say\" takes a string, not none!\n")) << log.text();
    EXPECT_EQ(play({3.0f}), (Calls{"3.00: note()", "3.00: note()", "3.00: note()"}));
}

TEST_F(XMLTimelineTest, AMalformedFileReportsWhereAndThrows)
{
    LogCapture log;
    EXPECT_EQ(loadFailure(show("<action name=\"note\" type=\"none\" time=\"0\">\n</actoin>\n")),
              PREFIX + "load() - Error occurred while parsing \"data/t.xml\". Errors should have been reported by the "
                       "parser.");
    EXPECT_TRUE(log.contains("[error] domtreeerrorreporter::fatalError() - Fatal Error at file \"" +
                             path("data/t.xml") + "\", line 4, column 3. Message: "))
        << log.text();
    EXPECT_EQ(log.errors(), 1);
    EXPECT_EQ(play({100.0f}), Calls{});
}

TEST_F(XMLTimelineTest, MissingFilesFoldersAndPipesAreNotTimelinesAndSayWhy)
{
    std::vector<UnreadableFile> cases = makeUnreadableFiles("data/");
    cases.push_back({"", "data/", "File \"data/\": not a regular file."});
    for (const UnreadableFile& c : cases) {
        Watchdog guard("loading a timeline from " + c.path, 5.0);
        EXPECT_EQ(exceptionMessage([&] { timeline.load(c.name); }),
                  PREFIX + "load() - An error occured during parsing. " + c.reason);
    }
}

TEST_F(XMLTimelineTest, StructuralFaultsNameTheFileAndWhatIsMissing)
{
    struct Case {
        std::string content;
        std::string message;
    } cases[] = {
        {HEAD + "<show><action name=\"note\" type=\"none\" time=\"0\"/></show>\n",
         "load() - Error! The root element of \"data/t.xml\" is not \"timeline\"."},
        {HEAD + "<Timeline/>\n", "load() - Error! The root element of \"data/t.xml\" is not \"timeline\"."},
        {show("<action type=\"none\" time=\"0\"/>\n"),
         "load() - Error! Attribute \"name\" of an action is missing in \"data/t.xml\"."},
        {show("<action name=\"note\" time=\"0\"/>\n"),
         "load() - Error! Attribute \"type\" of action \"note\" is missing in \"data/t.xml\"."},
        {show("<action name=\"note\" type=\"none\"/>\n"),
         "load() - Error! Attribute \"time\" of action \"note\" is missing in \"data/t.xml\"."},
        {show("<action name=\"say\" type=\"string\" time=\"0\"/>\n"),
         "load() - Error! String parameter for action \"say\" is missing."},
        {show("<action name=\"scale\" type=\"float\" time=\"0\"/>\n"),
         "load() - Error! Float parameter for action \"scale\" is missing."},
        {show("<action name=\"count\" type=\"integer\" time=\"0\"/>\n"),
         "load() - Error! Integer parameter for action \"count\" is missing."},
        // A time no clock reaches would hold back every later action, "exit" too, for ever.
        {show("<action name=\"note\" type=\"none\" time=\"1\"/>\n<action name=\"exit\" type=\"none\" time=\"nan\"/>\n"),
         "load() - Error! The time \"nan\" of action \"exit\" in \"data/t.xml\" is not a finite number of seconds."},
        {show("<action name=\"note\" type=\"none\" time=\"inf\"/>\n"),
         "load() - Error! The time \"inf\" of action \"note\" in \"data/t.xml\" is not a finite number of seconds."},
        {show("<action name=\"note\" type=\"none\" time=\"-Infinity\"/>\n"),
         "load() - Error! The time \"-Infinity\" of action \"note\" in \"data/t.xml\" is not a finite number of "
         "seconds."},
        {show("<action name=\"note\" type=\"none\" time=\"1e999\"/>\n"),
         "load() - Error! The time \"1e999\" of action \"note\" in \"data/t.xml\" is not a finite number of seconds."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(loadFailure(c.content), PREFIX + c.message) << c.content;
}

// A value of megabytes costs a log line no more than a short one: its first 200 characters and
// its length, wherever it is quoted, in the log and in the exceptions that reach it.
TEST_F(XMLTimelineTest, HugeNamesAndParametersAreQuotedByTheirBeginningAndLength)
{
    const std::string huge(1 << 19, 'n');
    const std::string shown = std::string(200, 'n') + "...\" (524288 characters)";
    load(show("<action name=\"say\" type=\"string\" time=\"1\" param=\"" + huge + "\"/>\n"
              "<action name=\"" + huge + "\" type=\"string\" time=\"2\" param=\"x\"/>\n"));
    LogCapture log;
    EXPECT_EQ(play({1.0f}), Calls{"1.00: say(" + huge + ")"});
    EXPECT_TRUE(log.contains("Running \"say(\"" + shown + ").\n")) << log.text().substr(0, 1000);
    const std::string failure = exceptionMessage([&] { timeline.update(2.0f); });
    EXPECT_NE(failure.find("run() - Action \"" + shown + " timed at 2.00 seconds failed to execute! "), std::string::npos)
        << failure.substr(0, 1000);
    EXPECT_NE(failure.find("Action \"" + shown + " not found!"), std::string::npos) << failure.substr(0, 1000);
    EXPECT_LT(log.text().size() + failure.size(), 4000u);
}

TEST_F(XMLTimelineTest, ActionsBeforeAFaultyElementStay)
{
    EXPECT_NE(loadFailure(show("<action name=\"note\" type=\"none\" time=\"0\"/>\n"
                               "<action name=\"say\" type=\"string\" time=\"0\"/>\n"
                               "<action name=\"note\" type=\"none\" time=\"0\"/>\n")),
              "");
    EXPECT_EQ(play({0.0f}), Calls{"0.00: note()"});
}

TEST_F(XMLTimelineTest, EntitiesFromOutsideAndEntityBombsAreRefused)
{
    writeFile("data/extra.xml", "<action name=\"note\" type=\"none\" time=\"0\"/>");
    const std::string bomb = laughingEntities();
    struct Case {
        const char* what;
        std::string content;
    } cases[] = {
        {"external entity",
         HEAD + "<!DOCTYPE timeline [ <!ENTITY extra SYSTEM \"extra.xml\"> ]>\n<timeline>&extra;</timeline>\n"},
        {"external DTD", HEAD + "<!DOCTYPE timeline SYSTEM \"extra.xml\">\n<timeline/>\n"},
    };
    for (const Case& c : cases) {
        LogCapture log;
        EXPECT_EQ(loadFailure(c.content),
                  PREFIX + "load() - Error occurred while parsing \"data/t.xml\". Errors should have been reported by "
                           "the parser.")
            << c.what;
        EXPECT_TRUE(log.contains("fatalError() - Fatal Error at file \"" + path("data/t.xml") + "\"")) << c.what;
        EXPECT_EQ(play({0.0f}), Calls{}) << c.what;
    }
    // Nested entities are refused before any is expanded, the file named.
    LogCapture log;
    EXPECT_EQ(loadFailure(HEAD + "<!DOCTYPE timeline [\n" + bomb +
                          "]>\n<timeline><action name=\"&j;\" type=\"none\" time=\"0\"/></timeline>\n"),
              PREFIX + "parse() - File \"data/t.xml\": the entity expansion budget was exceeded: the entities of a "
                       "file may stand for 1048576 characters in 5000 expansions at most.");
    EXPECT_TRUE(log.contains("[error] xmltimeline::load() - " + PREFIX + "parse() - File \"data/t.xml\": the entity "
                             "expansion budget was exceeded"))
        << log.text();
    EXPECT_EQ(play({0.0f}), Calls{});
}

TEST_F(XMLTimelineTest, AnInternalGrammarIsValidated)
{
    const std::string grammar = "<!DOCTYPE timeline [ <!ELEMENT timeline (action*)> <!ELEMENT action EMPTY>\n"
                                "<!ATTLIST action name CDATA #REQUIRED type CDATA #REQUIRED time CDATA #REQUIRED"
                                " param CDATA #IMPLIED>\n<!ENTITY who \"scene\"> ]>\n";
    load(HEAD + grammar + "<timeline><action name=\"&who;.note\" type=\"none\" time=\"1\"/></timeline>\n");
    EXPECT_EQ(play({1.0f}), Calls{"1.00: scene.note()"});

    LogCapture log;
    EXPECT_NE(loadFailure(HEAD + grammar + "<timeline><note/></timeline>\n"), "");
    EXPECT_TRUE(log.contains("[error] domtreeerrorreporter::error() - Error at file ")) << log.text();
}

TEST_F(XMLTimelineTest, TheSameFileLoadsAgain)
{
    const std::string content = show("<action name=\"note\" type=\"none\" time=\"1\"/>\n");
    load(content);
    timeline.load("t.xml");
    EXPECT_EQ(play({1.0f}), (Calls{"1.00: note()", "1.00: note()"}));
}

TEST_F(XMLTimelineTest, TruncatedAndDamagedFilesFailCleanly)
{
    const std::string content = show("<action name=\"say\" type=\"string\" time=\"1\" param=\"a&amp;b\"/>\n"
                                     "<action name=\"count\" type=\"integer\" time=\"2\" param=\"3\"/>\n");
    const std::string::size_type complete = content.rfind('>') + 1;
    LogCapture log;
    for (std::string::size_type length = 0; length < complete; ++length)
        EXPECT_NE(loadFailure(content.substr(0, length)), "") << "prefix of " << length << " bytes loaded";
    for (std::string::size_type at = 0; at < content.size(); at += 7) {
        std::string damaged = content;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x5a);
        loadFailure(damaged);  // may load or fail; must not crash
    }
    EXPECT_EQ(loadFailure(content), "");
}
