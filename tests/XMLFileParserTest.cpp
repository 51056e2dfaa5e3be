#include "XMLFileParser.h"

#include <gtest/gtest.h>

#include <memory>

#include <xercesc/dom/DOM.hpp>

#include "DOMTreeErrorReporter.h"
#include "HostileFiles.h"
#include "ResourceLoader.h"
#include "TestSupport.h"
#include "TranscodedString.h"
#include "UnreadableFiles.h"
#include "Watchdog.h"

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

// The document's references to its internal entities, nested ones included, are counted before
// Xerces expands any: beyond about 1 MB of text or 5000 expansions in all, the file is refused
// at once, however the nesting is written.
TEST_F(XMLFileParserTest, EntityReferencesBeyondTheExpansionBudgetAreRefusedBeforeAnyIsExpanded)
{
    const auto subset = [](const std::string& declarations, const std::string& body) {
        return "<?xml version=\"1.0\"?>\n<!DOCTYPE timeline [\n" + declarations + "]>\n<timeline>" + body +
               "</timeline>\n";
    };
    const auto times = [](const std::string& text, int count) {
        std::string repeated;
        for (int i = 0; i < count; ++i)
            repeated += text;
        return repeated;
    };
    const std::string a = "<!ENTITY a \"" + std::string(1020, 'x') + "\">\n";
    const std::string b = "<!ENTITY b \"" + times("&a;", 300) + "\">\n";
    std::string utf16;
    for (char c : nestedEntityXml("timeline", 1020, 300, 165))
        utf16 += std::string(1, '\0') + c;
    struct Case {
        const char* what;
        std::string content;
    } cases[] = {
        {"billion laughs", BILLION_LAUGHS},
        {"nested entities in text", nestedEntityXml("timeline", 1020, 300, 165)},
        {"nested entities in an attribute", subset(a + b, "<action name=\"" + times("&b;", 165) + "\"/>")},
        {"nested entities in an attribute default",
         subset(a + b + "<!ATTLIST timeline name CDATA \"" + times("&b;", 165) + "\">\n", "")},
        {"references spelled as character references",
         subset(a + "<!ENTITY b \"" + times("&#38;a;", 300) + "\">\n", times("&b;", 165))},
        {"entities declared by a parameter entity",
         subset("<!ENTITY % p \"<!ENTITY a '" + std::string(500, 'x') + "'>\">\n<!ENTITY % q \"<!ENTITY b '" +
                    times("&#38;a;", 150) + "'>\">\n%p;%q;\n",
                times("&b;", 20))},
        {"many expansions of a short entity", subset("<!ENTITY a \"x\">\n", times("&a;", 5001))},
        {"nesting deeper than anything real", [&] {
             std::string chain = "<!ENTITY e0 \"x\">\n";
             for (int i = 1; i <= 300; ++i)
                 chain += "<!ENTITY e" + std::to_string(i) + " \"&e" + std::to_string(i - 1) + ";\">\n";
             return subset(chain, "&e300;");
         }()},
        {"nested entities in UTF-16", "\xFE\xFF" + utf16},
    };
    for (const Case& c : cases) {
        writeFile("t.xml", c.content);
        LogCapture log;
        XMLFileParser parser;
        const double start = threadCpuSeconds();
        const std::string refusal = exceptionMessage([&] { parser.parse(path("t.xml")); });
        const double seconds = threadCpuSeconds() - start;
        EXPECT_EQ(refusal, "KelvoEngineException::::XMLParserException::parse() - File \"" + path("t.xml") +
                               "\": the entity expansion budget was exceeded: the entities of a file may stand for "
                               "1048576 characters in 5000 expansions at most.")
            << c.what;
        // Refused before Xerces read the document: nothing of it was reported or built.
        EXPECT_EQ(log.errors(), 0) << c.what << ": " << log.text();
        EXPECT_EQ(parser.getDocument(), nullptr) << c.what;
        EXPECT_LT(seconds, readerSecondsLimit() / 5) << c.what;
    }
}

TEST_F(XMLFileParserTest, EntitiesWithinTheBudgetExpandAsWritten)
{
    const std::string thousand(1000, 'x');
    std::string body;
    for (int i = 0; i < 1000; ++i)
        body += "&b;";
    // 1000 references to b, each of two references: a million characters in 3000 expansions.
    writeFile("t.xml", "<?xml version=\"1.0\"?>\n<!DOCTYPE timeline [\n<!ENTITY a \"" + thousand.substr(0, 500) +
                           "\">\n<!ENTITY b \"&a;&a;\">\n<!ENTITY who \"s&#99;ene\">\n<!ELEMENT timeline (#PCDATA)>\n]>\n"
                           "<timeline>" + body +
                           "<!-- &b;&b; --><![CDATA[&b;]]>&lt;&who;&#38;</timeline>\n");
    LogCapture log;
    XMLFileParser parser;
    parser.parse(path("t.xml"));
    EXPECT_FALSE(parser.hasErrors()) << log.text();
    std::string expected;
    for (int i = 0; i < 1000; ++i)
        expected += thousand;
    EXPECT_EQ(documentText(parser), expected + "&b;<scene&");
}

// Each declaration is read and costed once, so the time of a refusal grows with the file, not
// with the text its entities stand for: entity i names entity (i - 1) / 2 twice, so the last one
// stands for about 2 × width × 900 characters.
TEST_F(XMLFileParserTest, TheCostOfCountingEntitiesGrowsLinearlyWithTheirDeclarations)
{
    const auto refusalSeconds = [&](int width) {
        std::string declarations = "<!ENTITY a0 \"" + std::string(1000, 'x') + "\">\n";
        for (int i = 1; i < width; ++i)
            declarations += "<!ENTITY a" + std::to_string(i) + " \"&a" + std::to_string((i - 1) / 2) + ";&a" +
                            std::to_string((i - 1) / 2) + ";" + std::string(900, 'y') + "\">\n";
        writeFile("t.xml", "<?xml version=\"1.0\"?>\n<!DOCTYPE timeline [\n" + declarations +
                               "]>\n<timeline>&a" + std::to_string(width - 1) + ";</timeline>\n");
        const double start = threadCpuSeconds();
        for (int round = 0; round < 5; ++round) {
            XMLFileParser parser;
            const std::string refusal = exceptionMessage([&] { parser.parse(path("t.xml")); });
            EXPECT_NE(refusal.find("expansion budget"), std::string::npos) << refusal.substr(0, 300);
        }
        return threadCpuSeconds() - start;
    };
    const double small = refusalSeconds(2000);
    const double large = refusalSeconds(8000);
    EXPECT_LT(large, FOUR_TIMES_INPUT_GROWTH_LIMIT * small + 0.05) << small << " s for 2000 declarations, " << large << " s for 8000";
}

// The parser is given the file's bytes, read through the resource loader's checked open: what is
// not a regular file is refused at once, never opened by Xerces (a pipe would wait for a writer).
TEST_F(XMLFileParserTest, OnlyRegularFilesAreReadAndTheirFaultsNameThePath)
{
    for (const UnreadableFile& u : makeUnreadableFiles("")) {
        LogCapture log;
        XMLFileParser parser;
        Watchdog guard("parsing " + u.path, 5.0);
        EXPECT_EQ(exceptionMessage([&] { parser.parse(u.path); }),
                  "KelvoEngineException::::XMLParserException::parse() - " + u.reason);
        EXPECT_EQ(parser.getDocument(), nullptr) << u.path;
    }
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

TEST_F(XMLFileParserTest, AValueOrTextOfMoreThanAMebibyteIsRefusedBeforeParsing)
{
    const size_t limit = 1 << 20;
    const auto action = [](const std::string& param) {
        return "  <action name=\"a\" type=\"string\" time=\"0\" param=\"" + param + "\"/>\n";
    };
    std::string manyValues;  // 4 MiB in all, in values of 64 KiB
    for (int i = 0; i < 64; ++i)
        manyValues += action(std::string(64 * 1024, 'v'));
    // The stretch without a '<' runs from after the tag's '<' to the next line's '<'.
    const std::string atLimit = action(std::string(limit - 60, 'v'));
    struct Case {
        const char* what;
        std::string body;
        std::string refusal;  // "" when it parses
    } cases[] = {
        {"values of 64 KiB, 4 MiB in all", manyValues, ""},
        {"a value just within the limit", atLimit, ""},
        {"a value of 50 MiB on line 4", "\n" + action(std::string(50 * limit, 'v')),
         "from line 4 on, 52428850 bytes go by without a '<': a value or a text of more than 1048576 bytes is "
         "refused."},
        {"a text of 2 MiB", "<x>" + std::string(2 * limit, 't') + "</x>\n", "bytes go by without a '<'"},
    };
    for (const Case& c : cases) {
        writeFile("t.xml", "<?xml version=\"1.0\"?>\n<timeline>\n" + c.body + "</timeline>\n");
        LogCapture log;
        XMLFileParser parser;
        std::string refusal;
        const double start = threadCpuSeconds();
        try {
            parser.parse(path("t.xml"));
        } catch (const XMLParserException& e) {
            refusal = e.getMessage();
        }
        const double seconds = threadCpuSeconds() - start;
        if (c.refusal.empty()) {
            EXPECT_EQ(refusal, "") << c.what;
            ASSERT_NE(parser.getDocument(), nullptr) << c.what;
        } else {
            EXPECT_NE(refusal.find("parse() - File \"" + path("t.xml") + "\": "), std::string::npos) << c.what;
            EXPECT_NE(refusal.find(c.refusal), std::string::npos) << c.what << ": " << refusal;
            EXPECT_EQ(parser.getDocument(), nullptr) << c.what;
            // Reading the 50 MiB is most of it.
            EXPECT_LT(seconds, readerSecondsLimit()) << c.what;
        }
    }
}
