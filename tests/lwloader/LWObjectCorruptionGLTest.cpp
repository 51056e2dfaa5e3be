#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Actor.h"
#include "Environment.h"
#include "Exception.h"
#include "GLEnvironment.h"
#include "JpegWriter.h"
#include "Log.h"
#include "LwoWriter.h"
#include "ResourceLoader.h"
#include "TestSupport.h"
#include "lwloader/LWChunk.h"
#include "lwloader/LWLoader.h"
#include "lwloader/LWLoaderException.h"
#include "lwloader/LWReader.h"

// A small object using every chunk the loader reads, loaded into an actor and drawn whole, cut
// short at every byte and with flipped bytes: each copy loads and draws, or fails with the
// loader's exception (drawing with an engine exception), never worse, and a failed read leaves
// nothing behind. The chunk framing is swept the same way with made-up chunks that parse their
// bodies.
namespace {
const std::string loaderFailure = "KelvoEngineException::::LWLoader::";

bool isLoaderFailure(const std::string& message)
{
    return message.rfind(loaderFailure, 0) == 0;
}

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

// A made-up chunk kind that parses its body: U2 count, then count VX indices, each checked
// against the count, then an S0 name.
class IndexChunk : public LWChunk {
public:
    explicit IndexChunk(int id) : LWChunk(id) {}

    int64_t readData(LWReader& reader) override
    {
        uint16_t count;
        if (reader.readU2(count) != 2)
            return READ_FAILED;
        if (!reader.hasRoomFor(count, 2))
            return READ_FAILED;
        int64_t consumed = 2;
        indices.resize(count);
        for (uint32_t& index : indices) {
            int64_t bytes = reader.readVX(index);
            if (bytes == 0)
                return READ_FAILED;
            if (index >= count) {
                reader.fail("index " + std::to_string(index) + " beyond " + std::to_string(count));
                return READ_FAILED;
            }
            consumed += bytes;
        }
        int64_t bytes = reader.readS0(name);
        if (bytes == 0)
            return READ_FAILED;
        return consumed + bytes;
    }

    void fillObject(Actor*, LWLoader*) override {}

private:
    std::vector<uint32_t> indices;
    std::string name;
};

// Reads PNTS and TAGS chunks as index chunks; only reads, never fills an actor.
class IndexLoader : public LWLoader {
public:
    IndexLoader() : LWLoader(nullptr, nullptr) {}

protected:
    std::unique_ptr<LWChunk> createChunk(int number) const override
    {
        if (number == ID_PNTS || number == ID_TAGS)
            return std::make_unique<IndexChunk>(number);
        return LWLoader::createChunk(number);
    }
};

// The loader's own chunk kinds; only reads, never fills an actor.
class PlainLoader : public LWLoader {
public:
    PlainLoader() : LWLoader(nullptr, nullptr) {}
};

// Made-up chunks that parse their bodies, between skipped ones of odd sizes.
std::string indexObject()
{
    LwoWriter w;
    w.chunk("PNTS").u2(3).vx(2).vx4(0).vx(1).s0("abc").end();
    w.chunk("DESC").raw("odd").end();
    w.chunk("TAGS").u2(2).vx(1).vx(0).s0("").end();
    w.chunk("ICON").raw("x").end();
    w.chunk("PNTS").u2(1).vx(0).s0("named").end();
    return w.file();
}

// The chunks a loader holds of every top-level kind it reads, kind by kind.
std::vector<LWChunk*> heldChunks(LWLoader& loader)
{
    using C = LWLoaderComponent;
    std::vector<LWChunk*> held;
    for (int id : {C::ID_PNTS, C::ID_POLS, C::ID_TAGS, C::ID_LAYR, C::ID_PTAG, C::ID_VMAP, C::ID_CLIP, C::ID_SURF,
                   C::ID_VMAD}) {
        const std::vector<LWChunk*> kind = loader.findChunks(id, false);
        held.insert(held.end(), kind.begin(), kind.end());
    }
    return held;
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

    // "" when the bytes read into a Loader's chunk list, the message when the read fails with the
    // loader's exception, and a test failure for anything else.
    template <typename Loader>
    std::string read(const std::string& bytes)
    {
        writeFile("object.lwo", bytes);
        Loader loader;
        return readInto(loader, "object.lwo");
    }

    // The same for bytes read by a Loader that first read whole as another file: a failed read
    // must leave it holding the very chunks it read of whole, and whole's name as its file.
    template <typename Loader>
    std::string readAfter(const std::string& whole, const std::string& bytes)
    {
        writeFile("whole.lwo", whole);
        writeFile("object.lwo", bytes);
        Loader loader;
        EXPECT_EQ(readInto(loader, "whole.lwo"), "");
        const std::vector<LWChunk*> before = heldChunks(loader);
        EXPECT_FALSE(before.empty());
        const std::string message = readInto(loader, "object.lwo");
        if (!message.empty()) {
            EXPECT_EQ(heldChunks(loader), before) << "a failed read changed the chunks held: " << message;
            EXPECT_EQ(loader.getFileName(), "whole.lwo") << message;
        }
        return message;
    }

private:
    static std::string readInto(LWLoader& loader, const std::string& name)
    {
        try {
            loader.loadObject(name);
        } catch (const LWLoaderException& e) {
            return e.getMessage();
        } catch (...) {
            ADD_FAILURE() << "an exception that is not the loader's";
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

TEST_F(LWObjectCorruptionTest, TheIndexObjectReadsWithTheLoadersChunksAndWithIndexChunks)
{
    EXPECT_EQ(read<PlainLoader>(indexObject()), "");
    EXPECT_EQ(read<IndexLoader>(indexObject()), "");
}

TEST_F(LWObjectCorruptionTest, EveryTruncatedPrefixFailsWithTheLoadersException)
{
    LogCapture quiet;
    Log::getInstance()->setLevel(LogLevel::none);
    const std::string file = smallObject();
    for (size_t length = 0; length < file.size(); ++length) {
        std::string message = loadAndDraw(file.substr(0, length));
        EXPECT_TRUE(isLoaderFailure(message)) << length << " bytes: " << message;
    }
    EXPECT_EQ(loadAndDraw(file), "") << "the same name loads whole after every failure";

    const std::string index = indexObject();
    for (size_t length = 0; length < index.size(); ++length) {
        const std::string prefix = index.substr(0, length);
        EXPECT_TRUE(isLoaderFailure(read<PlainLoader>(prefix))) << "prefix of " << length << " bytes";
        EXPECT_TRUE(isLoaderFailure(read<IndexLoader>(prefix))) << "prefix of " << length << " bytes";
    }
    EXPECT_EQ(read<IndexLoader>(index), "");
}

TEST_F(LWObjectCorruptionTest, FlippedFramingBytesFailWithTheLoadersException)
{
    struct Case {
        const char* name;
        size_t at;
        uint8_t value;
        const char* message;
    } cases[] = {
        {"FORM", 0, 'X', "Unknown file format."},
        {"form length", 4, 0x80, "LWLoader::readChunks() - Bytecount"},
        {"form type", 11, '3', "Unknown file format."},
        {"identifier ends the reading", 12, 0xFF, "LWLoader::readChunks() - Bytecount"},
        {"chunk size", 16, 0x7F, "Corrupted file."},
        {"chunk size", 19, 0xFF, "Corrupted file."},
        {"value count", 20, 0x80, "Corrupted file."},
        {"index out of range", 23, 0x07, "Corrupted file."},
        {"short index read as a long one", 22, 0xFF, "Corrupted file."},
        {"name without its terminator", 33, 'x', "Corrupted file."},
    };
    LogCapture quiet;
    Log::getInstance()->setLevel(LogLevel::none);
    const std::string file = indexObject();
    for (const Case& c : cases) {
        std::string flipped = file;
        flipped[c.at] = static_cast<char>(c.value);
        std::string message = read<IndexLoader>(flipped);
        EXPECT_EQ(message.find(loaderFailure + c.message), 0u) << c.name << ": " << message;
    }
}

TEST_F(LWObjectCorruptionTest, AnyFlippedByteLoadsOrFailsWithTheLoadersExceptionLeavingNothingBehind)
{
    LogCapture quiet;
    Log::getInstance()->setLevel(LogLevel::none);
    const std::string small = smallObject();
    const std::string index = indexObject();
    int loaded = 0;
    int failed = 0;
    for (size_t at = 0; at < small.size(); ++at) {
        for (uint8_t mask : {0x01, 0x40, 0xFF}) {
            std::string flipped = small;
            flipped[at] = static_cast<char>(flipped[at] ^ mask);
            const std::string message = loadAndDraw(flipped);
            if (message.empty())
                ++loaded;
            else
                ++failed;
            EXPECT_TRUE(message.empty() || isLoaderFailure(message) ||
                        message.rfind("drawn: KelvoEngineException::", 0) == 0)
                << "byte " << at << " ^ " << int(mask) << ": " << message;
            const std::string read = readAfter<PlainLoader>(small, flipped);
            EXPECT_TRUE(read.empty() || isLoaderFailure(read)) << "byte " << at << " ^ " << int(mask) << ": " << read;
        }
    }
    EXPECT_GT(loaded, 0) << "some flips only change values";
    EXPECT_GT(failed, 0) << "some flips break the framing";

    for (size_t at = 0; at < index.size(); ++at) {
        for (uint8_t mask : {0x01, 0x80, 0xFF}) {
            std::string flipped = index;
            flipped[at] = static_cast<char>(flipped[at] ^ mask);
            for (const std::string& message : {readAfter<PlainLoader>(index, flipped), readAfter<IndexLoader>(index, flipped)})
                EXPECT_TRUE(message.empty() || isLoaderFailure(message))
                    << "byte " << at << " ^ " << int(mask) << ": " << message;
        }
    }
    EXPECT_EQ(loadAndDraw(small), "") << "the file is released after every failure";
}
