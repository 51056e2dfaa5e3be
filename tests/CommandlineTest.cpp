#include "Commandline.h"

#include <gtest/gtest.h>

#include <vector>

#include "FilePath.h"
#include "StringUtil.h"
#include "TestSupport.h"

namespace {
// Holds an argument vector for a Commandline built from words; element 0 is the program.
struct Arguments {
    explicit Arguments(std::vector<std::string> words) : words(std::move(words))
    {
        this->words.insert(this->words.begin(), "kelvo");
        for (std::string& w : this->words)
            pointers.push_back(&w[0]);
    }
    Commandline line() { return Commandline(pointers.data(), static_cast<int>(pointers.size())); }
    std::vector<std::string> words;
    std::vector<char*> pointers;
};

const std::string END_TIME = "End time for playback in secods.";
}

TEST(Commandline, FindOptionTakesTheNextArgumentUnlessItStartsWithADash)
{
    struct Case {
        std::vector<std::string> words;
        const char* option;
        bool found;
        const char* value;
    } cases[] = {
        {{"--timeline", "a/b.xml"}, "--timeline", true, "a/b.xml"},
        {{"--endtime"}, "--endtime", true, "unchanged"},
        {{"--znear", "-1"}, "--znear", true, "unchanged"},
        {{"--loglevel", "3", "--loglevel", "1"}, "--loglevel", true, "3"},
        {{"--Loglevel", "3"}, "--loglevel", false, "unchanged"},
        {{}, "kelvo", false, "unchanged"},
    };
    for (Case& c : cases) {
        Arguments args(c.words);
        std::string value = "unchanged";
        EXPECT_EQ(args.line().findOption(c.option, value), c.found) << c.option;
        EXPECT_EQ(value, c.value) << c.option;
    }
}

TEST(Commandline, MissingValueFailsWithTheLoggedText)
{
    Arguments args({"--endtime"});
    LogCapture log;
    try {
        args.line().getFloat("--endtime", END_TIME);
        FAIL() << "no exception";
    } catch (const CommandlineException& e) {
        std::string text = "getParameter() - Empty or missing End time for playback in secods.. Please add ---endtime "
                           "<value> the runtime configuration parameters.";
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::CommandlineException::" + text);
        EXPECT_TRUE(log.contains("[error] commandline::" + text + "\n"));
    }
    EXPECT_EQ(log.errors(), 1);
}

TEST(Commandline, TypedValues)
{
    Arguments args({"--loglevel", "3x", "--word", "abc", "--znear", "0.25", "--big", "99999999999999999999999",
                    "--longbutnotint", "4294967296", "--negint", "-5"});
    Commandline line = args.line();
    LogCapture log;
    EXPECT_EQ(line.getValue("--loglevel", "level"), 3);
    EXPECT_EQ(line.getValue("--word", "level"), 0);
    EXPECT_FLOAT_EQ(line.getFloat("--znear", "near"), 0.25f);
    EXPECT_EQ(log.errors(), 0);
    for (const char* option : {"--big", "--longbutnotint"}) {
        try {
            line.getValue(option, "Logging level value");
            FAIL() << option;
        } catch (const CommandlineException& e) {
            EXPECT_NE(e.getMessage().find("getValue() - Invalid parameter value.The value for Logging level value "
                                          "should be a numerical value. Current value is \""),
                      std::string::npos);
        }
    }
    EXPECT_EQ(log.errors(), 2);
    EXPECT_THROW(line.getValue("--negint", "x"), CommandlineException);
}

TEST(Commandline, FloatOutOfRange)
{
    Arguments args({"--zfar", "1e999"});
    EXPECT_THROW(args.line().getFloat("--zfar", "far"), CommandlineException);
}

TEST(Commandline, FloatBeyondTheFloatRangeIsInvalid)
{
    // Fine as a double, too large for a float: the same logged failure as an out-of-range value.
    for (const char* text : {"1e300", "1e39"}) {
        Arguments args({"--zfar", text});
        LogCapture log;
        try {
            args.line().getFloat("--zfar", "Far clipping plane distance.");
            ADD_FAILURE() << text;
        } catch (const CommandlineException& e) {
            EXPECT_EQ(e.getMessage(), std::string("KelvoEngineException::::CommandlineException::getFloat() - Invalid "
                                                  "parameter value.The value for Far clipping plane distance. should "
                                                  "be a floating-point value. Current value is \"") +
                                          text + "\".");
        }
        EXPECT_EQ(log.errors(), 1) << text;
    }
    Arguments largest({"--zfar", "3.4e38"});
    EXPECT_FLOAT_EQ(largest.line().getFloat("--zfar", "far"), 3.4e38f);
}

TEST(FilePath, SplitsAtTheLastSlash)
{
    struct Case {
        const char* path;
        const char* directory;
        const char* file;
    } cases[] = {
        {"show/data/timeline.xml", "show/data/", "timeline.xml"},
        {"timeline.xml", "", "timeline.xml"},
        {"show/", "show/", ""},
        {"a\\b.xml", "", "a\\b.xml"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FilePath(c.path).getDirectory(), c.directory);
        EXPECT_EQ(FilePath(std::string(c.path)).getFileName(), c.file);
    }
}

TEST(ToString, FormatsLikePrintf)
{
    EXPECT_EQ(toString(0), "0");
    EXPECT_EQ(toString(-17), "-17");
    EXPECT_EQ(toString(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(toString(0.5), "0.50");
    EXPECT_EQ(toString(3.0), "3.00");
    EXPECT_EQ(toString(-0.004), "-0.00");
    EXPECT_EQ(toString(2.345), "2.35");
}

TEST(ToString, HugeDoublesKeepTheirWholeText)
{
    char expected[400];
    for (double value : {1e30, -1e300, 1e27, -9.99e26}) {
        std::snprintf(expected, sizeof expected, "%.2f", value);
        EXPECT_EQ(toString(value), expected);
    }
    EXPECT_EQ(toString(1e30).size(), 34u);
}
