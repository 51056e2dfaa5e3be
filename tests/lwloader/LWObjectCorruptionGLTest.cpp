#include <gtest/gtest.h>

#include <GL/gl.h>

#include <string>

#include "Actor.h"
#include "Environment.h"
#include "Exception.h"
#include "GLEnvironment.h"
#include "JpegWriter.h"
#include "Log.h"
#include "LwoWriter.h"
#include "ResourceLoader.h"
#include "TestSupport.h"
#include "lwloader/LWLoader.h"
#include "lwloader/LWLoaderException.h"

// A small object using every chunk the loader reads, loaded into an actor and drawn whole, cut
// short at every byte and with flipped bytes: each copy loads and draws, or fails with the
// loader's exception (drawing with an engine exception), never worse.
namespace {
std::string smallObject()
{
    LwoWriter w;
    w.chunk("TAGS").s0("Skin").s0("upper").s0("lower").s0("Wood").end();
    // The mesh: two quads side by side, weighted to two bones, with UVs per point and per corner.
    w.chunk("LAYR").u2(1).u2(0).vec12(0, 0, 0).s0("body").end();
    w.chunk("PNTS").vec12(-1, -1, 0).vec12(0, -1, 0).vec12(0, 1, 0).vec12(-1, 1, 0).vec12(1, -1, 0).vec12(1, 1, 0).end();
    w.chunk("VMAP").id("TXUV").u2(2).s0("uv").vx(0).f4(0).f4(0).vx(1).f4(0.5f).f4(0).vx(2).f4(0.5f).f4(1).vx(3).f4(0).f4(1)
        .vx(4).f4(1).f4(0).vx(5).f4(1).f4(1).end();
    w.chunk("VMAP").id("WGHT").u2(1).s0("upper").vx(0).f4(1).vx(1).f4(0.5f).vx(2).f4(0.5f).vx(3).f4(1).end();
    w.chunk("VMAP").id("WGHT").u2(1).s0("lower").vx(1).f4(0.5f).vx(4).f4(1).vx(5).f4(1).end();
    w.chunk("POLS").id("FACE").u2(4).vx(0).vx(1).vx(2).vx(3).u2(4).vx(1).vx(4).vx(5).vx(2).end();
    w.chunk("PTAG").id("SURF").vx(0).u2(0).vx(1).u2(3).end();
    w.chunk("VMAD").id("TXUV").u2(2).s0("uv").vx(1).vx(1).f4(0.5f).f4(0.5f).end();
    // The skeleton.
    w.chunk("LAYR").u2(2).u2(0).vec12(0, 0, 0).s0("bones").u2(1).end();
    w.chunk("PNTS").vec12(-1, 0, 0).vec12(0, 0, 0).vec12(1, 0, 0).end();
    w.chunk("POLS").id("BONE").u2(2).vx(0).vx(1).u2(2).vx(1).vx(2).end();
    w.chunk("PTAG").id("BNWT").vx(0).u2(1).vx(1).u2(2).end();
    // An image mapped by the UVs, and one projected onto a plane.
    w.chunk("CLIP").u4(1).subChunk("STIL").s0("Images/wood.jpg").end().end();
    w.chunk("SURF").s0("Skin").s0("");
    w.subChunk("COLR").vec12(1, 1, 1).vx(0).end().subChunk("DIFF").f4(1).vx(0).end();
    w.subChunk("BLOK");
    w.subChunk("IMAP").s0("\x80").subChunk("CHAN").id("COLR").end().subChunk("ENAB").u2(1).end().end();
    w.subChunk("TMAP").subChunk("CNTR").vec12(0, 0, 0).vx(0).end().subChunk("SIZE").vec12(1, 1, 1).vx(0).end().end();
    w.subChunk("PROJ").u2(5).end().subChunk("IMAG").vx(1).end().subChunk("WRAP").u2(1).u2(1).end();
    w.subChunk("VMAP").s0("uv").end();
    w.end();
    w.end();
    w.chunk("SURF").s0("Wood").s0("");
    w.subChunk("COLR").vec12(1, 0.5f, 0.5f).vx(0).end();
    w.subChunk("BLOK");
    w.subChunk("IMAP").s0("\x80").end();
    w.subChunk("TMAP").subChunk("CNTR").vec12(0.5f, 0, 0).vx(0).end().subChunk("SIZE").vec12(1, 2, 1).vx(0).end().end();
    w.subChunk("PROJ").u2(0).end().subChunk("AXIS").u2(2).end().subChunk("IMAG").vx(1).end();
    w.subChunk("WRAP").u2(3).u2(3).end();
    w.end();
    w.end();
    return w.file();
}

class LWObjectCorruptionTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath(temp->path() + "/");
        drainGLErrors();
        writeJpeg(path("wood.jpg"), 8, 8, 3, solidPixels(8, 8, {200, 120, 40}));
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-2, 2, -2, 2, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_TEXTURE_2D);
    }
    void TearDown() override
    {
        glDisable(GL_TEXTURE_2D);
        drainGLErrors();
        ResourceLoader::setResourcePath("");
        TempDirTest::TearDown();
    }

    // "" when the bytes load and draw; the loader's message when they fail to load; "drawn: "
    // and the engine's message when the loaded actor fails to draw. Anything else fails the test.
    std::string loadAndDraw(const std::string& bytes)
    {
        writeFile("object.lwo", bytes);
        Environment scene;
        scene.setLightingEnabled(false);
        Actor actor(&scene);
        try {
            LWLoader loader(&actor, &scene);
            loader.loadObject("object.lwo");
            loader.fillObject(&actor);
        } catch (const LWLoaderException& e) {
            return e.getMessage();
        } catch (...) {
            ADD_FAILURE() << "an exception that is not the loader's";
            return "?";
        }
        try {
            actor.render(0.0);
        } catch (const Exception& e) {
            return "drawn: " + e.getMessage();
        } catch (...) {
            ADD_FAILURE() << "drawing threw what the engine does not";
            return "?";
        }
        return "";
    }
};
}

TEST_F(LWObjectCorruptionTest, TheSmallObjectLoadsAndDraws)
{
    LogCapture quiet;
    EXPECT_EQ(loadAndDraw(smallObject()), "");
    EXPECT_EQ(quiet.warnings(), 0) << quiet.text();
}

TEST_F(LWObjectCorruptionTest, EveryTruncatedPrefixFailsWithTheLoadersException)
{
    LogCapture quiet;
    Log::getInstance()->setLevel(-1);
    const std::string file = smallObject();
    for (size_t length = 0; length < file.size(); ++length) {
        std::string message = loadAndDraw(file.substr(0, length));
        EXPECT_EQ(message.rfind("KelvoEngineException::::LWLoader::", 0), 0u) << length << " bytes: " << message;
    }
}

TEST_F(LWObjectCorruptionTest, AnyFlippedByteLoadsOrFailsWithAnEngineException)
{
    LogCapture quiet;
    Log::getInstance()->setLevel(-1);
    const std::string file = smallObject();
    int loaded = 0;
    for (size_t at = 0; at < file.size(); ++at) {
        for (uint8_t mask : {0x01, 0x40, 0xFF}) {
            std::string flipped = file;
            flipped[at] = static_cast<char>(flipped[at] ^ mask);
            if (loadAndDraw(flipped).empty())
                ++loaded;
        }
    }
    EXPECT_GT(loaded, 0) << "some flips only change values";
}
