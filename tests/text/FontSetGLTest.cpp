#include "FontSet.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "BlendableTexture.h"
#include "CharMesh.h"
#include "DOMTreeErrorReporter.h"
#include "Environment.h"
#include "GLEnvironment.h"
#include "JpegWriter.h"
#include "ResourceLoader.h"
#include "Surface.h"
#include "TestSupport.h"
#include "UnreadableFiles.h"
#include "Watchdog.h"


// Font sets read from files written here: the font-set file in the working folder, the glyph
// images in the show's folder (the resource folder), as a show lays them out.
namespace {
const std::string PREFIX = "KelvoEngineException::::XMLParserException::";
const std::string HEAD = "<?xml version=\"1.0\"?>\n";

std::string fontset(const std::string& characters)
{
    return HEAD + "<fontset>\n" + characters + "</fontset>\n";
}

class FontSetTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath("show/");
        drainGLErrors();
        scene.setName("space");
    }
    void TearDown() override
    {
        ResourceLoader::setResourcePath("");
        glDisable(GL_TEXTURE_2D);
        EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
        TempDirTest::TearDown();
    }

    // A 16 × 16 glyph image of one colour and its alpha companion of one level, in the show's
    // folder.
    void writeGlyph(const std::string& file, unsigned char grey, unsigned char alpha)
    {
        writeJpeg(path("show/" + file), 16, 16, 3, solidPixels(16, 16, {grey, grey, grey}));
        writeJpeg(path("show/" + BlendableTexture::alphaFileName(file)), 16, 16, 1, solidPixels(16, 16, {alpha}));
    }

    // The message of the XMLParserException that loading content throws, or "" when it loads.
    std::string loadFailure(FontSet& set, const std::string& content)
    {
        writeFile("fonts/set.xml", content);
        try {
            set.load("fonts/set.xml");
        } catch (const XMLParserException& e) {
            return e.getMessage();
        }
        return "";
    }

    Environment scene;
};
}

TEST_F(FontSetTest, CharactersMapTheirFirstLetterToTheLaterFileAndEveryEntryIsCounted)
{
    writeFile("fonts/set.xml", fontset("  <character charcode=\"a\" filename=\"glyphs/a1.jpg\"/>\n"
                                       "  <!-- a comment and an element of another name are skipped -->\n"
                                       "  <glyph charcode=\"g\" filename=\"glyphs/g.jpg\"/>\n"
                                       "  <character charcode=\"b\" filename=\"glyphs/b.jpg\"/>\n"
                                       "  text\n"
                                       "  <character charcode=\"a\" filename=\"glyphs/a2.jpg\"/>\n"
                                       "  <character charcode=\"Hello\" filename=\"glyphs/h.jpg\"/>\n"
                                       "  <character charcode=\"65\" filename=\"glyphs/six.jpg\"/>\n"
                                       "  <character charcode=\"&#233;\" filename=\"glyphs/e.jpg\"/>\n"));
    scene.stringAction("createFontSet", "serif");
    FontSet* set = scene.getFontSets().find("serif");
    EXPECT_EQ(set->getName(), "serif");

    LogCapture log;
    scene.stringAction("serif.load", "fonts/set.xml");
    EXPECT_EQ(log.text(), "[info] fontset::load() - Loading Fontset from \"fonts/set.xml\"..\n"
                          "[info] fontset::load() - Loading completed. 6 Fonts loaded to a Fontset.\n");
    // One byte a character: é is 0xE9 whatever the process locale.
    const std::map<char, std::string> expected = {{'a', "glyphs/a2.jpg"},
                                                  {'b', "glyphs/b.jpg"},
                                                  {'H', "glyphs/h.jpg"},
                                                  {'6', "glyphs/six.jpg"},
                                                  {static_cast<char>(0xE9), "glyphs/e.jpg"}};
    EXPECT_EQ(set->getGlyphs(), expected);

    // A second file adds to the first.
    writeFile("fonts/more.xml", fontset("<character charcode=\"z\" filename=\"glyphs/z.jpg\"/>\n"));
    set->load("fonts/more.xml");
    EXPECT_EQ(set->getGlyphs().size(), 6u);
    EXPECT_EQ(set->getGlyphFile('z'), "glyphs/z.jpg");
}

TEST_F(FontSetTest, FileIsNamedFromTheWorkingFolderAndGlyphsFromTheShowsFolder)
{
    // The same name in the show's folder holds no font set.
    writeFile("show/fonts/set.xml", "not a font set");
    writeFile("fonts/set.xml", fontset("<character charcode=\"a\" filename=\"glyphs/a.jpg\"/>\n"));
    writeGlyph("glyphs/a.jpg", 200, 255);

    FontSet set(&scene);
    set.load("fonts/set.xml");
    std::unique_ptr<CharMesh> glyph = set.createCharMesh('a');

    // A blendable texture under the file's name, on the glyph's surface of the same name.
    Texture* texture = scene.getTextureManager().find("glyphs/a.jpg");
    EXPECT_NE(dynamic_cast<BlendableTexture*>(texture), nullptr);
    EXPECT_EQ(texture->getWidth(), 16);
    EXPECT_NE(texture->getTextureId(), 0u);
    ASSERT_NE(glyph->getSurface(), nullptr);
    EXPECT_EQ(glyph->getSurface()->getName(), "glyphs/a.jpg");
    EXPECT_EQ(glyph->getSurface()->getTextures(), std::vector<Texture*>{texture});
    EXPECT_EQ(glyph->getSurfaces().find("glyphs/a.jpg"), glyph->getSurface());

    // A later glyph of the same picture shares the texture: the picture is not read again (it is
    // gone from the folder) and the manager holds the one texture still.
    std::remove(path("show/glyphs/a.jpg").c_str());
    std::unique_ptr<CharMesh> again = set.createCharMesh('a');
    EXPECT_EQ(scene.getTextureManager().find("glyphs/a.jpg"), texture);
    EXPECT_EQ(again->getSurface()->getTextures(), std::vector<Texture*>{texture});
    EXPECT_EQ(glyph->getSurface()->getTextures(), std::vector<Texture*>{texture});
    EXPECT_EQ(scene.getTextureManager().getTextures().size(), 1u);
}

TEST_F(FontSetTest, GlyphsWithoutTheirPicturesFailInTheTexture)
{
    writeFile("fonts/set.xml", fontset("<character charcode=\"a\" filename=\"glyphs/a.jpg\"/>\n"
                                       "<character charcode=\"b\" filename=\"glyphs/b.jpg\"/>\n"));
    writeGlyph("glyphs/a.jpg", 200, 255);
    writeJpeg(path("show/glyphs/b.jpg"), 16, 16, 3, solidPixels(16, 16, {1, 2, 3}));
    FontSet set(&scene);
    set.load("fonts/set.xml");
    set.setName("serif");
    const size_t texturesBefore = scene.getTextureManager().getTextures().size();
    struct Case {
        const char* what;
        char c;
        const char* failure;  // a part of the message
    } cases[] = {
        {"alpha companion missing", 'b', "\"glyphs/balpha.jpg\""},
        {"character without a glyph", 'q',
         "KelvoEngineException::::FontSetException::createCharMesh() - The font set \"serif\" has no glyph for the "
         "character 'q' (113)."},
    };
    for (const Case& c : cases) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            try {
                set.createCharMesh(c.c);
                ADD_FAILURE() << c.what << ": made a glyph";
            } catch (const Exception& e) {
                EXPECT_NE(e.getMessage().find(c.failure), std::string::npos) << c.what << ": " << e.getMessage();
            }
            // A picture that failed is not kept as a texture that never loaded.
            EXPECT_EQ(scene.getTextureManager().getTextures().size(), texturesBefore) << c.what;
        }
    }
    EXPECT_FALSE(scene.getTextureManager().exists("glyphs/b.jpg"));
    EXPECT_FALSE(scene.getTextureManager().exists(""));
    EXPECT_EQ(set.getGlyphs().size(), 2u);

    // Once its companion is there, the glyph loads under the same name.
    writeJpeg(path("show/glyphs/balpha.jpg"), 16, 16, 1, solidPixels(16, 16, {255}));
    EXPECT_NE(set.createCharMesh('b'), nullptr);
    EXPECT_NE(scene.getTextureManager().find("glyphs/b.jpg")->getTextureId(), 0u);
}

TEST_F(FontSetTest, FilesThatAreNoFontSetsFailAndKeepTheGlyphs)
{
    FontSet set(&scene);
    set.addCharacter('x', "glyphs/x.jpg");
    const std::string parserFailure =
        PREFIX + "load() - Error occurred while parsing \"fonts/set.xml\". Errors should have been reported by the "
                 "parser.";
    struct Case {
        const char* what;
        std::string content;
        std::string message;
    } cases[] = {
        {"not well-formed", fontset("<character charcode=\"a\" filename=\"a.jpg\">\n"), parserFailure},
        {"not XML", "font set", parserFailure},
        {"another root", HEAD + "<fonts><character charcode=\"a\" filename=\"a.jpg\"/></fonts>\n",
         PREFIX + "load() - Error! The root element of \"fonts/set.xml\" is not \"fontset\"."},
        {"charcode missing", fontset("<character charcode=\"a\" filename=\"a.jpg\"/>\n<character filename=\"b.jpg\"/>\n"),
         PREFIX + "load() - Error! Attribute \"charcode\" of a character is missing in \"fonts/set.xml\"."},
        {"filename missing", fontset("<character charcode=\"a\" filename=\"a.jpg\"/>\n<character charcode=\"b\"/>\n"),
         PREFIX + "load() - Error! Attribute \"filename\" of a character is missing in \"fonts/set.xml\"."},
        {"charcode empty", fontset("<character charcode=\"a\" filename=\"a.jpg\"/>\n<character charcode=\"\" "
                                   "filename=\"b.jpg\"/>\n"),
         PREFIX + "load() - Error! Attribute \"charcode\" of a character is empty in \"fonts/set.xml\"."},
        {"external entity",
         HEAD + "<!DOCTYPE fontset [ <!ENTITY more SYSTEM \"more.xml\"> ]>\n<fontset>&more;</fontset>\n",
         parserFailure},
    };
    writeFile("fonts/more.xml", "<character charcode=\"m\" filename=\"m.jpg\"/>");
    for (const Case& c : cases) {
        LogCapture log;
        EXPECT_EQ(loadFailure(set, c.content), c.message) << c.what;
        EXPECT_EQ(set.getGlyphs(), (std::map<char, std::string>{{'x', "glyphs/x.jpg"}})) << c.what;
        if (c.message == parserFailure) {
            EXPECT_TRUE(log.contains("[error] domtreeerrorreporter::fatalError() - Fatal Error at file ")) << c.what;
        }
    }

    // A file that cannot be read is named with the reason; a named pipe is never opened (it would
    // wait for a writer for ever).
    std::vector<UnreadableFile> unreadable = makeUnreadableFiles("fonts/");
    unreadable.push_back({"fonts\\missing.xml", "fonts/missing.xml", "File \"fonts/missing.xml\": file not found."});
    for (const UnreadableFile& u : unreadable) {
        Watchdog guard("loading a font set from " + u.path, 5.0);
        // Font sets are named from the working folder: the name is the path.
        const std::string name = u.name.find('\\') == std::string::npos ? u.path : u.name;
        EXPECT_EQ(exceptionMessage([&] { set.load(name); }),
                  PREFIX + "load() - An error occured during parsing. " + u.reason);
        EXPECT_EQ(set.getGlyphs(), (std::map<char, std::string>{{'x', "glyphs/x.jpg"}})) << u.path;
    }
}

TEST_F(FontSetTest, BackslashesInTheFileNameSeparateFolders)
{
    writeFile("fonts/set.xml", fontset("<character charcode=\"a\" filename=\"glyphs/a.jpg\"/>\n"));
    FontSet set(&scene);
    LogCapture log;
    set.load("fonts\\set.xml");
    EXPECT_EQ(set.getGlyphs(), (std::map<char, std::string>{{'a', "glyphs/a.jpg"}}));
    EXPECT_EQ(log.errors(), 0) << log.text();
}

TEST_F(FontSetTest, TruncatedAndDamagedFilesFailCleanly)
{
    const std::string content = fontset("<character charcode=\"a\" filename=\"glyphs/a.jpg\"/>\n"
                                        "<character charcode=\"&amp;\" filename=\"glyphs/amp.jpg\"/>\n");
    const std::string::size_type complete = content.rfind('>') + 1;
    FontSet set(&scene);
    LogCapture log;
    for (std::string::size_type length = 0; length < complete; ++length)
        EXPECT_NE(loadFailure(set, content.substr(0, length)), "") << "prefix of " << length << " bytes loaded";
    EXPECT_TRUE(set.getGlyphs().empty());
    for (std::string::size_type at = 0; at < content.size(); at += 5) {
        std::string damaged = content;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x5a);
        loadFailure(set, damaged);  // may load or fail; must not crash
    }
    EXPECT_EQ(loadFailure(set, content), "");
    EXPECT_EQ(set.getGlyphFile('&'), "glyphs/amp.jpg");
}

TEST_F(FontSetTest, SceneMakesFontSetsByNameOnce)
{
    scene.stringAction("createFontSet", "serif");
    try {
        scene.stringAction("createFontSet", "serif");
        FAIL() << "the name is taken";
    } catch (const EnvironmentException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::EnvironmentException::createFontSet() - Failed to create "
                                  "font set. Exception message:KelvoEngineException::::Factory<FontSet>Exception::"
                                  "create() - Unable to create new component. Component \"serif\" already exists in "
                                  "this factory!.");
    }
    EXPECT_EQ(scene.getFontSets().size(), 1);
}
