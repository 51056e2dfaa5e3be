#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "LwoWriter.h"
#include "lwloader/LWLayerChunk.h"
#include "lwloader/LWPointsChunk.h"
#include "lwloader/LWPolygonsChunk.h"
#include "lwloader/LWPtagChunk.h"
#include "lwloader/LWReader.h"
#include "lwloader/LWTagsChunk.h"
#include "lwloader/LWVmadChunk.h"
#include "lwloader/LWVmapChunk.h"

// The bodies of the geometry chunks as their readers take them apart: what each keeps, what it
// skips, and the bodies it refuses.
namespace {
// The chunk read from a size field and body (with its pad byte), as the loader reads it after the
// identifier. Returns what the framed read returns; the reader is left for inspection.
struct Read {
    int64_t result;
    bool failed;
    std::string reason;
    uint64_t position;
};

Read readChunk(LWChunk& chunk, const std::string& body)
{
    LwoWriter writer;
    writer.u4(static_cast<uint32_t>(body.size())).raw(body);
    if (body.size() % 2 == 1)
        writer.u1(0);
    const std::string& bytes = writer.body();
    LWReader reader("object.lwo", std::vector<uint8_t>(bytes.begin(), bytes.end()));
    chunk.setIdString("TEST");
    int64_t result = chunk.read(reader);
    return {result, reader.failed(), reader.getFailure(), reader.getPosition()};
}

// Every shorter body of a chunk kind fails, or reads less and says so with a smaller count: never
// more than is there.
template <typename Chunk> void expectEveryCutFailsOrShrinks(const std::string& body, const char* name)
{
    for (size_t length = 0; length < body.size(); ++length) {
        Chunk chunk;
        Read read = readChunk(chunk, body.substr(0, length));
        if (read.result >= 0)
            EXPECT_LE(read.position, 4 + length + 1) << name << " cut to " << length;
        else
            EXPECT_TRUE(read.failed) << name << " cut to " << length;
    }
}
}

TEST(LWGeometryChunksTest, ALayerKeepsItsNumberAndSkipsTheRest)
{
    LWLayerChunk layer;
    Read read = readChunk(layer, LwoWriter().u2(7).u2(0).vec12(1, 2, 3).s0("arm").u2(2).body());
    EXPECT_EQ(read.result, 4 + 22);
    EXPECT_FALSE(read.failed);
    EXPECT_EQ(layer.getLayerNumber(), 7);
    EXPECT_EQ(layer.getId(), LWLoaderComponent::ID_LAYR);

    LWLayerChunk cut;
    EXPECT_EQ(readChunk(cut, "\x01").result, LWLoaderComponent::READ_FAILED);
}

TEST(LWGeometryChunksTest, PointsHaveTheirZNegated)
{
    LWPointsChunk points;
    Read read = readChunk(points, LwoWriter().vec12(1, 2, 3).vec12(-4, 0.5f, -6).body());
    EXPECT_EQ(read.result, 4 + 24);
    ASSERT_EQ(points.getPointCount(), 2);
    EXPECT_EQ(points.getPoint(0).x, 1);
    EXPECT_EQ(points.getPoint(0).y, 2);
    EXPECT_EQ(points.getPoint(0).z, -3);
    EXPECT_EQ(points.getPoint(1).x, -4);
    EXPECT_EQ(points.getPoint(1).y, 0.5f);
    EXPECT_EQ(points.getPoint(1).z, 6);
    EXPECT_FALSE(points.isApplied());
}

TEST(LWGeometryChunksTest, PointsCountWholeTriplesOfTheBody)
{
    struct Case {
        std::string body;
        int points;
    } cases[] = {
        {"", 0},
        {LwoWriter().vec12(1, 2, 3).raw("abcde").body(), 1},
        {LwoWriter().vec12(1, 2, 3).vec12(4, 5, 6).raw(std::string(11, 'x')).body(), 2},
    };
    for (const Case& c : cases) {
        LWPointsChunk points;
        Read read = readChunk(points, c.body);
        EXPECT_GE(read.result, 4 + static_cast<int64_t>(c.body.size())) << c.body.size();
        EXPECT_EQ(points.getPointCount(), c.points) << c.body.size();
    }
}

TEST(LWGeometryChunksTest, PolygonsKeepTheirCornersAndDropTheFlags)
{
    LWPolygonsChunk polygons;
    Read read = readChunk(polygons, LwoWriter()
                                        .id("FACE")
                                        .u2(0xFC03).vx(0).vx(1).vx(2)        // three corners, every flag set
                                        .u2(4).vx(3).vx4(70000).vx(5).vx(6)  // a long index among short ones
                                        .u2(0)                               // no corners
                                        .body());
    EXPECT_EQ(read.result, 4 + 4 + 8 + 12 + 2);
    EXPECT_FALSE(read.failed) << read.reason;
    EXPECT_EQ(polygons.getPolygonType(), LWLoaderComponent::ID_FACE);
    ASSERT_EQ(polygons.getPolygonCount(), 3);
    EXPECT_EQ(polygons.getVertexIndices(0), (std::vector<uint32_t>{0, 1, 2}));
    EXPECT_EQ(polygons.getVertexIndices(1), (std::vector<uint32_t>{3, 70000, 5, 6}));
    EXPECT_EQ(polygons.getVertexCount(2), 0);
    EXPECT_EQ(polygons.getFirstPolygon(), -1);
    EXPECT_EQ(polygons.getFirstBone(), -1);
}

TEST(LWGeometryChunksTest, PolygonKindsOtherThanFacesAndBonesAreSkippedByTheirSize)
{
    for (const char* type : {"PTCH", "SUBD", "MBAL", "CURV", "SKEL"}) {
        LWPolygonsChunk polygons;
        const std::string body = LwoWriter().id(type).u2(3).vx(0).vx(1).vx(2).body();
        Read read = readChunk(polygons, body);
        EXPECT_EQ(read.result, 4 + static_cast<int64_t>(body.size())) << type;
        EXPECT_EQ(polygons.getPolygonType(), LWLoaderComponent::identifierNumber(type)) << type;
        EXPECT_EQ(polygons.getPolygonCount(), 0) << type;
    }
    LWPolygonsChunk bones;
    readChunk(bones, LwoWriter().id("BONE").u2(2).vx(0).vx(1).body());
    EXPECT_EQ(bones.getPolygonType(), LWLoaderComponent::ID_BONE);
    EXPECT_EQ(bones.getPolygonCount(), 1);
}

TEST(LWGeometryChunksTest, BrokenPolygonBodiesAreRefused)
{
    struct Case {
        const char* name;
        std::string body;
        const char* reason;
    } cases[] = {
        {"type cut off", "FA", "the body of \"TEST\" at byte 4 is malformed"},
        {"type holding 0xFF", "F\xFF" "CE", "the body of \"TEST\" at byte 4 is malformed"},
        {"more corners than bytes", LwoWriter().id("FACE").u2(1023).vx(0).body(),
         "polygon 0 has 1023 corners where 2 bytes remain"},
        {"fewer bytes than the shortest corners", LwoWriter().id("FACE").u2(3).vx(0).vx(1).u1(0).body(),
         "polygon 0 has 3 corners where 5 bytes remain"},
        {"a long corner cut off", LwoWriter().id("FACE").u2(2).vx(0).u1(0xFF).u1(0).body(),
         "VX at byte 12 needs 4 bytes where 2 remain"},
        {"a bone of one point", LwoWriter().id("BONE").u2(2).vx(0).vx(1).u2(1).vx(2).body(),
         "bone polygon 1 has 1 corners where a bone needs two"},
        {"a bone without points", LwoWriter().id("BONE").u2(0).body(), "bone polygon 0 has 0 corners where a bone needs two"},
    };
    for (const Case& c : cases) {
        LWPolygonsChunk polygons;
        Read read = readChunk(polygons, c.body);
        EXPECT_EQ(read.result, LWLoaderComponent::READ_FAILED) << c.name;
        EXPECT_EQ(read.reason, c.reason) << c.name;
    }
}

TEST(LWGeometryChunksTest, TagsAreTheStringsOfTheBody)
{
    LWTagsChunk tags;
    Read read = readChunk(tags, LwoWriter().s0("Default").s0("Skin").s0("").body());
    EXPECT_EQ(read.result, 4 + 8 + 6 + 2);
    ASSERT_EQ(tags.getTagCount(), 3);
    EXPECT_EQ(tags.getTag(0), "Default");
    EXPECT_EQ(tags.getTag(1), "Skin");
    EXPECT_EQ(tags.getTag(2), "");

    LWTagsChunk none;
    EXPECT_EQ(readChunk(none, "").result, 4);
    EXPECT_EQ(none.getTagCount(), 0);

    // A name longer than any field a modeller would give it is kept whole.
    const std::string longName(1000, 'n');
    LWTagsChunk longTags;
    readChunk(longTags, LwoWriter().s0(longName).body());
    ASSERT_EQ(longTags.getTagCount(), 1);
    EXPECT_EQ(longTags.getTag(0), longName);

    LWTagsChunk unterminated;
    EXPECT_EQ(readChunk(unterminated, LwoWriter().s0("Default").raw("Sk").body()).result, LWLoaderComponent::READ_FAILED);
}

TEST(LWGeometryChunksTest, PolygonTagsKeepSurfaceBoneAndWeightMapEntries)
{
    for (const char* type : {"SURF", "BNWT", "BONE"}) {
        LWPtagChunk ptag;
        Read read = readChunk(ptag, LwoWriter().id(type).vx(0).u2(1).vx4(70000).u2(0).body());
        EXPECT_EQ(read.result, 4 + 4 + 4 + 6) << type;
        EXPECT_EQ(ptag.getTagType(), LWLoaderComponent::identifierNumber(type));
        ASSERT_EQ(ptag.getEntryCount(), 2) << type;
        EXPECT_EQ(ptag.getPolygonIndex(0), 0u);
        EXPECT_EQ(ptag.getTagIndex(0), 1);
        EXPECT_EQ(ptag.getPolygonIndex(1), 70000u);
        EXPECT_EQ(ptag.getTagIndex(1), 0);
    }
    for (const char* type : {"PART", "SMGP", "COLR"}) {
        LWPtagChunk ptag;
        const std::string body = LwoWriter().id(type).vx(0).u2(1).body();
        EXPECT_EQ(readChunk(ptag, body).result, 4 + static_cast<int64_t>(body.size())) << type;
        EXPECT_EQ(ptag.getEntryCount(), 0) << type;
    }
    for (const std::string& body : {std::string("SU"), LwoWriter().id("SURF").vx(0).u1(1).body()}) {
        LWPtagChunk ptag;
        EXPECT_EQ(readChunk(ptag, body).result, LWLoaderComponent::READ_FAILED) << body.size();
    }
}

TEST(LWGeometryChunksTest, VertexMapsKeepEveryEntryOfEveryKind)
{
    LWVmapChunk uv;
    Read read = readChunk(uv, LwoWriter().id("TXUV").u2(2).s0("uv").vx(3).f4(0.25f).f4(0.75f).vx4(70000).f4(1).f4(0).body());
    EXPECT_EQ(read.result, 4 + 6 + 4 + 10 + 12);
    EXPECT_EQ(uv.getMapType(), LWLoaderComponent::ID_TXUV);
    EXPECT_EQ(uv.getDimension(), 2);
    EXPECT_EQ(uv.getName(), "uv");
    ASSERT_EQ(uv.getEntryCount(), 2);
    EXPECT_EQ(uv.getPointIndex(0), 3u);
    EXPECT_EQ(uv.getValue(0, 0), 0.25f);
    EXPECT_EQ(uv.getValue(0, 1), 0.75f);
    EXPECT_EQ(uv.getPointIndex(1), 70000u);
    EXPECT_EQ(uv.getValue(1, 0), 1.0f);

    LWVmapChunk weights;
    readChunk(weights, LwoWriter().id("WGHT").u2(1).s0("arm").vx(0).f4(0.5f).vx(1).f4(1).body());
    EXPECT_EQ(weights.getMapType(), LWLoaderComponent::ID_WGHT);
    ASSERT_EQ(weights.getEntryCount(), 2);
    EXPECT_EQ(weights.getValue(1, 0), 1.0f);

    LWVmapChunk colours;
    readChunk(colours, LwoWriter().id("RGBA").u2(4).s0("paint").vx(0).f4(1).f4(0).f4(0).f4(1).body());
    EXPECT_EQ(colours.getMapType(), LWLoaderComponent::ID_OTHER);
    ASSERT_EQ(colours.getEntryCount(), 1);
    EXPECT_EQ(colours.getValue(0, 3), 1.0f);

    LWVmapChunk empty;
    EXPECT_EQ(readChunk(empty, LwoWriter().id("MORF").u2(0).s0("flat").vx(0).vx(1).body()).result, 4 + 6 + 6 + 4);
    EXPECT_EQ(empty.getEntryCount(), 2);
}

TEST(LWGeometryChunksTest, PerPolygonMapsNameAPolygonAfterEachPoint)
{
    LWVmadChunk uv;
    Read read = readChunk(uv, LwoWriter().id("TXUV").u2(2).s0("uv").vx(3).vx(1).f4(1.5f).f4(0.5f).body());
    EXPECT_EQ(read.result, 4 + 6 + 4 + 12);
    EXPECT_EQ(uv.getId(), LWLoaderComponent::ID_VMAD);
    ASSERT_EQ(uv.getEntryCount(), 1);
    EXPECT_EQ(uv.getPointIndex(0), 3u);
    EXPECT_EQ(uv.getPolygonIndex(0), 1u);
    EXPECT_EQ(uv.getValue(0, 0), 1.5f);
    EXPECT_EQ(uv.getValue(0, 1), 0.5f);
}

TEST(LWGeometryChunksTest, MapsTooNarrowForTheirKindOrCutShortAreRefused)
{
    struct Case {
        const char* name;
        std::string body;
        const char* reason;
    } cases[] = {
        {"a UV map of one value", LwoWriter().id("TXUV").u2(1).s0("uv").vx(0).f4(0).body(),
         "the TXUV map \"uv\" has 1 values per entry where 2 are needed"},
        {"a weight map of no value", LwoWriter().id("WGHT").u2(0).s0("arm").vx(0).body(),
         "the WGHT map \"arm\" has 0 values per entry where 1 are needed"},
        {"an entry cut short", LwoWriter().id("TXUV").u2(2).s0("uv").vx(0).f4(0).body(),
         "an entry of the map \"uv\" needs 2 values where 4 bytes remain"},
        {"a dimension beyond the body", LwoWriter().id("RGBA").u2(65535).s0("c").vx(0).f4(0).body(),
         "an entry of the map \"c\" needs 65535 values where 4 bytes remain"},
        {"no name", LwoWriter().id("TXUV").u2(2).raw("uv").body(), "S0 at byte 10 has no terminator before its end"},
    };
    for (const Case& c : cases) {
        LWVmapChunk map;
        Read read = readChunk(map, c.body);
        EXPECT_EQ(read.result, LWLoaderComponent::READ_FAILED) << c.name;
        EXPECT_EQ(read.reason, c.reason) << c.name;
    }
}

TEST(LWGeometryChunksTest, EveryCutBodyFailsOrReadsNoMoreThanIsThere)
{
    expectEveryCutFailsOrShrinks<LWLayerChunk>(LwoWriter().u2(1).u2(0).vec12(0, 0, 0).s0("a").body(), "LAYR");
    expectEveryCutFailsOrShrinks<LWPointsChunk>(LwoWriter().vec12(1, 2, 3).vec12(4, 5, 6).body(), "PNTS");
    expectEveryCutFailsOrShrinks<LWPolygonsChunk>(
        LwoWriter().id("FACE").u2(3).vx(0).vx4(1).vx(2).u2(4).vx(0).vx(1).vx(2).vx(3).body(), "POLS");
    expectEveryCutFailsOrShrinks<LWTagsChunk>(LwoWriter().s0("a").s0("bcd").body(), "TAGS");
    expectEveryCutFailsOrShrinks<LWPtagChunk>(LwoWriter().id("SURF").vx(0).u2(0).vx4(1).u2(1).body(), "PTAG");
    expectEveryCutFailsOrShrinks<LWVmapChunk>(LwoWriter().id("TXUV").u2(2).s0("uv").vx(0).f4(0).f4(1).body(), "VMAP");
    expectEveryCutFailsOrShrinks<LWVmadChunk>(
        LwoWriter().id("TXUV").u2(2).s0("uv").vx(0).vx(0).f4(0).f4(1).body(), "VMAD");
}
