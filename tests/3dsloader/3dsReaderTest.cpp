#include "3dsReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "3dsLoaderException.h"
#include "ThreeDSWriter.h"

namespace {
_3dsReader readerOf(const std::string& bytes)
{
    return _3dsReader("scene.3ds", std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

std::string bytesOf(std::initializer_list<int> values)
{
    std::string bytes;
    for (int value : values)
        bytes.push_back(static_cast<char>(value));
    return bytes;
}

// The loader's message for a read that fails, "" when it does not.
template <typename Read> std::string failure(Read read)
{
    try {
        read();
    } catch (const _3dsLoaderException& e) {
        return e.getMessage();
    }
    return "";
}
}

TEST(ThreeDSReaderTest, IntegersAreLittleEndian)
{
    struct Case {
        std::string bytes;
        char type;  // '1' U8, '2' U16, 's' S16, '4' U32
        int64_t value;
    } cases[] = {
        {bytesOf({0xAB}), '1', 0xAB},
        {bytesOf({0x34, 0x12}), '2', 0x1234},
        {bytesOf({0xFE, 0xFF}), '2', 65534},
        {bytesOf({0xFE, 0xFF}), 's', -2},
        {bytesOf({0x00, 0x80}), 's', -32768},
        {bytesOf({0x04, 0x03, 0x02, 0x01}), '4', 0x01020304},
        {bytesOf({0xFE, 0xFF, 0xFF, 0xFF}), '4', 4294967294LL},
    };
    for (const Case& c : cases) {
        _3dsReader reader = readerOf(c.bytes + "tail");
        int64_t value = 0;
        switch (c.type) {
        case '1': value = reader.readU8(); break;
        case '2': value = reader.readU16(); break;
        case 's': value = reader.readS16(); break;
        case '4': value = reader.readU32(); break;
        }
        EXPECT_EQ(value, c.value) << c.type;
        EXPECT_EQ(reader.getPosition(), c.bytes.size()) << c.type;
    }
}

TEST(ThreeDSReaderTest, FloatsAndVectorsAreSinglesInTheByteOrderOfU32)
{
    ThreeDSWriter w;
    w.f32(1.5f).vec(-2.0f, 0.25f, 1e-3f).f32(std::nanf(""));
    _3dsReader reader = readerOf(w.bytes());
    EXPECT_EQ(reader.readFloat(), 1.5f);
    const Vector v = reader.readVector();
    EXPECT_EQ(v.x, -2.0f);
    EXPECT_EQ(v.y, 0.25f);
    EXPECT_EQ(v.z, 1e-3f);
    EXPECT_TRUE(std::isnan(reader.readFloat()));
    EXPECT_EQ(reader.remaining(), 0u);
}

TEST(ThreeDSReaderTest, StringsEndAtTheirTerminatorWithinTheChunk)
{
    _3dsReader reader = readerOf(std::string("Box01\0\0next", 12));
    EXPECT_EQ(reader.readString(), "Box01");
    EXPECT_EQ(reader.getPosition(), 6u);
    EXPECT_EQ(reader.readString(), "");
    EXPECT_EQ(reader.getPosition(), 7u);

    // The terminator lies beyond the chunk entered: the string has none.
    _3dsReader bounded = readerOf(std::string("abcdef\0", 7));
    bounded.enter(4);
    EXPECT_NE(failure([&] { bounded.readString(); }).find("has no terminator before the end of its chunk"),
              std::string::npos);
    EXPECT_EQ(bounded.getPosition(), 0u);
}

TEST(ThreeDSReaderTest, AValueThatDoesNotFitConsumesNothingAndNamesTheFileAndTheByte)
{
    _3dsReader reader = readerOf(bytesOf({1, 2, 3, 4, 5, 6, 7}));
    reader.readU16();
    reader.enter(5);
    EXPECT_EQ(failure([&] { reader.readU32(); }),
              "KelvoEngineException::::3dsLoaderException::read3ds() - Read error. Scene file may be corrupted. File "
              "\"scene.3ds\": a U32 at byte 2 needs 4 bytes where 3 remain in its chunk.");
    EXPECT_EQ(reader.getPosition(), 2u);
    EXPECT_NE(failure([&] { reader.readVector(); }), "");
    EXPECT_NE(failure([&] { reader.readFloat(); }), "");
    EXPECT_EQ(reader.readU16(), 0x0403);
    EXPECT_EQ(reader.readU8(), 5);
    EXPECT_NE(failure([&] { reader.readU8(); }), "");
    reader.leave();
    EXPECT_EQ(reader.readU16(), 0x0706);
}

TEST(ThreeDSReaderTest, QuietReadsReportAShortValueWithoutConsumingIt)
{
    _3dsReader reader = readerOf(bytesOf({1, 0, 2}));
    uint16_t word = 0;
    uint32_t dword = 0;
    float value = 0.0f;
    EXPECT_TRUE(reader.tryReadU16(word));
    EXPECT_EQ(word, 1);
    EXPECT_FALSE(reader.tryReadU32(dword));
    EXPECT_FALSE(reader.tryReadFloat(value));
    EXPECT_FALSE(reader.tryReadU16(word));
    EXPECT_EQ(reader.getPosition(), 2u);
    EXPECT_EQ(reader.readU8(), 2);
}

TEST(ThreeDSReaderTest, ChunksNestAndLeavingMovesToTheChunksEnd)
{
    _3dsReader reader = readerOf(std::string(10, 'x'));
    reader.enter(8);
    reader.readU8();
    reader.enter(4);
    EXPECT_EQ(reader.remaining(), 3u);
    EXPECT_TRUE(reader.hasRoomFor(3, 1));
    EXPECT_FALSE(reader.hasRoomFor(2, 2));
    EXPECT_FALSE(reader.hasRoomFor(0x4000000000000000ull, 4)) << "the product does not wrap";
    reader.leave();
    EXPECT_EQ(reader.getPosition(), 4u);
    EXPECT_EQ(reader.getEnd(), 8u);
    reader.leave();
    EXPECT_EQ(reader.getPosition(), 8u);
    EXPECT_EQ(reader.getEnd(), 10u);
}

TEST(ThreeDSReaderTest, AChunkOrASeekBeyondItsParentFails)
{
    _3dsReader reader = readerOf(std::string(10, 'x'));
    reader.enter(6);
    EXPECT_NE(failure([&] { reader.enter(7); }).find("reaches beyond its parent, which ends at byte 6"),
              std::string::npos);
    EXPECT_NE(failure([&] { reader.seek(7); }).find("passes the end of its chunk at byte 6"), std::string::npos);
    reader.seek(6);
    EXPECT_EQ(reader.remaining(), 0u);
}
