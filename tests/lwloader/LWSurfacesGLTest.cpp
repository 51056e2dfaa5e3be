#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "Actor.h"
#include "Environment.h"
#include "GLEnvironment.h"
#include "JpegWriter.h"
#include "Log.h"
#include "LwoWriter.h"
#include "Pixels.h"
#include "ResourceLoader.h"
#include "SceneViews.h"
#include "Surface.h"
#include "TestSupport.h"
#include "Texture.h"
#include "lwloader/LWLoader.h"
#include "lwloader/LWLoaderException.h"

// LightWave objects with surfaces, written here and loaded into an actor on the shared window:
// the surfaces and textures they get, the texture coordinates of their projections, and what they
// draw, unlit straight in clip coordinates (the -1..1 square is the whole window).
namespace {
const std::string wrapped = "KelvoEngineException::::LWLoader::LWLoader::FillObject() - Unable to populate Actor with Chunk ";
const std::string surfaceFailed =
    "\"SURF\".  Cause: KelvoEngineException::::LWSurfChunkException::fillObject() - Failed to set surface to the actor. ";

// How a texture block of a test object is made.
struct Block {
    const char* header = "IMAP";
    uint16_t projection = 5;
    uint16_t axis = 2;
    uint16_t widthWrap = 1;
    uint16_t heightWrap = 1;
    uint32_t image = 1;
    std::string uvMap = "uv";
    Vector center;
    Vector size = Vector(1, 1, 1);
};

LwoWriter& block(LwoWriter& w, const Block& b)
{
    w.subChunk("BLOK");
    w.subChunk(b.header).s0("\x80").subChunk("CHAN").id("COLR").end().end();
    w.subChunk("TMAP");
    w.subChunk("CNTR").vec12(b.center.x, b.center.y, b.center.z).vx(0).end();
    w.subChunk("SIZE").vec12(b.size.x, b.size.y, b.size.z).vx(0).end();
    w.end();
    w.subChunk("PROJ").u2(b.projection).end();
    w.subChunk("AXIS").u2(b.axis).end();
    w.subChunk("IMAG").vx(b.image).end();
    w.subChunk("WRAP").u2(b.widthWrap).u2(b.heightWrap).end();
    w.subChunk("VMAP").s0(b.uvMap).end();
    return w.end();
}

LwoWriter& surface(LwoWriter& w, const std::string& name, const RGBA& colour, const std::vector<Block>& blocks = {})
{
    w.chunk("SURF").s0(name).s0("");
    w.subChunk("COLR").vec12(colour.r, colour.g, colour.b).vx(0).end();
    for (const Block& b : blocks)
        block(w, b);
    return w.end();
}

LwoWriter& clip(LwoWriter& w, uint32_t index, const std::string& path)
{
    return w.chunk("CLIP").u4(index).subChunk("STIL").s0(path).end().end();
}

// One layer: the square from (x0, y0) to (x1, y1) at z = 0 as one quad with the surface named
// tag, its corners (counter-clockwise from the lower left) given the UVs (0, 0), (1, 0), (1, 1),
// (0, 1) by the map "uv".
LwoWriter& squareLayer(LwoWriter& w, uint16_t number, float x0, float y0, float x1, float y1, uint16_t tag)
{
    w.chunk("LAYR").u2(number).u2(0).vec12(0, 0, 0).s0("").end();
    w.chunk("PNTS").vec12(x0, y0, 0).vec12(x1, y0, 0).vec12(x1, y1, 0).vec12(x0, y1, 0).end();
    w.chunk("VMAP").id("TXUV").u2(2).s0("uv").vx(0).f4(0).f4(0).vx(1).f4(1).f4(0).vx(2).f4(1).f4(1).vx(3).f4(0).f4(1).end();
    w.chunk("POLS").id("FACE").u2(4).vx(0).vx(1).vx(2).vx(3).end();
    return w.chunk("PTAG").id("SURF").vx(0).u2(tag).end();
}

class LWSurfacesTest : public MeshViewFolderTest {
protected:
    void SetUp() override
    {
        MeshViewFolderTest::SetUp();
        writeJpeg(path("wood.jpg"), 8, 8, 3, solidPixels(8, 8, {255, 0, 0}));
    }

    // Loads bytes as name into actor; "" when it loads, else the loader's message.
    std::string load(const std::string& bytes, Actor& actor, const std::string& name = "object.lwo")
    {
        writeFile(name, bytes);
        LWLoader loader(&actor, &scene);
        try {
            loader.loadObject(name);
            loader.fillObject(&actor);
        } catch (const LWLoaderException& e) {
            return e.getMessage();
        }
        return "";
    }

    // An object of one square layer over the whole window, its quad tagged "Default", with the
    // surfaces written by more.
    template <typename More> std::string squareObject(More more)
    {
        LwoWriter w;
        w.chunk("TAGS").s0("Default").end();
        squareLayer(w, 1, -1, -1, 1, 1, 0);
        more(w);
        return w.file();
    }

    // The UV of a triangle corner after the actor spread its per-point UVs.
    static UV cornerUV(Actor& actor, int triangle, int point)
    {
        actor.initializeTextureCoordinates();
        return actor.getTextureCoordinateMap().getTriangleTextureCoordinates(triangle).getCoordinate(point);
    }
};

void expectUV(const UV& actual, float u, float v, const std::string& what)
{
    EXPECT_NEAR(actual.u, u, 1e-6) << what;
    EXPECT_NEAR(actual.v, v, 1e-6) << what;
}
}

TEST_F(LWSurfacesTest, ASurfaceJoinsTheActorsLibraryWithItsMaterial)
{
    Actor actor(&scene);
    ASSERT_EQ(load(squareObject([](LwoWriter& w) {
                       w.chunk("SURF").s0("Default").s0("");
                       w.subChunk("COLR").vec12(0.5f, 0.5f, 1.0f).vx(0).end();
                       w.subChunk("DIFF").f4(0.8f).vx(0).end();
                       w.subChunk("SPEC").f4(0.25f).vx(0).end();
                       w.end();
                   }),
                   actor),
              "");
    ASSERT_TRUE(actor.getSurfaces().exists("Default"));
    Surface* surface = actor.getSurfaces().find("Default");
    EXPECT_EQ(surface->getName(), "Default");
    const Material& m = surface->getMaterial();
    EXPECT_FLOAT_EQ(m.getColor().b, 1.0f);
    EXPECT_FLOAT_EQ(m.getDiffuse().r, 0.4f);
    EXPECT_FLOAT_EQ(m.getDiffuse().b, 0.8f);
    EXPECT_FLOAT_EQ(m.getSpecular().g, 0.25f);
    EXPECT_TRUE(surface->getTextures().empty());
    EXPECT_EQ(scene.getSurfaces().size(), 0) << "the scene's own library stays as it was";
}

TEST_F(LWSurfacesTest, AGlossinessOpenGLCannotTakeIsClampedWithAWarningAndTheObjectDraws)
{
    // OpenGL takes a shininess of 0 to 128, a glossiness of 0 to 1; outside it, it keeps the
    // shininess before and reports an invalid value, which failed the object's draw.
    const float nan = std::nanf("");
    const struct {
        const char* what;
        float glossiness;
        float shininess;  // as the surface applies it
        int warnings;
    } cases[] = {
        {"negative", -0.5f, 0.0f, 1}, {"above 1", 3.0f, 128.0f, 1},   {"huge", 1e30f, 128.0f, 1},
        {"no number", nan, 0.0f, 1},  {"within", 0.25f, 32.0f, 0},
    };
    for (const auto& c : cases) {
        Actor actor(&scene);
        LogCapture log;
        ASSERT_EQ(load(squareObject([&](LwoWriter& w) {
                           w.chunk("SURF").s0("Default").s0("");
                           w.subChunk("COLR").vec12(0.0f, 1.0f, 0.0f).vx(0).end();
                           w.subChunk("GLOS").f4(c.glossiness).vx(0).end();
                           w.end();
                       }),
                       actor),
                  "")
            << c.what;
        EXPECT_FLOAT_EQ(actor.getSurfaces().find("Default")->getMaterial().getShininess(), c.shininess) << c.what;
        EXPECT_EQ(log.warnings(), c.warnings) << c.what << ":\n" << log.text();
        if (c.warnings > 0) {
            EXPECT_TRUE(log.contains("[warning] lwsurfchunk::fillObject() - Surface \"Default\" in file \"object.lwo\": "
                                     "glossiness "))
                << c.what << ":\n" << log.text();
        }

        glClear(GL_COLOR_BUFFER_BIT);
        EXPECT_NO_THROW(actor.render(0.0)) << c.what;
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << c.what;
        EXPECT_TRUE(closeColour(readPixel(320, 240), {0, 255, 0})) << c.what << ": " << describe(readPixel(320, 240));
    }
}

TEST_F(LWSurfacesTest, ABlockOfAnotherKindOnlyPlacesItsTexture)
{
    Block procedural;
    procedural.header = "PROC";
    procedural.projection = 2;
    procedural.center = Vector(1, 2, 3);
    procedural.size = Vector(4, 5, 6);
    Actor actor(&scene);
    ASSERT_EQ(load(squareObject([&](LwoWriter& w) {
                       clip(w, 1, "wood.jpg");
                       surface(w, "Default", RGBA(1, 1, 1, 1), {procedural});
                   }),
                   actor),
              "");
    Surface* surface = actor.getSurfaces().find("Default");
    EXPECT_EQ(surface->getTextureCenter().z, -3.0f);
    EXPECT_EQ(surface->getTextureCenter().y, 2.0f);
    EXPECT_EQ(surface->getTextureSize().z, 6.0f);
    EXPECT_TRUE(surface->getTextures().empty());
    EXPECT_EQ(scene.getTextureManager().size(), 0);
    EXPECT_EQ(actor.getTextureCoordinateMap().count(), 0);
}

TEST_F(LWSurfacesTest, TexturesAreSharedByImageFileAndWrapping)
{
    Block repeat, edge;
    edge.widthWrap = edge.heightWrap = 3;
    std::string object = [&] {
        LwoWriter w;
        w.chunk("TAGS").s0("A").s0("B").s0("C").end();
        squareLayer(w, 1, -1, -1, 1, 1, 0);
        clip(w, 1, "Images/wood.jpg");
        surface(w, "A", RGBA(1, 1, 1, 1), {repeat});
        surface(w, "B", RGBA(1, 1, 1, 1), {edge});
        surface(w, "C", RGBA(1, 1, 1, 1), {repeat});
        return w.file();
    }();
    Actor actor(&scene);
    ASSERT_EQ(load(object, actor), "");
    TextureManager& textures = scene.getTextureManager();
    EXPECT_EQ(textures.size(), 2);
    ASSERT_TRUE(textures.exists("wood.jpgrr"));
    ASSERT_TRUE(textures.exists("wood.jpgcc"));
    Texture* repeated = textures.find("wood.jpgrr");
    Texture* clamped = textures.find("wood.jpgcc");
    EXPECT_TRUE(repeated->repeatS && repeated->repeatT);
    EXPECT_FALSE(clamped->repeatS || clamped->repeatT);
    EXPECT_NE(repeated->getTextureId(), 0u) << "loaded";
    EXPECT_EQ(actor.getSurfaces().find("A")->getTextures(), (std::vector<Texture*>{repeated}));
    EXPECT_EQ(actor.getSurfaces().find("B")->getTextures(), (std::vector<Texture*>{clamped}));
    EXPECT_EQ(actor.getSurfaces().find("C")->getTextures(), (std::vector<Texture*>{repeated}));

    // A second object of the scene takes the textures as they are, without loading the image.
    std::remove(path("wood.jpg").c_str());
    Actor second(&scene);
    ASSERT_EQ(load(object, second, "second.lwo"), "");
    EXPECT_EQ(second.getSurfaces().find("B")->getTextures(), (std::vector<Texture*>{clamped}));
    EXPECT_EQ(textures.size(), 2);
}

TEST_F(LWSurfacesTest, AMissingImageEndsTheLoadWithTheTexturesFailureNamingThePathTried)
{
    Block block;
    Actor actor(&scene);
    LogCapture log;
    std::string message = load(squareObject([&](LwoWriter& w) {
                                   clip(w, 1, "Images/missing.jpg");
                                   surface(w, "Default", RGBA(1, 1, 1, 1), {block});
                               }),
                               actor);
    // The picture is looked for by its bare name in the resource folder.
    EXPECT_EQ(message, wrapped + surfaceFailed +
                           "KelvoEngineException::::TextureException::loadTexture() - Failed to load \"missing.jpg\". "
                           "Exception: KelvoEngineException::::JPEGLoaderException::JPEGLoader() - Can't open jpeg "
                           "resource \"missing.jpg\". Failed to open the resource. File \"" +
                           temp->path() + "/missing.jpg\": file not found.");
    EXPECT_TRUE(log.contains("[error] jpegloader::JPEGLoader() - Can't open jpeg resource \"missing.jpg\"")) << log.text();
}

TEST_F(LWSurfacesTest, AnObjectNamingAMissingImageFailsTheSameWayEveryTime)
{
    // The failed texture leaves the scene's manager, so the second load tries the file again
    // instead of taking a texture that never loaded.
    Block block;
    const std::string object = squareObject([&](LwoWriter& w) {
        clip(w, 1, "Images/missing.jpg");
        surface(w, "Default", RGBA(1, 1, 1, 1), {block});
    });
    std::string first;
    for (int load_ = 0; load_ < 2; ++load_) {
        Actor actor(&scene);
        LogCapture quiet;
        const std::string message = load(object, actor);
        EXPECT_NE(message.find("TextureException::loadTexture() - Failed to load \"missing.jpg\"."), std::string::npos)
            << "load " << load_ << ": " << message;
        if (load_ == 0) {
            first = message;
        } else {
            EXPECT_EQ(message, first);
        }
        EXPECT_FALSE(scene.getTextureManager().exists("missing.jpgrr")) << "load " << load_;
        EXPECT_EQ(scene.getTextureManager().getChildAction("missing.jpgrr"), nullptr) << "load " << load_;
    }
    // Once the picture is there, the same object loads with it.
    writeJpeg(path("missing.jpg"), 8, 8, 3, solidPixels(8, 8, {0, 0, 255}));
    Actor actor(&scene);
    ASSERT_EQ(load(object, actor), "");
    LogCapture quiet;
    actor.render(0.0);
    EXPECT_TRUE(closeColour(readPixel(320, 240), {0, 0, 255})) << describe(readPixel(320, 240));
}

TEST_F(LWSurfacesTest, UVMapsOfTheBlocksMapNameGiveTheCornersTheirCoordinates)
{
    Block block;
    Actor actor(&scene);
    ASSERT_EQ(load(squareObject([&](LwoWriter& w) {
                       // Point 2 of the quad gets other coordinates where the quad meets it.
                       w.chunk("VMAD").id("TXUV").u2(2).s0("uv").vx(2).vx(0).f4(0.25f).f4(0.75f).end();
                       w.chunk("VMAP").id("TXUV").u2(2).s0("other").vx(0).f4(0.5f).f4(0.5f).end();
                       clip(w, 1, "wood.jpg");
                       surface(w, "Default", RGBA(1, 1, 1, 1), {block});
                   }),
                   actor),
              "");
    // The quad (0, 1, 2, 3) is drawn as the triangles (0, 3, 2) and (0, 2, 1); v is turned over.
    expectUV(cornerUV(actor, 0, 0), 0, 1, "triangle 0, point 0");
    expectUV(cornerUV(actor, 0, 3), 0, 0, "triangle 0, point 3");
    expectUV(cornerUV(actor, 1, 1), 1, 1, "triangle 1, point 1");
    expectUV(cornerUV(actor, 0, 2), 0.25f, 0.25f, "triangle 0, point 2 from the per-corner map");
    expectUV(cornerUV(actor, 1, 2), 0.25f, 0.25f, "triangle 1, point 2 from the per-corner map");
    EXPECT_TRUE(actor.isTextured());
}

TEST_F(LWSurfacesTest, AUVBlockWhoseMapNameMatchesNoMapChangesNoCoordinates)
{
    Block block;
    block.uvMap = "elsewhere";
    Actor actor(&scene);
    ASSERT_EQ(load(squareObject([&](LwoWriter& w) {
                       clip(w, 1, "wood.jpg");
                       surface(w, "Default", RGBA(1, 1, 1, 1), {block});
                   }),
                   actor),
              "");
    LogCapture quiet;
    actor.initializeTextureCoordinates();
    EXPECT_EQ(actor.getTextureCoordinateMap().count(), 0);
    EXPECT_EQ(actor.getSurfaces().find("Default")->getTextures().size(), 1u) << "the image is still its texture";
}

TEST_F(LWSurfacesTest, ABlockWithoutItsClipHasNoTextureButItsCoordinates)
{
    Block block;
    block.image = 7;
    Actor actor(&scene);
    ASSERT_EQ(load(squareObject([&](LwoWriter& w) {
                       clip(w, 1, "wood.jpg");
                       surface(w, "Default", RGBA(1, 1, 1, 1), {block});
                   }),
                   actor),
              "");
    EXPECT_TRUE(actor.getSurfaces().find("Default")->getTextures().empty());
    EXPECT_EQ(scene.getTextureManager().size(), 0);
    expectUV(cornerUV(actor, 1, 1), 1, 1, "triangle 1, point 1");
}

TEST_F(LWSurfacesTest, ACornerCoordinateOutsideTheActorsRangeEndsTheLoad)
{
    Block block;
    Actor actor(&scene);
    std::string message = load(squareObject([&](LwoWriter& w) {
                                   w.chunk("VMAD").id("TXUV").u2(2).s0("uv").vx(1).vx(0).f4(1.5f).f4(0.5f).end();
                                   clip(w, 1, "wood.jpg");
                                   surface(w, "Default", RGBA(1, 1, 1, 1), {block});
                               }),
                               actor);
    EXPECT_EQ(message, wrapped + surfaceFailed +
                           "KelvoEngineException::::TextureCoordinateException::setTextureCoordinates() - Texture "
                           "coordinate for triangle 1, point 1 are out of range!");
}

TEST_F(LWSurfacesTest, APlanarProjectionMapsThePointsThroughThePlacement)
{
    struct Case {
        uint16_t axis;
        Vector center, size;
        UV lowerLeft;  // of point 0 at (-1, -1, 0)
    } cases[] = {
        {2, Vector(0, 0, 0), Vector(2, 2, 2), UV(0, 0)},
        {2, Vector(1, 1, 0), Vector(4, 4, 4), UV(0, 0)},
        {2, Vector(-1, 0, 0), Vector(4, 8, 1), UV(0.5f, 0.375f)},
        {1, Vector(0, 0, 0), Vector(2, 2, 2), UV(0, 0.5f)},
    };
    for (const Case& c : cases) {
        Block planar;
        planar.projection = 0;
        planar.axis = c.axis;
        planar.center = c.center;
        planar.size = c.size;
        Actor actor(&scene);
        ASSERT_EQ(load(squareObject([&](LwoWriter& w) {
                           clip(w, 1, "wood.jpg");
                           surface(w, "Default", RGBA(1, 1, 1, 1), {planar});
                       }),
                       actor),
                  "")
            << "axis " << c.axis;
        expectUV(cornerUV(actor, 0, 0), c.lowerLeft.u, c.lowerLeft.v, "axis " + std::to_string(c.axis));
    }
}

TEST_F(LWSurfacesTest, APlanarProjectionOnlyRepeatsOrStopsAtTheEdge)
{
    const std::pair<uint16_t, uint16_t> wraps[] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 1}};
    for (const auto& wrap : wraps) {
        Block planar;
        planar.projection = 0;
        planar.widthWrap = wrap.first;
        planar.heightWrap = wrap.second;
        Actor actor(&scene);
        EXPECT_EQ(load(squareObject([&](LwoWriter& w) {
                           clip(w, 1, "wood.jpg");
                           surface(w, "Default", RGBA(1, 1, 1, 1), {planar});
                       }),
                       actor),
                  wrapped + surfaceFailed +
                      "KelvoEngineException::::LWBlokSubChunk::fillSurface() - Invalid/unsupported texture map wrapping "
                      "options for planary mapping! Please use repeat or edge wrap modes.")
            << wrap.first << ", " << wrap.second;
    }
}

TEST_F(LWSurfacesTest, ProjectionsOtherThanPlanarAndUVAreRefusedByNameBeforeTheirPictureLoads)
{
    const std::pair<uint16_t, const char*> projections[] = {
        {1, "cylindrical"}, {2, "spherical"}, {3, "cubic"}, {4, "front"}, {6, "unknown"}};
    for (const auto& projection : projections) {
        Block other;
        other.projection = projection.first;
        Actor actor(&scene);
        LogCapture log;
        const std::string text = "fillSurface() - Unsupported texture projection type. Please use either planary "
                                 "mapping, or uv coordinate mapping! Surface \"Globe\" asks for the " +
                                 std::string(projection.second) + " projection (code " +
                                 std::to_string(projection.first) + ").";
        LwoWriter w;
        w.chunk("TAGS").s0("Globe").end();
        squareLayer(w, 1, -1, -1, 1, 1, 0);
        // The picture is missing: had it been looked for, the load would fail for it instead.
        clip(w, 1, "missing.jpg");
        surface(w, "Globe", RGBA(1, 1, 1, 1), {other});
        EXPECT_EQ(load(w.file(), actor), wrapped + surfaceFailed + "KelvoEngineException::::LWBlokSubChunk::" + text)
            << projection.first;
        EXPECT_EQ(log.text(), "[error] lwbloksubchunk::LWBlokSubChunk::" + text + "\n");
        EXPECT_EQ(scene.getTextureManager().size(), 0) << projection.first;
    }
}

TEST_F(LWSurfacesTest, AnObjectDrawsItsUVMappedTexture)
{
    Block block;
    Actor actor(&scene);
    ASSERT_EQ(load(squareObject([&](LwoWriter& w) {
                       clip(w, 1, "Images\\wood.jpg");
                       surface(w, "Default", RGBA(1, 1, 1, 1), {block});
                   }),
                   actor),
              "");
    LogCapture quiet;
    actor.render(0.0);
    EXPECT_TRUE(closeColour(readPixel(320, 240), {255, 0, 0})) << describe(readPixel(320, 240));
    EXPECT_TRUE(closeColour(readPixel(20, 20), {255, 0, 0})) << describe(readPixel(20, 20));
}

TEST_F(LWSurfacesTest, EachLayerDrawsItsOwnSquareWithItsOwnSurface)
{
    LwoWriter w;
    w.chunk("TAGS").s0("Left").s0("Right").end();
    squareLayer(w, 1, -1, -1, 0, 1, 0);
    squareLayer(w, 2, 0, -1, 1, 1, 1);
    surface(w, "Left", RGBA(0, 1, 0, 1));
    surface(w, "Right", RGBA(0, 0, 1, 1));
    Actor actor(&scene);
    ASSERT_EQ(load(w.file(), actor), "");
    LogCapture quiet;
    actor.render(0.0);
    EXPECT_TRUE(closeColour(readPixel(160, 240), {0, 255, 0}, 0)) << describe(readPixel(160, 240));
    EXPECT_TRUE(closeColour(readPixel(480, 240), {0, 0, 255}, 0)) << describe(readPixel(480, 240));
}

TEST_F(LWSurfacesTest, PolygonsNoSurfaceTagNamesDrawWithADefaultSurface)
{
    // Two squares side by side; the right one tagged "Right" (blue), "Ghost" (a tag no SURF chunk
    // describes) or, without tags, none.
    struct Case {
        const char* what;
        int rightTag;  // index into TAGS, or -1 for no PTAG chunk
        Pixel right;
        int warnings;
    } cases[] = {
        {"no polygon tags", -1, {255, 255, 255}, 0},
        {"only the right square tagged", 0, {0, 0, 255}, 0},
        {"the right square tagged with a surface no SURF chunk describes", 1, {255, 255, 255}, 1},
    };
    for (const Case& c : cases) {
        LwoWriter w;
        w.chunk("TAGS").s0("Right").s0("Ghost").end();
        w.chunk("LAYR").u2(1).u2(0).vec12(0, 0, 0).s0("").end();
        w.chunk("PNTS").vec12(-1, -1, 0).vec12(0, -1, 0).vec12(0, 1, 0).vec12(-1, 1, 0);
        w.vec12(1, -1, 0).vec12(1, 1, 0).end();
        w.chunk("POLS").id("FACE").u2(4).vx(0).vx(1).vx(2).vx(3).u2(4).vx(1).vx(4).vx(5).vx(2).end();
        if (c.rightTag >= 0)
            w.chunk("PTAG").id("SURF").vx(1).u2(c.rightTag).end();
        surface(w, "Right", RGBA(0, 0, 1, 1));
        Actor actor(&scene);
        LogCapture loading;
        ASSERT_EQ(load(w.file(), actor), "") << c.what;
        EXPECT_EQ(loading.warnings(), c.warnings) << c.what << ": " << loading.text();
        if (c.warnings) {
            EXPECT_TRUE(loading.contains("polygons are tagged with the surface \"Ghost\", which no SURF chunk "
                                         "describes; they draw with a default surface."))
                << loading.text();
        }
        ASSERT_TRUE(actor.getSurfaces().exists("")) << c.what;
        glClear(GL_COLOR_BUFFER_BIT);
        LogCapture log;
        EXPECT_NO_THROW(actor.render(0.0)) << c.what;
        EXPECT_EQ(log.errors(), 0) << c.what << ": " << log.text();
        // The default surface is the material's white.
        EXPECT_TRUE(closeColour(readPixel(160, 240), {255, 255, 255}, 0)) << c.what << ": " << describe(readPixel(160, 240));
        EXPECT_TRUE(closeColour(readPixel(480, 240), c.right, 0)) << c.what << ": " << describe(readPixel(480, 240));
    }
}

TEST_F(LWSurfacesTest, AnObjectWhosePolygonsAllCarrySurfaceTagsGetsNoDefaultSurface)
{
    Actor actor(&scene);
    ASSERT_EQ(load(squareObject([](LwoWriter& w) { surface(w, "Default", RGBA(1, 0, 0, 1)); }), actor), "");
    EXPECT_FALSE(actor.getSurfaces().exists(""));
    EXPECT_EQ(actor.getSurfaces().size(), 1);
}

// A grid of two layers whose quads mix three surface tags and whose corners all have their own
// UVs: every triangle carries its polygon's tag and, at each corner, the coordinates the per-corner
// map gives that point on that polygon, as computed here from what was written. The second layer
// comes after the first surface, so its map is applied by the surfaces after it.
TEST_F(LWSurfacesTest, AGridsTrianglesCarryTheTagsAndCornerUVsOfTheirPolygons)
{
    const int side = 6;  // quads along each edge of a layer
    const int columns = side + 1;
    const char* const tags[3] = {"Grass", "Clay", "Sand"};
    const auto tagOf = [](int layer, int polygon) { return (polygon * 7 + layer) % 3; };
    // The written u, v of a point on a polygon, distinct on each side of an edge.
    const auto writtenUV = [&](int layer, int polygon, int x, int y) {
        return UV((x + 0.5f * ((polygon + layer) % 2)) / (columns + 1.0f), (y + 0.25f * layer) / (columns + 1.0f));
    };
    const auto corners = [&](int x, int y) {
        const int a = y * columns + x;
        return std::vector<int>{a, a + 1, a + 1 + columns, a + columns};
    };
    const auto writeLayer = [&](LwoWriter& w, int layer) {
        w.chunk("LAYR").u2(static_cast<uint16_t>(layer + 1)).u2(0).vec12(0, 0, 0).s0("").end();
        w.chunk("PNTS");
        for (int y = 0; y < columns; ++y)
            for (int x = 0; x < columns; ++x)
                w.vec12(static_cast<float>(x), static_cast<float>(y), static_cast<float>(layer));
        w.end();
        w.chunk("POLS").id("FACE");
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                w.u2(4);
                for (int c : corners(x, y))
                    w.vx(static_cast<uint32_t>(c));
            }
        w.end();
        // Tags in an order of their own, not by polygon.
        w.chunk("PTAG").id("SURF");
        for (int p = side * side - 1; p >= 0; --p)
            w.vx(static_cast<uint32_t>(p)).u2(static_cast<uint16_t>(tagOf(layer, p)));
        w.end();
        // Per-point coordinates the per-corner ones override everywhere.
        w.chunk("VMAP").id("TXUV").u2(2).s0("uv");
        for (int point = 0; point < columns * columns; ++point)
            w.vx(static_cast<uint32_t>(point)).f4(0.5f).f4(0.5f);
        w.end();
        w.chunk("VMAD").id("TXUV").u2(2).s0("uv");
        for (int p = 0; p < side * side; ++p)
            for (int c : corners(p % side, p / side)) {
                const UV uv = writtenUV(layer, p, c % columns, c / columns);
                w.vx(static_cast<uint32_t>(c)).vx(static_cast<uint32_t>(p)).f4(uv.u).f4(uv.v);
            }
        w.end();
    };
    LwoWriter w;
    w.chunk("TAGS").s0(tags[0]).s0(tags[1]).s0(tags[2]).end();
    clip(w, 1, "wood.jpg");
    writeLayer(w, 0);
    surface(w, tags[0], RGBA(1, 1, 1, 1), {Block()});
    writeLayer(w, 1);
    surface(w, tags[1], RGBA(1, 1, 1, 1), {Block()});
    surface(w, tags[2], RGBA(1, 1, 1, 1), {Block()});
    Actor actor(&scene);
    ASSERT_EQ(load(w.file(), actor), "");

    ASSERT_EQ(actor.getTriangleCount(), 2 * 2 * side * side);
    std::vector<int> corneredPerPolygon(2 * side * side, 0);
    for (const auto& entry : actor.getTriangles()) {
        const Triangle& triangle = entry.second;
        const int number = triangle.getPolygonIndex();
        ASSERT_GE(number, 0);
        ASSERT_LT(number, 2 * side * side);
        const int layer = number / (side * side);
        const int polygon = number % (side * side);
        SCOPED_TRACE("layer " + std::to_string(layer) + ", polygon " + std::to_string(polygon));
        EXPECT_EQ(triangle.getSurfaceName(), tags[tagOf(layer, polygon)]);
        const std::vector<int> own = corners(polygon % side, polygon / side);
        const TextureCoordinate* uvs = actor.findTriangleTextureCoordinates(entry.first);
        ASSERT_NE(uvs, nullptr);
        EXPECT_TRUE(uvs->isComplete());
        for (int corner = 0; corner < 3; ++corner) {
            // The point where the file put it (z turned over), found among the polygon's corners.
            const Vector at = actor.getPointVector(triangle.getPoint(corner));
            const int x = static_cast<int>(std::lround(at.x));
            const int y = static_cast<int>(std::lround(at.y));
            EXPECT_EQ(at.z, -static_cast<float>(layer));
            const int written = y * columns + x;
            const int slot = static_cast<int>(std::find(own.begin(), own.end(), written) - own.begin());
            ASSERT_LT(slot, 4) << "a corner off its polygon";
            corneredPerPolygon[number] |= 1 << slot;
            const UV expected = writtenUV(layer, polygon, x, y);
            const UV got = uvs->getCoordinate(triangle.getPoint(corner));
            EXPECT_EQ(got.u, expected.u);
            EXPECT_EQ(got.v, 1.0f - expected.v);
        }
    }
    // The two triangles of each quad reach all four of its corners.
    for (int number = 0; number < 2 * side * side; ++number)
        EXPECT_EQ(corneredPerPolygon[number], 0xF) << "polygon number " << number;
}
