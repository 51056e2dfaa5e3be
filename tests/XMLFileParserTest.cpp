#include "XMLFileParser.h"

#include <gtest/gtest.h>

#include <memory>

#include <xercesc/dom/DOM.hpp>

#include "DOMTreeErrorReporter.h"
#include "HostileFiles.h"
#include "ResourceLoader.h"
#include "TestSupport.h"
#include "TranscodedString.h"

namespace {
const char* const BILLION_LAUGHS = "<?xml version=\"1.0\"?>\n"
                                   "<!DOCTYPE timeline [\n"
                                   "<!ENTITY a \"aaaaaaaaaa\">\n"
                                   "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n"
                                   "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">\n"
                                   "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">\n"
                                   "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">\n"
                                   "<!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">\n"
                                   "<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\">\n"
                                   "<!ENTITY h \"&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;\">\n"
                                   "<!ENTITY i \"&h;&h;&h;&h;&h;&h;&h;&h;&h;&h;\">\n"
                                   "]>\n"
                                   "<timeline>&i;</timeline>\n";

std::string documentText(const XMLFileParser& parser)
{
    xercesc::DOMDocument* document = parser.getDocument();
    if (!document || !document->getDocumentElement())
        return "";
    return TranscodedString(document->getDocumentElement()->getTextContent()).c_str();
}

using XMLFileParserTest = TempDirTest;
}

TEST_F(XMLFileParserTest, AWellFormedFileParsesWithoutErrors)
{
    writeFile("t.xml", "<?xml version=\"1.0\"?>\n<timeline><action name=\"x\"/>text</timeline>\n");
    LogCapture log;
    XMLFileParser parser;
    parser.parse(path("t.xml"));
    EXPECT_FALSE(parser.hasErrors());
    ASSERT_NE(parser.getDocument(), nullptr);
    EXPECT_STREQ(TranscodedString(parser.getDocument()->getDocumentElement()->getNodeName()).c_str(), "timeline");
    EXPECT_EQ(documentText(parser), "text");
    EXPECT_EQ(log.text(), "");
}

TEST_F(XMLFileParserTest, AMalformedTagGivesOneFatalErrorWithLineAndColumn)
{
    writeFile("t.xml", "<timeline>\n  <action>\n  </actoin>\n</timeline>\n");
    LogCapture log;
    XMLFileParser parser;
    parser.parse(path("t.xml"));
    EXPECT_TRUE(parser.hasErrors());
    EXPECT_TRUE(parser.getReporter().errorSeen);
    EXPECT_EQ(log.errors(), 1);
    EXPECT_TRUE(log.contains("[error] domtreeerrorreporter::fatalError() - Fatal Error at file \"" + path("t.xml") +
                             "\", line 3, column 5. Message: expected end of tag 'action'\n"))
        << log.text();
}

TEST_F(XMLFileParserTest, NothingOutsideTheDocumentIsRead)
{
    writeFile("secret.txt", "SECRET");
    writeFile("grammar.dtd", "<!ELEMENT timeline (#PCDATA)>");
    struct Case {
        const char* what;
        const char* content;
    } cases[] = {
        {"external entity", "<?xml version=\"1.0\"?>\n<!DOCTYPE timeline [ <!ENTITY x SYSTEM \"secret.txt\"> ]>\n"
                            "<timeline>&x;</timeline>\n"},
        {"external entity by absolute path",
         "<!DOCTYPE timeline [ <!ENTITY x SYSTEM \"file:///etc/hostname\"> ]><timeline>&x;</timeline>"},
        {"external DTD", "<?xml version=\"1.0\"?>\n<!DOCTYPE timeline SYSTEM \"grammar.dtd\">\n<timeline/>\n"},
        {"external parameter entity",
         "<!DOCTYPE timeline [ <!ENTITY % p SYSTEM \"grammar.dtd\"> %p; ]>\n<timeline>x</timeline>\n"},
    };
    for (const Case& c : cases) {
        writeFile("t.xml", c.content);
        LogCapture log;
        XMLFileParser parser;
        parser.parse(path("t.xml"));
        EXPECT_TRUE(parser.hasErrors()) << c.what;
        EXPECT_TRUE(log.contains("fatalError() - Fatal Error at file \"" + path("t.xml") + "\"")) << c.what;
        EXPECT_EQ(documentText(parser).find("SECRET"), std::string::npos) << c.what;
    }
}

TEST_F(XMLFileParserTest, EntityExpansionIsBounded)
{
    writeFile("t.xml", BILLION_LAUGHS);
    LogCapture log;
    XMLFileParser parser;
    parser.parse(path("t.xml"));
    EXPECT_TRUE(parser.hasErrors());
    EXPECT_TRUE(log.contains("fatalError() - Fatal Error at file \"" + path("t.xml") + "\", line 13")) << log.text();
    EXPECT_LT(documentText(parser).size(), 1000000u);
}

TEST_F(XMLFileParserTest, AnEntityStandingForMoreThan1024CharactersEndsTheParseNamingFileAndEntity)
{
    const auto declaring = [](const std::string& declaration, const std::string& use) {
        return "<?xml version=\"1.0\"?>\n<!DOCTYPE timeline [\n" + declaration + "\n<!ELEMENT timeline (#PCDATA)>\n]>\n<timeline>" + use +
               "</timeline>\n";
    };
    const std::string limit(1024, 'x');
    const std::string beyond(1025, 'x');
    struct Case {
        const char* name;
        std::string text;
        std::string refusal;  // "" when it parses
    } cases[] = {
        {"1024 characters", declaring("<!ENTITY e \"" + limit + "\">", "&e;&e;"), ""},
        {"1025 characters", declaring("<!ENTITY e \"" + beyond + "\">", "&e;"),
         "the entity \"e\" stands for 1025 characters, more than the 1024 an entity may."},
        {"declared and never used", declaring("<!ENTITY big \"" + beyond + "\">", ""),
         "the entity \"big\" stands for 1025 characters"},
        {"a parameter entity", declaring("<!ENTITY % p \"" + beyond + "\">", ""),
         "the entity \"p\" stands for 1025 characters"},
        {"40,000 characters used 45,000 times", entityXml("timeline", 40000, 45000),
         "the entity \"e\" stands for 40000 characters"},
    };
    for (const Case& c : cases) {
        writeFile("t.xml", c.text);
        LogCapture log;
        XMLFileParser parser;
        std::string refusal;
        try {
            parser.parse(path("t.xml"));
        } catch (const XMLParserException& e) {
            refusal = e.getMessage();
        }
        if (c.refusal.empty()) {
            EXPECT_EQ(refusal, "") << c.name;
            EXPECT_FALSE(parser.hasErrors()) << c.name << log.text();
            EXPECT_EQ(documentText(parser), limit + limit) << c.name;
        } else {
            EXPECT_NE(refusal.find("parse() - File \"" + path("t.xml") + "\": " + c.refusal), std::string::npos)
                << c.name << ": " << refusal;
            EXPECT_EQ(documentText(parser), "") << c.name;
        }
    }
}

TEST_F(XMLFileParserTest, AnInternalGrammarStillValidates)
{
    const std::string grammar = "<!DOCTYPE timeline [ <!ELEMENT timeline (action*)> <!ELEMENT action EMPTY>"
                                " <!ATTLIST action name CDATA #REQUIRED> <!ENTITY n \"scene\"> ]>\n";
    writeFile("valid.xml", grammar + "<timeline><action name=\"&n;.x\"/></timeline>\n");
    writeFile("invalid.xml", grammar + "<timeline><action/></timeline>\n");
    {
        LogCapture log;
        XMLFileParser parser;
        parser.parse(path("valid.xml"));
        EXPECT_FALSE(parser.hasErrors()) << log.text();
        xercesc::DOMElement* action =
            static_cast<xercesc::DOMElement*>(parser.getDocument()->getDocumentElement()->getFirstChild());
        EXPECT_STREQ(TranscodedString(action->getAttribute(u"name")).c_str(), "scene.x");
    }
    {
        LogCapture log;
        XMLFileParser parser;
        parser.parse(path("invalid.xml"));
        EXPECT_TRUE(parser.hasErrors());
        EXPECT_TRUE(log.contains("[error] domtreeerrorreporter::error() - Error at file \"" + path("invalid.xml") +
                                 "\", line 2, column"))
            << log.text();
        EXPECT_EQ(log.errors(), 1);
    }
}

TEST_F(XMLFileParserTest, ParserWarningsLeaveTheFileGood)
{
    // Declaring an attribute twice is only a warning.
    writeFile("t.xml", "<!DOCTYPE a [ <!ELEMENT a EMPTY> <!ATTLIST a x CDATA #IMPLIED>"
                       " <!ATTLIST a x CDATA #IMPLIED> ]>\n<a/>\n");
    LogCapture log;
    XMLFileParser parser;
    parser.parse(path("t.xml"));
    EXPECT_FALSE(parser.hasErrors());
    EXPECT_FALSE(parser.getReporter().errorSeen);
    EXPECT_EQ(log.text(), "");
}

TEST_F(XMLFileParserTest, ReaderLoadEndsEveryFailureInOneExceptionAndLogsAsTheReader)
{
    const std::string prefix = "KelvoEngineException::::XMLParserException::";
    writeFile("good.xml", "<fontset><character charcode=\"a\" filename=\"a.jpg\"/></fontset>\n");
    writeFile("broken.xml", "<fontset>\n  <character>\n  </charactre>\n</fontset>\n");
    writeFile("entity.xml", "<!DOCTYPE fontset [ <!ENTITY e \"" + std::string(1025, 'x') +
                                "\"> ]>\n<fontset>&e;</fontset>\n");
    struct Case {
        const char* file;
        const char* lead;
        std::string message;  // "" when the file loads
        std::string logged;   // a line the reader's own source writes; "" when none
        int errors;           // error lines in all
    } cases[] = {
        {"good.xml", "", "", "", 0},
        {"missing.xml", "", prefix + "load() - An error occured during parsing. File \"missing.xml\": file not found.",
         "", 0},
        {"", "", prefix + "load() - An error occured during parsing. File \"\": file not found.", "", 0},
        {"broken.xml", "",
         prefix + "load() - Error occurred while parsing \"broken.xml\". Errors should have been reported by the parser.",
         "", 1},
        {"broken.xml", "Arrggh! ",
         prefix + "load() - Arrggh! Error occurred while parsing \"broken.xml\". Errors should have been reported by "
                  "the parser.",
         "", 1},
        {"entity.xml", "",
         prefix + "parse() - File \"entity.xml\": the entity \"e\" stands for 1025 characters, more than the 1024 an "
                  "entity may.",
         "[error] fontset::load() - " + prefix + "parse() - File \"entity.xml\": the entity \"e\"", 1},
    };
    for (const Case& c : cases) {
        LogCapture log;
        std::string message;
        std::unique_ptr<XMLFileParser> parser;
        try {
            parser = XMLFileParser::loadFile(c.file, "FontSet.cpp", c.lead);
        } catch (const XMLParserException& e) {
            message = e.getMessage();
        }
        EXPECT_EQ(message, c.message) << c.file;
        EXPECT_EQ(parser != nullptr, c.message.empty()) << c.file;
        if (parser) {
            EXPECT_STREQ(TranscodedString(parser->getDocument()->getDocumentElement()->getNodeName()).c_str(),
                         "fontset");
        }
        if (!c.logged.empty()) {
            EXPECT_TRUE(log.contains(c.logged)) << c.file << ": " << log.text();
        }
        EXPECT_EQ(log.errors(), c.errors) << c.file << ": " << log.text();
    }
}

TEST_F(XMLFileParserTest, ResourceLoadResolvesTheNameInTheResourceFolder)
{
    writeFile("data/Scene.xml", "<scene fps=\"25\"/>\n");
    ResourceLoader::setResourcePath("data/");
    std::string resolved = "before";
    std::string message;
    std::unique_ptr<XMLFileParser> parser;
    {
        LogCapture log;
        // Names match ignoring case where the exact one names nothing.
        parser = XMLFileParser::loadResource("scene.xml", resolved, "XMLSceneLoader.cpp");
        EXPECT_EQ(log.errors(), 0) << log.text();
    }
    std::string unresolved = "before";
    try {
        XMLFileParser::loadResource("other.xml", unresolved, "XMLSceneLoader.cpp");
    } catch (const XMLParserException& e) {
        message = e.getMessage();
    }
    ResourceLoader::setResourcePath("");
    ASSERT_NE(parser, nullptr);
    EXPECT_EQ(resolved, "data/Scene.xml");
    EXPECT_FALSE(parser->hasErrors());
    EXPECT_EQ(unresolved, "before");
    EXPECT_EQ(message, "KelvoEngineException::::XMLParserException::load() - An error occured during parsing. File "
                       "\"data/other.xml\": file not found.");
}
