#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "LwoWriter.h"
#include "RGBA.h"
#include "lwloader/LWBlokSubChunk.h"
#include "lwloader/LWClipChunk.h"
#include "lwloader/LWImapBlokHeader.h"
#include "lwloader/LWReader.h"
#include "lwloader/LWSurfChunk.h"
#include "lwloader/LWTmapSubChunk.h"

// The bodies of surfaces, texture blocks and clips as their readers take them apart.
namespace {
LWReader readerOf(const std::string& bytes)
{
    return LWReader("object.lwo", std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

// Reads a chunk from its U4 size and body; the framed read's result.
int64_t readChunk(LWChunk& chunk, const std::string& body, std::string* reason = nullptr)
{
    LwoWriter writer;
    writer.u4(static_cast<uint32_t>(body.size())).raw(body);
    LWReader reader = readerOf(writer.body());
    chunk.setIdString("TEST");
    int64_t result = chunk.read(reader);
    if (reason)
        *reason = reader.getFailure();
    return result;
}

// Reads a sub-chunk from its U2 size and body.
int64_t readSubChunk(LWSubChunk& subChunk, const std::string& body, std::string* reason = nullptr)
{
    LwoWriter writer;
    writer.u2(static_cast<uint16_t>(body.size())).raw(body);
    LWReader reader = readerOf(writer.body());
    subChunk.setIdString("TEST");
    int64_t result = subChunk.read(reader);
    if (reason)
        *reason = reader.getFailure();
    return result;
}

void expectColour(const RGBA& actual, float r, float g, float b, float a, const std::string& what)
{
    EXPECT_NEAR(actual.r, r, 1e-6) << what;
    EXPECT_NEAR(actual.g, g, 1e-6) << what;
    EXPECT_NEAR(actual.b, b, 1e-6) << what;
    EXPECT_NEAR(actual.a, a, 1e-6) << what;
}

// A placement with all six of its sub-chunks, LightWave's way.
LwoWriter& placement(LwoWriter& w, float cx, float cy, float cz, float sx, float sy, float sz)
{
    w.subChunk("TMAP");
    w.subChunk("CNTR").vec12(cx, cy, cz).vx(0).end();
    w.subChunk("SIZE").vec12(sx, sy, sz).vx(0).end();
    w.subChunk("ROTA").vec12(0, 0, 0).vx(0).end();
    w.subChunk("FALL").u2(0).vec12(0, 0, 0).vx(0).end();
    w.subChunk("OREF").s0("(none)").end();
    w.subChunk("CSYS").u2(0).end();
    return w.end();
}

// An image-map header as LightWave writes one, with a sub-chunk the header does not list.
LwoWriter& imageHeader(LwoWriter& w)
{
    w.subChunk("IMAP").s0("\x80");
    w.subChunk("CHAN").id("COLR").end();
    w.subChunk("OPAC").u2(0).f4(1).vx(0).end();
    w.subChunk("ENAB").u2(1).end();
    w.subChunk("NEGA").u2(0).end();
    return w.end();
}
}

TEST(LWSurfaceChunksTest, ASurfaceBuildsItsMaterialFromItsValues)
{
    LwoWriter w;
    w.s0("Skin").s0("");
    w.subChunk("COLR").vec12(0.5f, 0.5f, 1.0f).vx(0).end();
    w.subChunk("DIFF").f4(0.8f).vx(0).end();
    w.subChunk("LUMI").f4(0.5f).vx(0).end();
    w.subChunk("SPEC").f4(0.25f).vx(0).end();
    w.subChunk("GLOS").f4(0.5f).vx(0).end();
    w.subChunk("VERS").u4(0x3a2).end();  // skipped
    w.subChunk("SIDE").u2(1).end();      // skipped
    LWSurfChunk surface;
    EXPECT_EQ(readChunk(surface, w.body()), 4 + static_cast<int64_t>(w.body().size()));
    EXPECT_EQ(surface.getName(), "Skin");
    EXPECT_EQ(surface.getSource(), "");
    EXPECT_EQ(surface.getBlockCount(), 0);
    const Material& m = surface.getMaterial();
    expectColour(m.getColor(), 0.5f, 0.5f, 1.0f, 1.0f, "colour");
    expectColour(m.getDiffuse(), 0.4f, 0.4f, 0.8f, 1.0f, "diffuse");
    expectColour(m.getEmission(), 0.25f, 0.25f, 0.5f, 1.0f, "emission");
    expectColour(m.getSpecular(), 0.25f, 0.25f, 0.25f, 1.0f, "specular");
    EXPECT_FLOAT_EQ(m.getShininess(), 64.0f);
}

TEST(LWSurfaceChunksTest, DiffuseAndLuminosityScaleTheColourReadBeforeThem)
{
    LwoWriter w;
    w.s0("Early").s0("");
    w.subChunk("DIFF").f4(0.8f).vx(0).end();
    w.subChunk("LUMI").f4(0.5f).vx(0).end();
    w.subChunk("COLR").vec12(0.5f, 0.5f, 1.0f).vx(0).end();
    LWSurfChunk surface;
    readChunk(surface, w.body());
    const Material& m = surface.getMaterial();
    // The default colour is white.
    expectColour(m.getDiffuse(), 0.8f, 0.8f, 0.8f, 1.0f, "diffuse");
    expectColour(m.getEmission(), 0.5f, 0.5f, 0.5f, 1.0f, "emission");
    expectColour(m.getColor(), 0.5f, 0.5f, 1.0f, 1.0f, "colour");
}

TEST(LWSurfaceChunksTest, AnImageBlockKeepsItsClipProjectionWrapAndPlacement)
{
    LwoWriter w;
    w.s0("Wood").s0("");
    w.subChunk("BLOK");
    imageHeader(w);
    placement(w, 1, 2, 3, 4, 5, 6);
    w.subChunk("PROJ").u2(5).end();
    w.subChunk("AXIS").u2(2).end();
    w.subChunk("IMAG").vx4(70000).end();
    w.subChunk("WRAP").u2(1).u2(3).end();
    w.subChunk("WRPW").f4(1).vx(0).end();  // skipped
    w.subChunk("VMAP").s0("Texture").end();
    w.subChunk("PIXB").u2(1).end();
    w.end();
    LWSurfChunk surface;
    std::string reason;
    ASSERT_EQ(readChunk(surface, w.body(), &reason), 4 + static_cast<int64_t>(w.body().size())) << reason;
    ASSERT_EQ(surface.getBlockCount(), 1);
    const LWBlokSubChunk& block = surface.getBlock(0);
    ASSERT_TRUE(block.hasImageHeader());
    EXPECT_EQ(block.getHeader()->getOrdinal(), "\x80");
    EXPECT_EQ(block.getHeader()->getChannel().getChannel(), LWLoaderComponent::ID_COLR);
    EXPECT_EQ(block.getHeader()->getEnable().getValue(), 1);
    EXPECT_EQ(block.getHeader()->getOpacity().getOpacity(), 1.0f);
    EXPECT_EQ(block.getProjection(), LWBlokSubChunk::PROJECTION_UV);
    EXPECT_EQ(block.getAxis(), 2);
    EXPECT_EQ(block.getImageIndex(), 70000u);
    EXPECT_EQ(block.getWidthWrap(), LWBlokSubChunk::WRAP_REPEAT);
    EXPECT_EQ(block.getHeightWrap(), LWBlokSubChunk::WRAP_EDGE);
    EXPECT_EQ(block.getUvMapName(), "Texture");
    ASSERT_EQ(block.getTextureMapCount(), 1);
    const LWTmapSubChunk& map = block.getTextureMap(0);
    EXPECT_EQ(map.getCenter().getVector().z, 3.0f) << "kept as in the file";
    EXPECT_EQ(map.getSizeVector().getVector().y, 5.0f);
    EXPECT_EQ(map.getReferenceObject().getText(), "(none)");
    EXPECT_EQ(map.getCoordinateSystem().getValue(), 0);
}

TEST(LWSurfaceChunksTest, ABlockStartsWithEdgeWrappingAndAPlanarProjection)
{
    LwoWriter w;
    w.subChunk("IMAP").s0("\x80").end();
    LWBlokSubChunk block;
    EXPECT_EQ(readSubChunk(block, w.body()), 2 + static_cast<int64_t>(w.body().size()));
    EXPECT_TRUE(block.hasImageHeader());
    EXPECT_EQ(block.getWidthWrap(), LWBlokSubChunk::WRAP_EDGE);
    EXPECT_EQ(block.getHeightWrap(), LWBlokSubChunk::WRAP_EDGE);
    EXPECT_EQ(block.getProjection(), LWBlokSubChunk::PROJECTION_PLANAR);
    EXPECT_EQ(block.getImageIndex(), 0u);
    EXPECT_EQ(block.getUvMapName(), "");
    EXPECT_EQ(block.getTextureMapCount(), 0);
}

TEST(LWSurfaceChunksTest, BlocksOfOtherKindsKeepOnlyTheirPlacement)
{
    for (const char* kind : {"PROC", "GRAD", "SHDR"}) {
        LwoWriter w;
        w.subChunk(kind).s0("\x80").subChunk("CHAN").id("COLR").end().subChunk("FUNC").s0("Turbulence").end().end();
        placement(w, 1, 2, 3, 1, 1, 1);
        w.subChunk("PROJ").u2(2).end();
        LWBlokSubChunk block;
        EXPECT_EQ(readSubChunk(block, w.body()), 2 + static_cast<int64_t>(w.body().size())) << kind;
        EXPECT_FALSE(block.hasImageHeader()) << kind;
        EXPECT_EQ(block.getTextureMapCount(), 1) << kind;
    }
}

TEST(LWSurfaceChunksTest, ThePlacementHoldsOnlyItsSixKinds)
{
    LwoWriter w;
    w.subChunk("CNTR").vec12(1, 2, 3).vx(0).end();
    w.subChunk("SIZE").vec12(4, 5, 6).vx(0).end();
    LWTmapSubChunk two;
    EXPECT_EQ(readSubChunk(two, w.body()), 2 + static_cast<int64_t>(w.body().size()));
    EXPECT_EQ(two.getCenter().getVector().x, 1.0f);
    EXPECT_EQ(two.getSizeVector().getVector().z, 6.0f);
    EXPECT_EQ(two.getRotation().getVector().x, 0.0f);
    EXPECT_EQ(two.getReferenceObject().getText(), "(none)") << "until an OREF says otherwise";
    EXPECT_EQ(two.getCoordinateSystem().getValue(), 1);

    LWTmapSubChunk none;
    EXPECT_EQ(readSubChunk(none, ""), 2);

    w.subChunk("WRPW").f4(1).vx(0).end();
    LWTmapSubChunk other;
    std::string reason;
    EXPECT_EQ(readSubChunk(other, w.body(), &reason), LWLoaderComponent::READ_FAILED);
    EXPECT_EQ(reason, "the texture placement holds an unknown \"WRPW\"");
}

TEST(LWSurfaceChunksTest, TheHeaderSkipsWhatItDoesNotList)
{
    LwoWriter w;
    w.s0("\x80");
    w.subChunk("NEGA").u2(1).end();
    w.subChunk("AXIS").u2(1).end();
    w.subChunk("CHAN").id("BUMP").end();
    LWImapBlokHeader header;
    EXPECT_EQ(readSubChunk(header, w.body()), 2 + static_cast<int64_t>(w.body().size()));
    EXPECT_EQ(header.getAxis().getValue(), 1);
    EXPECT_EQ(header.getChannel().getChannel(), LWLoaderComponent::ID_OTHER);
    EXPECT_EQ(header.getOpacity().getType(), 0);
    EXPECT_EQ(header.getOpacity().getOpacity(), 1.0f);

    // skipRemaining skips whole sub-chunks from where a reader stopped up to the header's size.
    struct OrdinalOnly : LWImapBlokHeader {
        int64_t readData(LWReader& reader) override
        {
            std::string ordinal;
            int64_t consumed = reader.readS0(ordinal);
            skipped = skipRemaining(consumed, reader);
            return skipped < 0 ? skipped : consumed + skipped;
        }
        int64_t skipped = 0;
    } ordinalOnly;
    EXPECT_EQ(readSubChunk(ordinalOnly, w.body()), 2 + static_cast<int64_t>(w.body().size()));
    EXPECT_EQ(ordinalOnly.skipped, static_cast<int64_t>(w.body().size()) - 2);
    EXPECT_EQ(ordinalOnly.getAxis().getValue(), 0) << "skipped, not read";
}

TEST(LWSurfaceChunksTest, BrokenBlocksAreRefused)
{
    struct Case {
        const char* name;
        std::string body;  // of the block
    } cases[] = {
        {"empty", ""},
        {"header cut off", "IMA"},
        {"a projection cut short", LwoWriter().subChunk("IMAP").s0("\x80").end().raw("PROJ").u2(1).u1(0).body()},
        {"a wrap of one code", LwoWriter().subChunk("IMAP").s0("\x80").end().subChunk("WRAP").u2(1).end().body()},
        {"an image index cut short", LwoWriter().subChunk("IMAP").s0("\x80").end().subChunk("IMAG").u1(0xFF).end().body()},
        {"a map name not filling its sub-chunk",
         LwoWriter().subChunk("IMAP").s0("\x80").end().subChunk("VMAP").s0("uv").u2(0).end().body()},
        {"a map name without its terminator", LwoWriter().subChunk("IMAP").s0("\x80").end().subChunk("VMAP").raw("uv").end().body()},
        {"a sub-chunk larger than the block", LwoWriter().subChunk("IMAP").s0("\x80").end().raw("AAST").u2(40).body()},
    };
    for (const Case& c : cases) {
        LWBlokSubChunk block;
        EXPECT_EQ(readSubChunk(block, c.body), LWLoaderComponent::READ_FAILED) << c.name;
    }
}

TEST(LWSurfaceChunksTest, AClipKeepsItsIndexAndStillImages)
{
    LwoWriter w;
    w.u4(3).subChunk("STIL").s0("Images/wood.jpg").end().subChunk("FLAG").u2(8).u2(0x80).end();
    LWClipChunk clip;
    EXPECT_EQ(readChunk(clip, w.body()), 4 + static_cast<int64_t>(w.body().size()));
    EXPECT_EQ(clip.getClipIndex(), 3u);
    ASSERT_EQ(clip.getItemCount(), 1);
    EXPECT_EQ(clip.getItem(0).getFileName(), "Images/wood.jpg");

    LwoWriter sequence;
    sequence.u4(1).subChunk("ISEQ").u1(3).u1(0).i2(0).i2(0).s0("frame").s0(".jpg").end();
    LWClipChunk other;
    EXPECT_EQ(readChunk(other, sequence.body()), 4 + static_cast<int64_t>(sequence.body().size()));
    EXPECT_EQ(other.getItemCount(), 0);

    for (const std::string& body : {std::string(), LwoWriter().u4(1).body(), LwoWriter().u4(1).raw("STIL").u2(9).body()}) {
        LWClipChunk broken;
        EXPECT_EQ(readChunk(broken, body), LWLoaderComponent::READ_FAILED) << body.size();
    }
}

TEST(LWSurfaceChunksTest, ATextureIsNamedAfterItsImageFileAndWrapping)
{
    struct Case {
        const char* path;
        uint16_t width, height;
        const char* name;
    } cases[] = {
        {"Images/wood.jpg", 1, 1, "wood.jpgrr"},
        {"Images/wood.jpg", 3, 3, "wood.jpgcc"},
        {"Images/wood.jpg", 1, 3, "wood.jpgrc"},
        {"Images/wood.jpg", 2, 0, "wood.jpgcc"},
        {"wood.jpg", 0, 1, "wood.jpgcr"},
        {"C:Users/me/Desktop/stone.jpg", 1, 1, "stone.jpgrr"},
        {"C:\\textures\\stone.jpg", 1, 1, "stone.jpgrr"},
    };
    for (const Case& c : cases) {
        LwoWriter w;
        w.subChunk("IMAP").s0("\x80").end().subChunk("WRAP").u2(c.width).u2(c.height).end();
        LWBlokSubChunk block;
        readSubChunk(block, w.body());
        EXPECT_EQ(block.textureName(c.path), c.name) << c.path;
    }
}

TEST(LWSurfaceChunksTest, EveryCutSurfaceFailsOrReadsNoMoreThanIsThere)
{
    LwoWriter w;
    w.s0("Wood").s0("");
    w.subChunk("COLR").vec12(1, 1, 1).vx(0).end();
    w.subChunk("BLOK");
    imageHeader(w);
    placement(w, 0, 0, 0, 1, 1, 1);
    w.subChunk("PROJ").u2(5).end().subChunk("IMAG").vx(1).end().subChunk("VMAP").s0("uv").end();
    w.end();
    const std::string body = w.body();
    for (size_t length = 0; length < body.size(); ++length) {
        LWSurfChunk surface;
        int64_t result = readChunk(surface, body.substr(0, length));
        EXPECT_TRUE(result == LWLoaderComponent::READ_FAILED || result <= 4 + static_cast<int64_t>(length) + 1)
            << "cut to " << length;
    }
}
