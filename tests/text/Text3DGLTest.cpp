#include "Text3D.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "BlendableTexture.h"
#include "Camera.h"
#include "CharMesh.h"
#include "Environment.h"
#include "FontSet.h"
#include "GLEnvironment.h"
#include "JpegWriter.h"
#include "Pixels.h"
#include "ResourceLoader.h"
#include "SceneViews.h"
#include "Surface.h"
#include "TestSupport.h"

// 3D texts of a scene on the shared window, drawn as the controller draws a scene (its view, then
// its render) with the program's back-face culling, and read back from the back buffer. The font
// set's file is in the working folder, the glyph pictures in the show's folder.
namespace {
const double PI = 3.14159265358979;
const Pixel RED{255, 0, 0};
const Pixel GREEN{0, 255, 0};
const Pixel BLUE{0, 0, 255};
const Pixel GREY{64, 64, 64};  // the scene's background

// A camera with a turn, at a place.
class TurnedCamera : public Camera {
public:
    TurnedCamera(const Quaternion& turn, const Vector& place)
    {
        orientation = turn;
        position = place;
    }
};

class Text3DTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath("show/");
        drainGLErrors();
        glCullFace(GL_BACK);
        glEnable(GL_CULL_FACE);

        // "a": red left half and green right half, opaque above and clear below. "b": blue, opaque
        // on the left and clear on the right. 8 × 8 blocks, so JPEG keeps them flat.
        std::vector<unsigned char> a, aAlpha, b, bAlpha;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const Pixel& p = x < 8 ? RED : GREEN;
                a.insert(a.end(), {static_cast<unsigned char>(p.r), static_cast<unsigned char>(p.g),
                                   static_cast<unsigned char>(p.b)});
                aAlpha.push_back(y < 8 ? 255 : 0);
                b.insert(b.end(), {0, 0, 255});
                bAlpha.push_back(x < 8 ? 255 : 0);
            }
        writeJpeg(path("show/glyphs/a.jpg"), 16, 16, 3, a);
        writeJpeg(path("show/glyphs/aalpha.jpg"), 16, 16, 1, aAlpha);
        writeJpeg(path("show/glyphs/b.jpg"), 16, 16, 3, b);
        writeJpeg(path("show/glyphs/balpha.jpg"), 16, 16, 1, bAlpha);
        writeFile("fonts/set.xml", "<fontset>\n"
                                   "  <character charcode=\"a\" filename=\"glyphs/a.jpg\"/>\n"
                                   "  <character charcode=\"b\" filename=\"glyphs/b.jpg\"/>\n"
                                   "  <character charcode=\"c\" filename=\"glyphs/missing.jpg\"/>\n"
                                   "</fontset>\n");

        scene.setName("space");
        scene.stringAction("createFontSet", "serif");
        scene.stringAction("serif.load", "fonts/set.xml");
        scene.stringAction("createText3D", "title");
        text = scene.getTexts3D().find("title");
    }
    void TearDown() override
    {
        ResourceLoader::setResourcePath("");
        glDisable(GL_CULL_FACE);
        leaveLitScene();
        TempDirTest::TearDown();
    }

    static Vector corner(const CharMesh& glyph, int point) { return glyph.getPointVector(point); }

    static void expectVector(const Vector& got, const Vector& expected, const std::string& what)
    {
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(got[i], expected[i], 1e-3) << what << ", component " << i;
    }

    Environment scene;
    Text3D* text = nullptr;
};
}

TEST_F(Text3DTest, EveryGlyphGetsTheCornersOfThePathsAtTheTimeAndLagSecondsBefore)
{
    scene.stringAction("title.setFontSet", "serif");
    scene.stringAction("title.setText", "aba");
    ASSERT_EQ(text->getGlyphCount(), 3);
    scene.stringAction("title.setText", "ba");
    ASSERT_EQ(text->getGlyphCount(), 5);
    // Where setText puts them: stored, not drawn.
    for (int i = 0; i < 5; ++i) {
        const int inText = i < 3 ? i : i - 3;
        expectVector(text->getGlyph(i).getPosition(), Vector(-50.0f, 10.0f, 10.0f * inText - 50.0f),
                     "position of glyph " + std::to_string(i));
        EXPECT_FLOAT_EQ(text->getGlyph(i).getWidth(), 10.0f);
        EXPECT_FLOAT_EQ(text->getGlyph(i).getHeight(), 10.0f);
    }

    // Points 0 and 3 (lower and upper left of the picture) follow paths B and A at the time,
    // points 1 and 2 at the time less 300 s, which for a show's first 300 s is before the paths
    // begin, where they hold their first keys (0, 0, 300) and (0, 50, 300).
    struct Case {
        const char* what;
        double time;  // seconds
        Vector p0, p1, p2, p3;
    } cases[] = {
        {"0 s: both edges on the first keys, a degenerate quad", 0.0, Vector(0, 0, 300), Vector(0, 0, 300),
         Vector(0, 50, 300), Vector(0, 50, 300)},
        {"12.5 s: frame 300, the second keys", 12.5, Vector(300, 0, 300), Vector(0, 0, 300), Vector(0, 50, 300),
         Vector(300, 50, 300)},
        {"25 s: frame 600, the third keys", 25.0, Vector(300, 0, 0), Vector(0, 0, 300), Vector(0, 50, 300),
         Vector(300, 0, 50)},
        {"37.5 s: frame 900, the last keys", 37.5, Vector(0, 0, 0), Vector(0, 0, 300), Vector(0, 50, 300),
         Vector(0, 50, 0)},
        {"100 s: past the paths' end, still the last keys", 100.0, Vector(0, 0, 0), Vector(0, 0, 300),
         Vector(0, 50, 300), Vector(0, 50, 0)},
        {"312.5 s: the trailing edge reaches frame 300", 312.5, Vector(0, 0, 0), Vector(300, 0, 300),
         Vector(300, 50, 300), Vector(0, 50, 0)},
    };
    // A text of one glyph fills the whole quad, corner for corner; one of five glyphs gets the
    // fifth of it between the fractions i / 5 and (i + 1) / 5 from the leading edge.
    scene.stringAction("createText3D", "single");
    Text3D* single = scene.getTexts3D().find("single");
    single->setFontSet("serif");
    single->setText("b");
    scene.getCameraController().createHpbCamera("eye");
    scene.getCameraController().setCamera("eye");
    const auto along = [](const Vector& from, const Vector& to, float f) { return from * (1.0f - f) + to * f; };
    for (const Case& c : cases) {
        scene.setViewState();
        scene.render(c.time);
        const CharMesh& only = single->getGlyph(0);
        const Vector exact[4] = {c.p0, c.p1, c.p2, c.p3};
        for (int point = 0; point < 4; ++point)
            for (int j = 0; j < 3; ++j)
                EXPECT_EQ(corner(only, point)[j], exact[point][j])
                    << c.what << ", the only glyph, point " << point << ", component " << j;
        const int count = text->getGlyphCount();
        for (int i = 0; i < count; ++i) {
            const std::string what = std::string(c.what) + ", glyph " + std::to_string(i) + ", point ";
            const float near = static_cast<float>(i) / static_cast<float>(count);
            const float far = static_cast<float>(i + 1) / static_cast<float>(count);
            expectVector(corner(text->getGlyph(i), 0), along(c.p0, c.p1, near), what + "0");
            expectVector(corner(text->getGlyph(i), 1), along(c.p0, c.p1, far), what + "1");
            expectVector(corner(text->getGlyph(i), 2), along(c.p3, c.p2, far), what + "2");
            expectVector(corner(text->getGlyph(i), 3), along(c.p3, c.p2, near), what + "3");
        }
    }
}

TEST_F(Text3DTest, GlyphPictureIsDrawnUnlitWhereThePathsPutItsCorners)
{
    // A light, so that anything drawn lit would come out at most 0.82 of its colour.
    scene.getLights().create("lamp", &scene)->setPosition(0, 0, 1, 0);
    scene.stringAction("setBackgroundColor", "#404040");
    scene.stringAction("title.setFontSet", "serif");
    scene.stringAction("title.setText", "a");

    // Each camera sees the quad face on, its centre straight ahead at a depth of 290, the
    // leading edge (the picture's left) on the left of the window. Under the 45 degree projection
    // a unit at depth 290 spans k = 240 / (290 tan 22.5°) = 1.998 pixels, so the 300 × 50 quad
    // covers x 320 ± 150k (20 to 620) and y 240 ± 25k (190 to 290): red above on the left, green
    // above on the right, the clear lower half showing the background.
    const struct Probe {
        int x, y;
        Pixel colour;
    } probes[] = {{170, 265, RED},  {470, 265, GREEN}, {170, 215, GREY}, {470, 215, GREY},
                  {320, 300, GREY}, {320, 180, GREY},  {10, 265, GREY},  {630, 265, GREY}};
    struct Case {
        const char* what;
        double time;  // seconds
        Quaternion turn;
        Vector place;
        Vector centre;  // of the quad
    } cases[] = {
        // Corners (300, 0, 300), (0, 0, 300), (0, 50, 300), (300, 50, 300): seen from z = 10,
        // turned to look along +z.
        {"12.5 s, the quad in the plane z = 300", 12.5, Quaternion(static_cast<float>(PI), 0, 1, 0),
         Vector(150, 25, 10), Vector(150, 25, 300)},
        // Corners (0, 0, 0), (0, 0, 300), (0, 50, 300), (0, 50, 0): seen from x = -290, turned
        // to look along +x.
        {"40 s, the quad in the plane x = 0", 40.0, Quaternion(static_cast<float>(-PI / 2), 0, 1, 0),
         Vector(-290, 25, 150), Vector(0, 25, 150)},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string camera = "view" + std::to_string(n++);
        Factory<Camera>& cameras = scene.getCameraController();
        cameras.store(camera, std::make_unique<TurnedCamera>(c.turn, c.place));
        scene.stringAction("cameraController.setCamera", camera);

        // The set-up itself: the quad's centre straight ahead at depth 290.
        scene.setViewState();
        scene.getCameraController().getCurrentCamera()->render(c.time);
        float m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        const Vector& q = c.centre;
        const Vector seen(m[0] * q.x + m[4] * q.y + m[8] * q.z + m[12], m[1] * q.x + m[5] * q.y + m[9] * q.z + m[13],
                          m[2] * q.x + m[6] * q.y + m[10] * q.z + m[14]);
        ASSERT_NEAR(seen.x, 0.0f, 1e-3) << c.what;
        ASSERT_NEAR(seen.y, 0.0f, 1e-3) << c.what;
        ASSERT_NEAR(seen.z, -290.0f, 1e-3) << c.what;

        for (float x : {-50.0f, 5.0f}) {
            // A glyph's own position is stored, never drawn.
            text->getGlyph(0).floatAction("setX", x);
            scene.setViewState();
            scene.render(c.time);
            for (const Probe& p : probes) {
                const Pixel got = readPixel(p.x, p.y);
                EXPECT_TRUE(closeColour(got, p.colour, 10))
                    << c.what << ", glyph at x " << x << ": (" << p.x << ", " << p.y << ") is " << describe(got)
                    << " instead of " << describe(p.colour);
            }
            EXPECT_TRUE(glIsEnabled(GL_LIGHTING)) << c.what;
            EXPECT_FALSE(glIsEnabled(GL_BLEND)) << c.what;
            GLint front = 0;
            glGetIntegerv(GL_FRONT_FACE, &front);
            EXPECT_EQ(front, GL_CCW) << c.what;
        }
    }

}

TEST_F(Text3DTest, GlyphsOfATextStandSideBySideInReadingOrder)
{
    // "ab" at 12.5 s, seen face on as in the test above (the quad spans x 20 to 620, y 190 to
    // 290): "a" in the left half, red then green above and clear below; "b" in the right half,
    // blue on its left and clear on its right.
    scene.stringAction("setBackgroundColor", "#404040");
    scene.stringAction("title.setFontSet", "serif");
    scene.stringAction("title.setText", "a");
    scene.stringAction("title.setText", "b");
    Factory<Camera>& cameras = scene.getCameraController();
    cameras.store("front",
                  std::make_unique<TurnedCamera>(Quaternion(static_cast<float>(PI), 0, 1, 0), Vector(150, 25, 10)));
    scene.stringAction("cameraController.setCamera", "front");
    scene.setViewState();
    scene.render(12.5);
    const struct {
        int x, y;
        Pixel colour;
    } probes[] = {{95, 265, RED},   {245, 265, GREEN}, {95, 215, GREY},  {245, 215, GREY},
                  {395, 265, BLUE}, {395, 215, BLUE},  {545, 265, GREY}, {545, 215, GREY}};
    for (const auto& p : probes) {
        const Pixel got = readPixel(p.x, p.y);
        EXPECT_TRUE(closeColour(got, p.colour, 10))
            << "(" << p.x << ", " << p.y << ") is " << describe(got) << " instead of " << describe(p.colour);
    }
}

TEST_F(Text3DTest, TextWithoutGlyphsDrawsNothing)
{
    scene.getCameraController().createHpbCamera("eye");
    scene.getCameraController().setCamera("eye");
    scene.stringAction("setBackgroundColor", "#404040");
    for (double time : {0.0, 12.5}) {
        scene.setViewState();
        scene.render(time);
        EXPECT_TRUE(closeColour(readPixel(320, 240), GREY, 0)) << time;
    }
    EXPECT_EQ(text->getGlyphCount(), 0);
}

TEST_F(Text3DTest, FontSetAndTextFailuresLeaveWhatWasThere)
{
    try {
        scene.stringAction("title.setFontSet", "sans");
        FAIL() << "no such font set";
    } catch (const EnvironmentException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::EnvironmentException::setFontSet() - Unable to find font "
                                  "set \"sans\" from Environment \"space\".");
    }
    try {
        scene.stringAction("title.setText", "ab");
        FAIL() << "no font set chosen";
    } catch (const Text3DException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::text3DException::setText(\"title\") - No font set to take "
                                  "the glyphs of \"ab\" from: \"setFontSet\" has not succeeded.");
    }
    EXPECT_EQ(text->getGlyphCount(), 0);

    // "c" has no picture: the glyphs made before it stay.
    scene.stringAction("title.setFontSet", "serif");
    EXPECT_THROW(scene.stringAction("title.setText", "abcab"), Exception);
    EXPECT_EQ(text->getGlyphCount(), 2);

    try {
        scene.stringAction("createText3D", "title");
        FAIL() << "the name is taken";
    } catch (const EnvironmentException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::EnvironmentException::createText3D() - Failed to create 3D "
                                  "text. Exception message:KelvoEngineException::::Factory<Text3D>Exception::create() "
                                  "- Unable to create new component. Component \"title\" already exists in this "
                                  "factory!.");
    }
}

TEST_F(Text3DTest, ACharacterWithoutAGlyphIsNamedWithTheTextAndTheFontSet)
{
    scene.stringAction("title.setFontSet", "serif");
    const struct {
        std::string text;
        std::string character;  // as the message names it
        int made;               // glyphs made before it
    } cases[] = {
        {"abqab", "'q' (113)", 2},
        {"a b", "' ' (32)", 1},
        {"\xe9t\xe9", "'\xe9' (233)", 0},
    };
    int glyphs = 0;
    for (const auto& c : cases) {
        try {
            scene.stringAction("title.setText", c.text);
            ADD_FAILURE() << c.text << ": no failure";
        } catch (const Text3DException& e) {
            EXPECT_EQ(e.getMessage(), "KelvoEngineException::::text3DException::setText(\"title\") - The font set "
                                      "\"serif\" has no glyph for the character " +
                                          c.character + " of \"" + c.text + "\".");
        }
        glyphs += c.made;
        EXPECT_EQ(text->getGlyphCount(), glyphs) << c.text;
    }
    EXPECT_FALSE(scene.getTextureManager().exists("")) << "no texture is tried for a character without a glyph";
}

TEST_F(Text3DTest, GlyphThatFailsToDrawFailsTheTextAndLeavesTheViewAsItWas)
{
    scene.stringAction("title.setFontSet", "serif");
    scene.stringAction("title.setText", "a");
    text->getGlyph(0).setSurfaceName("gone");
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    try {
        text->render(12.5);
        FAIL() << "a triangle names a surface the glyph does not have";
    } catch (const Text3DException& e) {
        const std::string start = "KelvoEngineException::::text3DException::render(\"title\") - Failed to render 3d "
                                  "text. KelvoEngineException::::MeshException::render(\"";
        EXPECT_EQ(e.getMessage().compare(0, start.size(), start), 0) << e.getMessage();
        EXPECT_NE(e.getMessage().find("Unable to find component \"gone\"."), std::string::npos) << e.getMessage();
    }
    GLint after = 0, front = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &after);
    glGetIntegerv(GL_FRONT_FACE, &front);
    EXPECT_EQ(after, depth);
    EXPECT_EQ(front, GL_CCW);
}

TEST_F(Text3DTest, GlyphTexturesJoinTheOneSurfaceNamedAfterTheFirst)
{
    scene.stringAction("title.setFontSet", "serif");
    scene.stringAction("title.setText", "a");
    CharMesh& glyph = text->getGlyph(0);
    Surface* surface = glyph.getSurface();
    ASSERT_NE(surface, nullptr);
    scene.getTextureManager().createTexture("extra");
    glyph.stringAction("setTexture", "extra");
    EXPECT_EQ(glyph.getSurface(), surface);
    EXPECT_EQ(glyph.getSurfaces().size(), 1);
    EXPECT_EQ(surface->getName(), "glyphs/a.jpg");
    EXPECT_EQ(surface->getTextures(), (std::vector<Texture*>{scene.getTextureManager().find("glyphs/a.jpg"),
                                                             scene.getTextureManager().find("extra")}));
    try {
        glyph.stringAction("setTexture", "nowhere");
        FAIL() << "no such texture";
    } catch (const CharMeshException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::CharMeshException::setTexture() - Failed to set texture. "
                                  "KelvoEngineException::::Factory<Texture>Exception::find() - Unable to find "
                                  "component \"nowhere\".");
    }
    EXPECT_EQ(surface->getTextures().size(), 2u);
}

TEST_F(Text3DTest, TenThousandCharactersShareOneTexturePerGlyphPictureAcrossTheScenesTexts)
{
    scene.stringAction("createText3D", "subtitle");
    scene.stringAction("title.setFontSet", "serif");
    scene.stringAction("subtitle.setFontSet", "serif");
    std::string longText;
    for (int i = 0; i < 5000; ++i)
        longText += "ab";
    const double start = threadCpuSeconds();
    scene.stringAction("title.setText", longText);
    scene.stringAction("subtitle.setText", "ba");
    const double seconds = threadCpuSeconds() - start;

    ASSERT_EQ(text->getGlyphCount(), 10000);
    Text3D* subtitle = scene.getTexts3D().find("subtitle");
    Texture* a = scene.getTextureManager().find("glyphs/a.jpg");
    Texture* b = scene.getTextureManager().find("glyphs/b.jpg");
    std::set<Texture*> textures;
    std::set<unsigned int> objects;
    for (Text3D* t : {text, subtitle}) {
        for (int i = 0; i < t->getGlyphCount(); ++i) {
            const std::vector<Texture*>& held = t->getGlyph(i).getSurface()->getTextures();
            ASSERT_EQ(held.size(), 1u);
            textures.insert(held[0]);
            objects.insert(held[0]->getTextureId());
        }
    }
    EXPECT_EQ(textures, (std::set<Texture*>{a, b}));
    EXPECT_EQ(objects.size(), 2u);
    EXPECT_EQ(text->getGlyph(0).getSurface()->getTextures()[0], a);
    EXPECT_EQ(subtitle->getGlyph(0).getSurface()->getTextures()[0], b);
    EXPECT_EQ(scene.getTextureManager().getTextures().size(), 2u);
    EXPECT_LT(seconds, readerSecondsLimit());
}
