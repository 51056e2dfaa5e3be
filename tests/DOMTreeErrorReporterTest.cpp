#include "DOMTreeErrorReporter.h"

#include <gtest/gtest.h>

#include <xercesc/sax/SAXParseException.hpp>

#include "TestSupport.h"
#include "XMLFileParser.h"

namespace {
class DOMTreeErrorReporterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { XMLFileParser::initializeXerces(); }

    static xercesc::SAXParseException problem(const char16_t* systemId)
    {
        return xercesc::SAXParseException(u"expected end of tag 'b'", u"", systemId, 12, 345);
    }

    DOMTreeErrorReporter reporter;
};
}

TEST_F(DOMTreeErrorReporterTest, StartsClear)
{
    EXPECT_FALSE(reporter.errorSeen);
}

TEST_F(DOMTreeErrorReporterTest, WarningsWriteNothingAndLeaveTheFlagClear)
{
    LogCapture log;
    reporter.warning(problem(u"/data/timeline.xml"));
    EXPECT_FALSE(reporter.errorSeen);
    EXPECT_EQ(log.text(), "");
    EXPECT_EQ(log.errors() + log.warnings(), 0);
}

TEST_F(DOMTreeErrorReporterTest, ErrorsAreLoggedWithFileLineAndColumnAndFlagged)
{
    LogCapture log;
    reporter.error(problem(u"/data/timeline.xml"));
    EXPECT_TRUE(reporter.errorSeen);
    EXPECT_EQ(log.text(), "[error] domtreeerrorreporter::error() - Error at file \"/data/timeline.xml\", line 12, "
                          "column 345. Message: expected end of tag 'b'.\n");
    EXPECT_EQ(log.errors(), 1);
}

TEST_F(DOMTreeErrorReporterTest, FatalErrorsEndWithoutAPeriod)
{
    LogCapture log;
    reporter.fatalError(problem(u"/data/scene.xml"));
    EXPECT_TRUE(reporter.errorSeen);
    EXPECT_EQ(log.text(), "[error] domtreeerrorreporter::fatalError() - Fatal Error at file \"/data/scene.xml\", "
                          "line 12, column 345. Message: expected end of tag 'b'\n");
    EXPECT_EQ(log.errors(), 1);
}

TEST_F(DOMTreeErrorReporterTest, AMissingSystemIdIsEmpty)
{
    LogCapture log;
    reporter.fatalError(problem(nullptr));
    EXPECT_TRUE(log.contains("Fatal Error at file \"\", line 12"));
}

TEST_F(DOMTreeErrorReporterTest, ResetClearsTheFlagWhateverWasReported)
{
    LogCapture log;
    reporter.error(problem(u"a.xml"));
    reporter.fatalError(problem(u"a.xml"));
    reporter.resetErrors();
    EXPECT_FALSE(reporter.errorSeen);
    reporter.resetErrors();
    EXPECT_FALSE(reporter.errorSeen);
}

TEST(XMLParserException, NamesItsClass)
{
    EXPECT_EQ(XMLParserException("load() - x").getMessage(), "KelvoEngineException::::XMLParserException::load() - x");
    EXPECT_EQ(DOMTreeException("y").getMessage(), "KelvoEngineException::::DOMTreeException::y");
}
