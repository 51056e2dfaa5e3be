#include "lwloader/LWLoader.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "Log.h"
#include "LwoWriter.h"
#include "ResourceLoader.h"
#include "TestSupport.h"
#include "lwloader/LWChunk.h"
#include "lwloader/LWLoaderException.h"
#include "lwloader/LWReader.h"

namespace {
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

// A small object as LightWave lays one out: a layer with its points, polygons and surface tags,
// a clip and a surface with a texture block.
std::string smallObject()
{
    LwoWriter w;
    w.chunk("TAGS").s0("Default").s0("Skin").end();
    w.chunk("LAYR").u2(0).u2(0).vec12(0, 0, 0).s0("body").end();
    w.chunk("PNTS").vec12(0, 0, 0).vec12(1, 0, 0).vec12(1, 1, 0).vec12(0, 1, 0).end();
    w.chunk("BBOX").vec12(0, 0, 0).vec12(1, 1, 0).end();
    w.chunk("VMAP").id("TXUV").u2(2).s0("uv").vx(0).f4(0).f4(0).vx(2).f4(1).f4(1).end();
    w.chunk("POLS").id("FACE").u2(4).vx(0).vx(1).vx(2).vx(3).end();
    w.chunk("PTAG").id("SURF").vx(0).u2(0).end();
    w.chunk("CLIP").u4(1).subChunk("STIL").s0("Images/wood.jpg").end().end();
    w.chunk("SURF").s0("Default").s0("");
    w.subChunk("COLR").vec12(0.5f, 0.5f, 1).vx(0).end();
    w.subChunk("DIFF").f4(0.8f).vx(0).end();
    w.subChunk("BLOK");
    w.subChunk("IMAP").s0("\x80").subChunk("CHAN").id("COLR").end().end();
    w.subChunk("TMAP").subChunk("CNTR").vec12(0, 0, 0).vx(0).end().end();
    w.subChunk("PROJ").u2(5).end();
    w.subChunk("IMAG").vx(1).end();
    w.subChunk("VMAP").s0("uv").end();
    w.end();
    w.end();
    return w.file();
}

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

class LWLoaderCorruptionTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath("");
    }

    // "" when the file loads, the message when it fails with the loader's exception, and a test
    // failure for anything else (which a crash would be too).
    template <typename Loader>
    std::string load(const std::string& bytes)
    {
        writeFile("object.lwo", bytes);
        Loader loader;
        try {
            loader.loadObject("object.lwo");
        } catch (const LWLoaderException& e) {
            return e.getMessage();
        } catch (...) {
            ADD_FAILURE() << "an exception that is not the loader's";
            return "?";
        }
        return "";
    }
};

class PlainLoader : public LWLoader {
public:
    PlainLoader() : LWLoader(nullptr, nullptr) {}
};
}

TEST_F(LWLoaderCorruptionTest, TheSmallFilesLoad)
{
    EXPECT_EQ(load<PlainLoader>(smallObject()), "");
    EXPECT_EQ(load<PlainLoader>(indexObject()), "");
    EXPECT_EQ(load<IndexLoader>(indexObject()), "");
}

TEST_F(LWLoaderCorruptionTest, EveryTruncatedPrefixFailsWithTheLoadersException)
{
    LogCapture quiet;
    Log::getInstance()->setLevel(-1);
    const std::string small = smallObject();
    for (size_t length = 0; length < small.size(); ++length)
        EXPECT_NE(load<PlainLoader>(small.substr(0, length)), "") << "prefix of " << length << " bytes";
    EXPECT_EQ(load<PlainLoader>(small), "") << "the same name loads whole after every failure";

    const std::string index = indexObject();
    for (size_t length = 0; length < index.size(); ++length) {
        EXPECT_NE(load<PlainLoader>(index.substr(0, length)), "") << "prefix of " << length << " bytes";
        EXPECT_NE(load<IndexLoader>(index.substr(0, length)), "") << "prefix of " << length << " bytes";
    }
    EXPECT_EQ(load<IndexLoader>(index), "");
}

TEST_F(LWLoaderCorruptionTest, FlippedFramingBytesFailWithTheLoadersException)
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
    Log::getInstance()->setLevel(-1);
    const std::string file = indexObject();
    for (const Case& c : cases) {
        std::string flipped = file;
        flipped[c.at] = static_cast<char>(c.value);
        std::string message = load<IndexLoader>(flipped);
        EXPECT_EQ(message.find(std::string("KelvoEngineException::::LWLoader::") + c.message), 0u)
            << c.name << ": " << message;
    }
}

TEST_F(LWLoaderCorruptionTest, AnyFlippedByteLoadsOrFailsWithTheLoadersException)
{
    LogCapture quiet;
    Log::getInstance()->setLevel(-1);
    const std::string small = smallObject();
    const std::string index = indexObject();
    for (const std::string* file : {&small, &index}) {
        for (size_t at = 0; at < file->size(); ++at) {
            for (uint8_t mask : {0x01, 0x80, 0xFF}) {
                std::string flipped = *file;
                flipped[at] = static_cast<char>(flipped[at] ^ mask);
                load<PlainLoader>(flipped);
                if (file == &index)
                    load<IndexLoader>(flipped);
            }
        }
    }
}
