#include "lwloader/LWChunk.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "LwoWriter.h"
#include "lwloader/LWLoaderComponent.h"
#include "lwloader/LWNullSubChunk.h"
#include "lwloader/LWReader.h"
#include "lwloader/LWSubChunk.h"

namespace {
LWReader readerOf(const std::string& bytes)
{
    return LWReader("object.lwo", std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

// Reads a fixed number of U2 values from its body, or returns what it is told to.
template <typename Base>
class ValuesChunk : public Base {
public:
    ValuesChunk(int wanted, int64_t result = 0) : Base(LWLoaderComponent::ID_OTHER), wanted(wanted), result(result) {}

    int64_t readData(LWReader& reader) override
    {
        ++calls;
        bodyRemaining = reader.remaining();
        for (int i = 0; i < wanted; ++i) {
            uint16_t value;
            if (reader.readU2(value) != 2)
                return LWLoaderComponent::READ_FAILED;
            values.push_back(value);
        }
        return result < 0 ? result : 2 * wanted;
    }

    int wanted;
    int64_t result;
    int calls = 0;
    uint64_t bodyRemaining = 0;
    std::vector<uint16_t> values;
};

struct TestChunk : ValuesChunk<LWChunk> {
    using ValuesChunk::ValuesChunk;
    void fillObject(Actor*, LWLoader*) override {}
};

using TestSubChunk = ValuesChunk<LWSubChunk>;
}

TEST(LWChunkTest, IdentifiersHaveTheirNumbers)
{
    const std::pair<const char*, int> table[] = {
        {"FORM", 2},  {"LWO2", 3},  {"PNTS", 4},  {"POLS", 5},  {"FACE", 6},  {"BONE", 7},  {"TAGS", 8},
        {"LAYR", 9},  {"PTAG", 10}, {"BNWT", 11}, {"VMAP", 12}, {"WGHT", 13}, {"TXUV", 14}, {"CLIP", 15},
        {"STIL", 16}, {"SURF", 17}, {"BLOK", 18}, {"IMAP", 19}, {"TMAP", 20}, {"SIZE", 21}, {"CHAN", 22},
        {"ENAB", 23}, {"OPAC", 24}, {"AXIS", 25}, {"CNTR", 26}, {"ROTA", 27}, {"OREF", 28}, {"FALL", 29},
        {"CSYS", 30}, {"IMAG", 31}, {"PROJ", 32}, {"WRAP", 33}, {"COLR", 34}, {"DIFF", 35}, {"LUMI", 36},
        {"SPEC", 37}, {"GLOS", 41}, {"VMAD", 42},
    };
    for (const auto& entry : table) {
        LWReader reader = readerOf(entry.first);
        int number = -1;
        std::string text;
        EXPECT_EQ(LWLoaderComponent::readChunkId(reader, number, text), 4);
        EXPECT_EQ(number, entry.second) << entry.first;
        EXPECT_EQ(text, entry.first);
    }
    EXPECT_EQ(LWLoaderComponent::ID_PNTS, 4);
    EXPECT_EQ(LWLoaderComponent::ID_VMAD, 42);
    EXPECT_EQ(LWLoaderComponent::ID_GLOS, 41);
}

TEST(LWChunkTest, OtherCodesAreNumberOneAndKeepTheirTextUpToAZero)
{
    struct Case {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"DESC", "DESC"}, {"pnts", "pnts"}, {"PNT ", "PNT "}, {std::string("AB\0\0", 4), "AB"},
        {std::string("PNTS", 3) + '\0', "PNT"}, {std::string("\0PNT", 4), ""},
    };
    for (const Case& c : cases) {
        LWReader reader = readerOf(c.bytes);
        int number = -1;
        std::string text;
        EXPECT_EQ(LWLoaderComponent::readChunkId(reader, number, text), 4);
        EXPECT_EQ(number, LWLoaderComponent::ID_OTHER) << c.text;
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(reader.getPosition(), 4u);
    }
}

TEST(LWChunkTest, AnIdentifierHolding0xFFOrCutShortIsTheEndOfInput)
{
    for (const std::string& bytes : {std::string("\xFFNTS"), std::string("PN\xFFS"), std::string("PNT\xFF")}) {
        LWReader reader = readerOf(bytes);
        int number = -1;
        std::string text;
        EXPECT_EQ(LWLoaderComponent::readChunkId(reader, number, text), 0);
        EXPECT_EQ(number, LWLoaderComponent::ID_END);
        EXPECT_FALSE(reader.failed());
    }
    for (const std::string& bytes : {std::string(""), std::string("P"), std::string("PNT")}) {
        LWReader reader = readerOf(bytes);
        int number = -1;
        std::string text;
        EXPECT_EQ(LWLoaderComponent::readChunkId(reader, number, text), 0);
        EXPECT_EQ(number, LWLoaderComponent::ID_END);
        EXPECT_EQ(reader.getPosition(), 0u);
        EXPECT_FALSE(reader.failed()) << "the end of input is no failure";
    }
}

TEST(LWChunkTest, AChunkReadsItsSizeAndBodySkippingWhatItsReaderLeftAndThePad)
{
    struct Case {
        const char* name;
        std::string bytes;  // after the identifier
        int wanted;
        uint32_t size;
        int64_t count;
        std::vector<uint16_t> values;
    } cases[] = {
        {"whole body", LwoWriter().u4(4).u2(7).u2(8).raw("next").body(), 2, 4, 8, {7, 8}},
        {"body partly read", LwoWriter().u4(6).u2(7).u2(8).u2(9).raw("next").body(), 1, 6, 10, {7}},
        {"odd body", LwoWriter().u4(3).u2(7).u1(1).u1(0).raw("next").body(), 1, 3, 8, {7}},
        {"odd body, no pad at the end", LwoWriter().u4(3).u2(7).u1(1).body(), 1, 3, 7, {7}},
        {"empty body", LwoWriter().u4(0).raw("next").body(), 0, 0, 4, {}},
    };
    for (const Case& c : cases) {
        LWReader reader = readerOf(c.bytes);
        TestChunk chunk(c.wanted);
        EXPECT_EQ(chunk.read(reader), c.count) << c.name;
        EXPECT_EQ(chunk.getSize(), c.size) << c.name;
        EXPECT_EQ(chunk.bodyRemaining, c.size) << c.name << ": readData sees its body and no more";
        EXPECT_EQ(reader.getPosition(), static_cast<uint64_t>(c.count)) << c.name;
        EXPECT_EQ(chunk.values, c.values) << c.name;
        EXPECT_FALSE(reader.failed()) << c.name << ": " << reader.getFailure();
    }
}

TEST(LWChunkTest, AChunkFailsWhenItsBodyCannotBeRead)
{
    struct Case {
        const char* name;
        std::string bytes;  // after the identifier
        int wanted;
        int64_t result;
        int calls;  // of readData
        const char* reason;
    } cases[] = {
        {"size cut off", std::string("\x00\x00\x01", 3), 0, 0, 0, "U4 at byte 0 needs 4 bytes where 3 remain"},
        {"body larger than the input", LwoWriter().u4(10).u2(1).u2(2).body(), 0, 0, 0,
         "a body at byte 4 needs 10 bytes where 4 remain"},
        {"reader reads past the body", LwoWriter().u4(2).u2(1).u2(2).body(), 2, 0, 1,
         "U2 at byte 6 needs 2 bytes where 0 remain"},
        {"reader refuses the body", LwoWriter().u4(2).u2(1).body(), 1, LWLoaderComponent::READ_FAILED, 1,
         "the body of \"TEST\" at byte 4 is malformed"},
    };
    for (const Case& c : cases) {
        LWReader reader = readerOf(c.bytes);
        TestChunk chunk(c.wanted, c.result);
        chunk.setIdString("TEST");
        EXPECT_EQ(chunk.read(reader), LWLoaderComponent::READ_FAILED) << c.name;
        EXPECT_EQ(chunk.calls, c.calls) << c.name;
        EXPECT_TRUE(reader.failed()) << c.name;
        EXPECT_EQ(reader.getFailure(), c.reason) << c.name;
    }
}

TEST(LWChunkTest, ASubChunkHasAU2SizeAndThePadAfterAnOddBody)
{
    struct Case {
        const char* name;
        std::string bytes;  // after the identifier
        int wanted;
        int64_t count;
    } cases[] = {
        {"whole body", LwoWriter().u2(4).u2(7).u2(8).raw("next").body(), 2, 6},
        {"body partly read", LwoWriter().u2(6).u2(7).u2(8).u2(9).raw("next").body(), 1, 8},
        {"odd body", LwoWriter().u2(5).u2(7).u2(8).u1(1).u1(0).raw("next").body(), 2, 8},
        {"empty body", LwoWriter().u2(0).raw("next").body(), 0, 2},
    };
    for (const Case& c : cases) {
        LWReader reader = readerOf(c.bytes);
        TestSubChunk subChunk(c.wanted);
        EXPECT_EQ(subChunk.read(reader), c.count) << c.name;
        EXPECT_EQ(reader.getPosition(), static_cast<uint64_t>(c.count)) << c.name;
        EXPECT_EQ(subChunk.values.size(), static_cast<size_t>(c.wanted)) << c.name;
        EXPECT_EQ(reader.remaining(), 4u) << c.name << ": the next identifier is next";
        EXPECT_FALSE(reader.failed()) << c.name;
    }
}

TEST(LWChunkTest, ASubChunkCannotReachBeyondItsChunk)
{
    // The chunk's body of 6 bytes holds a sub-chunk that declares 8 where 4 are left; the input
    // itself goes on.
    LWReader reader = readerOf(LwoWriter().u4(6).u2(8).u2(1).u2(2).u2(3).u2(4).u2(5).body());
    uint32_t size;
    reader.readU4(size);
    ASSERT_TRUE(reader.enter(size));
    TestSubChunk subChunk(4);
    EXPECT_EQ(subChunk.read(reader), LWLoaderComponent::READ_FAILED);
    EXPECT_EQ(subChunk.calls, 0);
    EXPECT_EQ(reader.getFailure(), "a body at byte 6 needs 8 bytes where 4 remain");
}

TEST(LWChunkTest, ANullSubChunkSkipsItsBody)
{
    LWReader reader = readerOf(LwoWriter().u2(5).raw("abcde").u1(0).raw("next").body());
    LWNullSubChunk skipped;
    EXPECT_EQ(skipped.getId(), LWLoaderComponent::ID_OTHER);
    EXPECT_EQ(skipped.read(reader), 8);
    EXPECT_EQ(skipped.getSize(), 5);
    EXPECT_EQ(reader.getPosition(), 8u);
    EXPECT_FALSE(reader.failed());
}

TEST(LWChunkTest, AChunkKeepsItsIdentifier)
{
    TestChunk chunk(0);
    chunk.setIdString("DESC");
    EXPECT_EQ(chunk.getId(), LWLoaderComponent::ID_OTHER);
    EXPECT_EQ(chunk.getIdString(), "DESC");
    EXPECT_EQ(chunk.getLayerNumber(), 0);
    EXPECT_EQ(chunk.getPolygonType(), LWLoaderComponent::ID_OTHER);
}
