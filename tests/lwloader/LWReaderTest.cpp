#include "lwloader/LWReader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "LwoWriter.h"

namespace {
LWReader readerOf(const std::string& bytes)
{
    return LWReader("object.lwo", std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

std::string bytesOf(std::initializer_list<int> values)
{
    std::string bytes;
    for (int value : values)
        bytes.push_back(static_cast<char>(value));
    return bytes;
}
}

TEST(LWReaderTest, IntegersAreBigEndian)
{
    struct Case {
        std::string bytes;
        char type;  // '1' U1, '2' U2, 'i' I2, '4' U4
        int64_t value;
    } cases[] = {
        {bytesOf({0xAB}), '1', 0xAB},
        {bytesOf({0x12, 0x34}), '2', 0x1234},
        {bytesOf({0xFF, 0xFE}), '2', 65534},
        {bytesOf({0xFF, 0xFE}), 'i', -2},
        {bytesOf({0x7F, 0xFF}), 'i', 32767},
        {bytesOf({0x80, 0x00}), 'i', -32768},
        {bytesOf({0x01, 0x02, 0x03, 0x04}), '4', 0x01020304},
        {bytesOf({0xFF, 0xFF, 0xFF, 0xFE}), '4', 4294967294LL},
    };
    for (const Case& c : cases) {
        LWReader reader = readerOf(c.bytes + "tail");
        int64_t value = 0;
        int64_t count = 0;
        switch (c.type) {
        case '1': { uint8_t v; count = reader.readU1(v); value = v; break; }
        case '2': { uint16_t v; count = reader.readU2(v); value = v; break; }
        case 'i': { int16_t v; count = reader.readI2(v); value = v; break; }
        case '4': { uint32_t v; count = reader.readU4(v); value = v; break; }
        }
        EXPECT_EQ(count, static_cast<int64_t>(c.bytes.size())) << c.type;
        EXPECT_EQ(value, c.value) << c.type;
        EXPECT_EQ(reader.getPosition(), c.bytes.size());
        EXPECT_FALSE(reader.failed());
    }
}

TEST(LWReaderTest, FloatsAreSinglesInTheByteOrderOfU4)
{
    LWReader reader = readerOf(bytesOf({0x3F, 0x80, 0x00, 0x00, 0xC0, 0x20, 0x00, 0x00}) +
                               LwoWriter().f4(0.1f).vec12(1.5f, -2.0f, 3.25f).vec12(4, 5, 6).body());
    float one, minusTwoAndHalf, tenth;
    EXPECT_EQ(reader.readF4(one), 4);
    EXPECT_EQ(reader.readF4(minusTwoAndHalf), 4);
    EXPECT_EQ(reader.readF4(tenth), 4);
    EXPECT_EQ(one, 1.0f);
    EXPECT_EQ(minusTwoAndHalf, -2.5f);
    EXPECT_EQ(tenth, 0.1f);
    float vectors[6];
    EXPECT_EQ(reader.readVEC12(vectors, 2), 24);
    EXPECT_EQ(std::vector<float>(vectors, vectors + 6), (std::vector<float>{1.5f, -2.0f, 3.25f, 4, 5, 6}));
    EXPECT_EQ(reader.remaining(), 0u);
}

TEST(LWReaderTest, ArraysReadEveryValueOrNone)
{
    LWReader reader = readerOf(LwoWriter().u2(1).u2(2).u2(3).u4(70000).u4(5).u2(9).body());
    uint16_t shorts[3];
    uint32_t longs[2];
    EXPECT_EQ(reader.readU2(shorts, 3), 6);
    EXPECT_EQ(reader.readU4(longs, 2), 8);
    EXPECT_EQ(std::vector<uint16_t>(shorts, shorts + 3), (std::vector<uint16_t>{1, 2, 3}));
    EXPECT_EQ(std::vector<uint32_t>(longs, longs + 2), (std::vector<uint32_t>{70000, 5}));

    // Two values asked, one there: nothing consumed.
    EXPECT_EQ(reader.readU2(shorts, 2), 0);
    EXPECT_EQ(reader.remaining(), 2u);
    EXPECT_TRUE(reader.failed());
}

TEST(LWReaderTest, IndicesTakeTwoBytesOrFourAfter0xFF)
{
    struct Case {
        std::string bytes;
        uint32_t index;
    } cases[] = {
        {bytesOf({0x00, 0x05}), 5},
        {bytesOf({0xFE, 0xFF}), 65279},
        {bytesOf({0xFF, 0x01, 0x02, 0x03}), 66051},
        {bytesOf({0xFF, 0x00, 0x00, 0x05}), 5},
        {bytesOf({0xFF, 0xFF, 0xFF, 0xFF}), 0xFFFFFF},
    };
    for (const Case& c : cases) {
        LWReader reader = readerOf(c.bytes + bytesOf({0x12, 0x34}));
        uint32_t index = 0;
        EXPECT_EQ(reader.readVX(index), static_cast<int64_t>(c.bytes.size()));
        EXPECT_EQ(index, c.index);
        uint16_t next;
        reader.readU2(next);
        EXPECT_EQ(next, 0x1234) << "what follows the index is read from the right place";
    }
}

TEST(LWReaderTest, StringsEndWithTheirTerminatorAndAPadToAnEvenCount)
{
    struct Case {
        std::string bytes;
        std::string text;
        int64_t count;
    } cases[] = {
        {std::string("abc\0", 4), "abc", 4},
        {std::string("ab\0\0", 4), "ab", 4},
        {std::string("a\0", 2), "a", 2},
        {std::string("\0\0", 2), "", 2},
        {std::string("abcd\0\0", 6), "abcd", 6},
        {std::string("Default\0", 8), "Default", 8},
    };
    for (const Case& c : cases) {
        LWReader reader = readerOf(c.bytes + "\x12\x34");
        std::string text = "old";
        EXPECT_EQ(reader.readS0(text), c.count) << c.text;
        EXPECT_EQ(text, c.text);
        uint16_t next;
        EXPECT_EQ(reader.readU2(next), 2);
        EXPECT_EQ(next, 0x1234) << "what follows \"" << c.text << "\" is read from the right place";
    }
}

TEST(LWReaderTest, AStringWithoutItsPadByteAtTheEndOfItsBodyIsKept)
{
    LWReader reader = readerOf(std::string("ab\0", 3));
    std::string text;
    EXPECT_EQ(reader.readS0(text), 3);
    EXPECT_EQ(text, "ab");
    EXPECT_FALSE(reader.failed());
}

TEST(LWReaderTest, AShortReadConsumesNothingFailsAndEveryLaterReadFails)
{
    struct Case {
        const char* name;
        std::string bytes;
        int64_t (*read)(LWReader&);
    } cases[] = {
        {"U1", "", [](LWReader& r) { uint8_t v; return r.readU1(v); }},
        {"U2", "\x01", [](LWReader& r) { uint16_t v; return r.readU2(v); }},
        {"I2", "\x01", [](LWReader& r) { int16_t v; return r.readI2(v); }},
        {"U4", "\x01\x02\x03", [](LWReader& r) { uint32_t v; return r.readU4(v); }},
        {"F4", "\x01\x02\x03", [](LWReader& r) { float v; return r.readF4(v); }},
        {"VEC12", std::string(11, 'x'), [](LWReader& r) { float v[3]; return r.readVEC12(v, 1); }},
        {"short VX", "\x01", [](LWReader& r) { uint32_t v; return r.readVX(v); }},
        {"long VX", "\xFF\x01\x02", [](LWReader& r) { uint32_t v; return r.readVX(v); }},
        {"S0", "abc", [](LWReader& r) { std::string v; return r.readS0(v); }},
        {"bytes", "abc", [](LWReader& r) { uint8_t v[4]; return r.readBytes(v, 4); }},
        {"skip", "abc", [](LWReader& r) { return r.skip(4); }},
    };
    for (const Case& c : cases) {
        LWReader reader = readerOf(c.bytes);
        EXPECT_EQ(c.read(reader), 0) << c.name;
        EXPECT_EQ(reader.getPosition(), 0u) << c.name;
        EXPECT_TRUE(reader.failed()) << c.name;
        EXPECT_NE(reader.getFailure().find("at byte 0"), std::string::npos) << reader.getFailure();
        uint8_t byte;
        EXPECT_EQ(reader.readU1(byte), 0) << c.name << ": a failed reader stays failed";
    }
}

TEST(LWReaderTest, CountsAreCheckedWithoutOverflow)
{
    LWReader reader = readerOf(std::string(12, 'x'));
    EXPECT_TRUE(reader.hasRoomFor(3, 4));
    EXPECT_TRUE(reader.hasRoomFor(1, 12));
    EXPECT_TRUE(reader.hasRoomFor(0, 12));
    EXPECT_FALSE(reader.hasRoomFor(4, 4));
    EXPECT_FALSE(reader.hasRoomFor(uint64_t(1) << 62, 8)) << "the product wraps in 64 bits";
    EXPECT_FALSE(reader.hasRoomFor(UINT64_MAX, 2));
    uint16_t values[1];
    EXPECT_EQ(reader.readU2(values, UINT64_MAX / 2 + 1), 0);
    EXPECT_TRUE(reader.failed());
}

TEST(LWReaderTest, ABodyBoundsItsReadsAndLeavingSkipsWhatWasLeftUnread)
{
    LWReader reader = readerOf(LwoWriter().u2(1).u2(2).u2(3).u2(4).u2(5).body());
    ASSERT_TRUE(reader.enter(6));
    EXPECT_EQ(reader.remaining(), 6u);
    uint16_t value;
    EXPECT_EQ(reader.readU2(value), 2);
    ASSERT_TRUE(reader.enter(2));
    EXPECT_EQ(reader.remaining(), 2u);
    reader.leave();
    EXPECT_EQ(reader.getPosition(), 4u);
    reader.leave();
    EXPECT_EQ(reader.getPosition(), 6u) << "the unread value of the body is skipped";
    EXPECT_EQ(reader.remaining(), 4u);
    EXPECT_EQ(reader.readU2(value), 2);
    EXPECT_EQ(value, 4);
    EXPECT_FALSE(reader.failed());
}

TEST(LWReaderTest, AReadPastTheEndOfABodyFailsEvenWhenTheInputGoesOn)
{
    LWReader reader = readerOf(std::string("ab\0\0cd\0\0", 8));
    ASSERT_TRUE(reader.enter(3));
    uint32_t value;
    EXPECT_EQ(reader.readU4(value), 0);
    EXPECT_TRUE(reader.failed());
    EXPECT_EQ(reader.getFailure(), "U4 at byte 0 needs 4 bytes where 3 remain");
    reader.leave();

    LWReader strings = readerOf(std::string("abcd\0\0", 6));
    ASSERT_TRUE(strings.enter(3));
    std::string text;
    EXPECT_EQ(strings.readS0(text), 0) << "the terminator lies beyond the body";
    EXPECT_TRUE(strings.failed());
}

TEST(LWReaderTest, ABodyLargerThanWhatRemainsIsNotEntered)
{
    LWReader reader = readerOf(std::string(10, 'x'));
    reader.skip(2);
    EXPECT_FALSE(reader.enter(9));
    EXPECT_TRUE(reader.failed());
    EXPECT_EQ(reader.getFailure(), "a body at byte 2 needs 9 bytes where 8 remain");
    EXPECT_EQ(reader.getPosition(), 2u);
}

TEST(LWReaderTest, APadByteIsReadWhenOneIsLeft)
{
    LWReader reader = readerOf("x");
    EXPECT_EQ(reader.readPad(), 1);
    EXPECT_EQ(reader.readPad(), 0);
    EXPECT_FALSE(reader.failed());
}

TEST(LWReaderTest, TheFirstReasonIsKept)
{
    LWReader reader = readerOf("");
    reader.fail("index 9 is beyond 3 points");
    uint16_t value;
    reader.readU2(value);
    EXPECT_EQ(reader.getFailure(), "index 9 is beyond 3 points");
    EXPECT_EQ(reader.getName(), "object.lwo");
}
