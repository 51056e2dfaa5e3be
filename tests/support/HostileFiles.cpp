#include "HostileFiles.h"

#include <cmath>
#include <stdexcept>
#include <vector>

#include "3dsChunkIds.h"
#include "JpegCompressor.h"
#include "LwoWriter.h"
#include "ThreeDSWriter.h"
#include "WavWriter.h"

std::string nestedMainChunks3ds(int levels)
{
    ThreeDSWriter writer;
    for (int i = 0; i < levels; ++i)
        writer.chunk(_3dsChunk::MAIN);
    for (int i = 0; i < levels; ++i)
        writer.end();
    return writer.bytes();
}

namespace {
// An object block of a camera named Cam ten units before the origin, looking at it.
void cameraObject(ThreeDSWriter& writer)
{
    writer.chunk(_3dsChunk::OBJECT_BLOCK).str("Cam");
    writer.chunk(_3dsChunk::CAMERA).vec(0.0f, -10.0f, 0.0f).vec(0.0f, 0.0f, 0.0f).f32(0.0f).f32(35.0f).end();
    writer.end();
}
}

std::string chainedNodes3ds(int nodes)
{
    ThreeDSWriter writer;
    writer.chunk(_3dsChunk::MAIN).chunk(_3dsChunk::OBJECT_MESH);
    writer.chunk(_3dsChunk::OBJECT_BLOCK).str("Box").chunk(_3dsChunk::TRI_MESH);
    writer.chunk(_3dsChunk::VERTEX_LIST).u16(3).vec(-1.0f, 0.0f, -1.0f).vec(1.0f, 0.0f, -1.0f).vec(0.0f, 0.0f, 1.0f).end();
    writer.chunk(_3dsChunk::FACE_LIST).u16(1).u16(0).u16(1).u16(2).u16(0).end();
    writer.end().end();
    cameraObject(writer);
    writer.end();
    writer.chunk(_3dsChunk::KEYFRAMER_DATA);
    for (int i = 0; i < nodes; ++i) {
        const uint16_t parent = i == 0 ? 0xFFFF : static_cast<uint16_t>(i - 1);
        writer.chunk(_3dsChunk::OBJECT_TRACK);
        writer.chunk(_3dsChunk::NODE_ORDER_ID).u16(static_cast<uint16_t>(i)).end();
        writer.chunk(_3dsChunk::TRACK_OBJECT_NAME).str(i + 1 == nodes ? "Box" : "$$$DUMMY").u16(0).u16(0).u16(parent);
        writer.end();
        writer.end();
    }
    writer.end().end();
    return writer.bytes();
}

std::string sharedPointFaces3ds(int faces, bool rim, bool groupPerFace)
{
    ThreeDSWriter writer;
    writer.chunk(_3dsChunk::MAIN).chunk(_3dsChunk::OBJECT_MESH);
    writer.chunk(_3dsChunk::OBJECT_BLOCK).str("Fan").chunk(_3dsChunk::TRI_MESH);
    const int points = rim ? faces + 2 : 3;
    writer.chunk(_3dsChunk::VERTEX_LIST).u16(static_cast<uint16_t>(points)).vec(0.0f, 0.0f, 1.0f);
    for (int p = 1; p < points; ++p) {
        const float angle = static_cast<float>(p) * 6.2831853f / static_cast<float>(points - 1);
        writer.vec(std::cos(angle), std::sin(angle), 0.0f);
    }
    writer.end();
    writer.chunk(_3dsChunk::FACE_LIST).u16(static_cast<uint16_t>(faces));
    for (int f = 0; f < faces; ++f) {
        const uint16_t b = rim ? static_cast<uint16_t>(f + 1) : 1;
        writer.u16(0).u16(b).u16(static_cast<uint16_t>(b + 1)).u16(0);
    }
    writer.chunk(_3dsChunk::SMOOTHINGS);
    for (int f = 0; f < faces; ++f)
        writer.u32(groupPerFace ? static_cast<uint32_t>(f + 1) : 1u);
    writer.end();
    writer.end();
    writer.end().end();
    cameraObject(writer);
    writer.end().end();
    return writer.bytes();
}

namespace {
LwoWriter& layer(LwoWriter& writer)
{
    return writer.chunk("LAYR").u2(0).u2(0).vec12(0.0f, 0.0f, 0.0f).s0("layer").end();
}
}

std::string boneChunkLwo(int count, int points)
{
    LwoWriter writer;
    layer(writer);
    writer.chunk("PNTS");
    for (int p = 0; p < points; ++p)
        writer.vec12(static_cast<float>(p), static_cast<float>(p % 7), 0.0f);
    writer.end();
    writer.chunk("POLS").id("BONE");
    for (int i = 0; i < count; ++i)
        writer.u2(2).vx(static_cast<uint32_t>(i % points)).vx(static_cast<uint32_t>((i + 1) % points));
    writer.end();
    return writer.file();
}

std::string polygonChunksLwo(int count)
{
    LwoWriter writer;
    layer(writer);
    writer.chunk("PNTS").vec12(0.0f, 0.0f, 0.0f).vec12(1.0f, 0.0f, 0.0f).vec12(0.0f, 1.0f, 0.0f).end();
    for (int i = 0; i < count; ++i)
        writer.chunk("POLS").id("FACE").u2(3).vx(0).vx(1).vx(2).end();
    return writer.file();
}

std::string descendingUvLwo(int points, bool perCorner)
{
    // Two rows of points joined by quads: points 2c and 2c + 1 are the lower and upper corner of
    // column c.
    const int columns = points / 2;
    LwoWriter writer;
    writer.chunk("TAGS").s0("uv-mapped").end();
    layer(writer);
    writer.chunk("PNTS");
    for (int c = 0; c < columns; ++c)
        writer.vec12(static_cast<float>(c), 0.0f, 0.0f).vec12(static_cast<float>(c), 1.0f, 0.0f);
    writer.end();
    writer.chunk("POLS").id("FACE");
    for (int c = 0; c + 1 < columns; ++c) {
        const uint32_t p = static_cast<uint32_t>(2 * c);
        writer.u2(4).vx(p).vx(p + 2).vx(p + 3).vx(p + 1);
    }
    writer.end();
    writer.chunk("PTAG").id("SURF");
    for (int c = 0; c + 1 < columns; ++c)
        writer.vx(static_cast<uint32_t>(c)).u2(0);
    writer.end();
    // The map lists the points from the last to the first; a corner map names each point with
    // each quad that has it, the later quad first.
    writer.chunk(perCorner ? "VMAD" : "VMAP").id("TXUV").u2(2).s0("uv");
    for (int p = 2 * columns - 1; p >= 0; --p) {
        const float u = static_cast<float>(p / 2) / static_cast<float>(columns), v = static_cast<float>(p % 2);
        if (!perCorner) {
            writer.vx(static_cast<uint32_t>(p)).f4(u).f4(v);
            continue;
        }
        for (int quad = p / 2; quad >= p / 2 - 1; --quad)
            if (quad >= 0 && quad + 1 < columns)
                writer.vx(static_cast<uint32_t>(p)).vx(static_cast<uint32_t>(quad)).f4(u).f4(v);
    }
    writer.end();
    writer.chunk("SURF").s0("uv-mapped").s0("");
    writer.subChunk("BLOK").subChunk("IMAP").s0("\x80").end();
    writer.subChunk("PROJ").u2(5).end().subChunk("IMAG").vx(1).end().subChunk("VMAP").s0("uv").end();
    writer.end().end();
    return writer.file();
}

std::string starPolygonsLwo(int corners, int count)
{
    LwoWriter writer;
    layer(writer);
    writer.chunk("PNTS");
    for (int i = 0; i < corners; ++i) {
        const double angle = 6.283185307179586 * i / corners;
        const double radius = i % 2 == 0 ? 1.0 : 0.4;
        writer.vec12(static_cast<float>(radius * std::cos(angle)), static_cast<float>(radius * std::sin(angle)), 0.0f);
    }
    writer.end();
    writer.chunk("POLS").id("FACE");
    for (int p = 0; p < count; ++p) {
        writer.u2(static_cast<uint16_t>(corners));
        for (int i = 0; i < corners; ++i)
            writer.vx(static_cast<uint32_t>(i));
    }
    writer.end();
    return writer.file();
}

std::string laughingEntities()
{
    std::string declarations = "<!ENTITY a \"aaaaaaaaaa\">\n";
    for (char level = 'b'; level <= 'j'; ++level) {
        const std::string previous = std::string("&") + static_cast<char>(level - 1) + ";";
        std::string repeated;
        for (int i = 0; i < 10; ++i)
            repeated += previous;
        declarations += std::string("<!ENTITY ") + level + " \"" + repeated + "\">\n";
    }
    return declarations;
}

std::string entityXml(const std::string& root, int length, int references)
{
    std::string text = "<?xml version=\"1.0\"?>\n<!DOCTYPE " + root + " [\n<!ENTITY e \"" +
                       std::string(static_cast<size_t>(length), 'x') + "\">\n]>\n<" + root + ">";
    for (int i = 0; i < references; ++i)
        text += "&e;";
    return text + "</" + root + ">\n";
}

std::string nestedEntityXml(const std::string& root, int length, int width, int references)
{
    std::string text = "<?xml version=\"1.0\"?>\n<!DOCTYPE " + root + " [\n<!ENTITY a \"" +
                       std::string(static_cast<size_t>(length), 'x') + "\">\n<!ENTITY b \"";
    for (int i = 0; i < width; ++i)
        text += "&a;";
    text += "\">\n]>\n<" + root + ">";
    for (int i = 0; i < references; ++i)
        text += "&b;";
    return text + "</" + root + ">\n";
}

std::string manyScansJpeg(int width, int height, int scans)
{
    JpegCompressor compressor(width, height, 1);
    jpeg_compress_struct& info = compressor.settings();
    // The DC coefficients first, then all AC coefficients of every block in one scan.
    jpeg_scan_info script[2] = {{1, {0, 0, 0, 0}, 0, 0, 0, 0}, {1, {0, 0, 0, 0}, 1, 63, 0, 0}};
    info.scan_info = script;
    info.num_scans = 2;
    const std::vector<unsigned char> row(static_cast<size_t>(width), 128);
    const std::string bytes = compressor.compress([&](size_t) { return row.data(); });

    // The AC scan with the tables written ahead of it runs from the first marker after the DC
    // scan's data to the end-of-image marker.
    const std::string sos("\xFF\xDA", 2);
    const size_t dcScan = bytes.find(sos);
    if (dcScan == std::string::npos || bytes.size() < 2)
        throw std::runtime_error("manyScansJpeg: no scan in the compressed image");
    size_t acStart = dcScan + 2;
    for (;; ++acStart) {
        if (acStart + 1 >= bytes.size())
            throw std::runtime_error("manyScansJpeg: the DC scan has no end");
        const unsigned char next = static_cast<unsigned char>(bytes[acStart + 1]);
        if (static_cast<unsigned char>(bytes[acStart]) == 0xFF && next != 0x00 && (next < 0xD0 || next > 0xD7) &&
            acStart > dcScan + 2 + static_cast<unsigned char>(bytes[dcScan + 3]))
            break;
    }
    const size_t end = bytes.size() - 2;  // the end-of-image marker
    const std::string acScan = bytes.substr(acStart, end - acStart);
    std::string file = bytes.substr(0, acStart);
    for (int i = 0; i < scans; ++i)
        file += acScan;
    return file + bytes.substr(end);
}

std::string shortDataJpeg(int width, int height, bool progressive)
{
    // A small picture's file, with all its tables and the data of its few blocks, then declared
    // larger: the data ends after the first blocks of the declared picture.
    JpegCompressor compressor(8, 8, progressive ? 1 : 3);
    if (progressive)
        jpeg_simple_progression(&compressor.settings());
    const std::vector<unsigned char> row(8 * 3, 128);
    std::string bytes = compressor.compress([&](size_t) { return row.data(); });

    // The frame header: marker, length (2), precision (1), then height and width, big-endian.
    const unsigned char frame = progressive ? 0xC2 : 0xC0;
    size_t at = 2;  // past the start-of-image marker
    while (at + 8 < bytes.size() && static_cast<unsigned char>(bytes[at + 1]) != frame)
        at += 2 + (static_cast<size_t>(static_cast<unsigned char>(bytes[at + 2])) << 8 |
                   static_cast<unsigned char>(bytes[at + 3]));
    if (at + 8 >= bytes.size() || static_cast<unsigned char>(bytes[at]) != 0xFF)
        throw std::runtime_error("shortDataJpeg: no frame header in the compressed image");
    bytes[at + 5] = static_cast<char>(height >> 8);
    bytes[at + 6] = static_cast<char>(height & 0xFF);
    bytes[at + 7] = static_cast<char>(width >> 8);
    bytes[at + 8] = static_cast<char>(width & 0xFF);
    return bytes;
}

std::string patchedWav(size_t offset, uint32_t value, size_t width)
{
    std::string file = wavFile(22050, 1, squareWave(64, 1, 3000));
    if (offset + width > file.size())
        throw std::runtime_error("patchedWav: offset past the file");
    for (size_t i = 0; i < width; ++i)
        file[offset + i] = static_cast<char>(value >> (8 * i) & 0xff);
    return file;
}

namespace {
// Offsets of the fields of wavFile's header.
const size_t WAV_FORMAT_SIZE = 16;
const size_t WAV_FORMAT_TAG = 20;
const size_t WAV_CHANNELS = 22;
const size_t WAV_RATE = 24;
const size_t WAV_BITS = 34;
const size_t WAV_DATA_ID = 36;
const size_t WAV_DATA_SIZE = 40;

std::string wavPrefix(size_t length) { return patchedWav(0, 'R', 1).substr(0, length); }

std::string nested3ds() { return nestedMainChunks3ds(20000); }
std::string chainedNodes() { return chainedNodes3ds(60000); }
std::string sharedPointFaces() { return sharedPointFaces3ds(65535, false); }
std::string fanFaces() { return sharedPointFaces3ds(65533, true); }
std::string groupPerSharedPointFace() { return sharedPointFaces3ds(65535, false, true); }
std::string manyBones() { return boneChunkLwo(65535, 3); }
std::string manyPolygonChunks() { return polygonChunksLwo(50000); }
// 100,000 points: a store that moves what it holds for each entry takes seconds, while the replay's
// first frame of the 100,000 triangles stays inside its limit under the sanitizers too; the loader
// test loads 200,000 and measures the growth.
std::string descendingUvMap() { return descendingUvLwo(100000, false); }
std::string descendingUvCorners() { return descendingUvLwo(100000, true); }
// 250 stars: with the first frame drawn (display lists of 255,000 triangles) this stays well inside
// the replay's second on a busy machine; the loader test cuts 500 and measures the growth.
std::string starPolygons() { return starPolygonsLwo(1023, 250); }
std::string timelineEntities() { return entityXml("timeline", 40000, 45000); }
std::string sceneEntities() { return entityXml("scene", 40000, 45000); }
std::string fontsetEntities() { return entityXml("fontset", 40000, 45000); }
// About 50 MB of text from 2.5 KB, in fewer expansions than Xerces' own limit used to allow.
std::string timelineNestedEntities() { return nestedEntityXml("timeline", 1020, 300, 165); }
std::string sceneNestedEntities() { return nestedEntityXml("scene", 1020, 300, 165); }
std::string fontsetNestedEntities() { return nestedEntityXml("fontset", 1020, 300, 165); }
std::string manyScans() { return manyScansJpeg(8192, 8192, 2000); }
std::string shortBaseline() { return shortDataJpeg(8192, 8192, false); }
std::string shortProgressive() { return shortDataJpeg(8192, 8192, true); }
}

const std::vector<HostileFile>& hostileFiles()
{
    static const std::vector<HostileFile> files = {
        {"wav", "zero-channels.wav", "the header says 0 channels", [] { return patchedWav(WAV_CHANNELS, 0, 2); }},
        {"wav", "three-channels.wav", "the header says 3 channels", [] { return patchedWav(WAV_CHANNELS, 3, 2); }},
        {"wav", "zero-hertz.wav", "the header says 0 Hz", [] { return patchedWav(WAV_RATE, 0, 4); }},
        {"wav", "one-hertz.wav", "the header says 1 Hz", [] { return patchedWav(WAV_RATE, 1, 4); }},
        {"wav", "too-slow.wav", "the header says 3999 Hz", [] { return patchedWav(WAV_RATE, 3999, 4); }},
        {"wav", "too-fast.wav", "the header says 192001 Hz", [] { return patchedWav(WAV_RATE, 192001, 4); }},
        {"wav", "24-bits.wav", "the header says 24 bits a sample", [] { return patchedWav(WAV_BITS, 24, 2); }},
        {"wav", "32-bits.wav", "the header says 32 bits a sample", [] { return patchedWav(WAV_BITS, 32, 2); }},
        {"wav", "float-samples.wav", "the format tag is 3, not 1 (PCM)", [] { return patchedWav(WAV_FORMAT_TAG, 3, 2); }},
        {"wav", "adpcm-samples.wav", "the format tag is 2, not 1 (PCM)", [] { return patchedWav(WAV_FORMAT_TAG, 2, 2); }},
        {"wav", "short-format-chunk.wav", "the format chunk holds 14 bytes, fewer than the 16 of its fields",
         [] { return patchedWav(WAV_FORMAT_SIZE, 14, 4); }},
        {"wav", "truncated-format-chunk.wav", "the \"fmt \" chunk at byte 12 declares 16 bytes, but only 10 follow",
         [] { return wavPrefix(30); }},
        {"wav", "format-chunk-past-the-end.wav", "the \"fmt \" chunk at byte 12 declares 4294967295 bytes",
         [] { return patchedWav(WAV_FORMAT_SIZE, 0xffffffff, 4); }},
        {"wav", "no-data-chunk.wav", "there is no data chunk", [] { return wavPrefix(WAV_DATA_ID); }},
        {"wav", "cut-chunk-header.wav", "the chunk header at byte 36 is cut short", [] { return wavPrefix(WAV_DATA_ID + 6); }},
        {"wav", "riff-header-only.wav", "the RIFF header is cut short at 10 bytes", [] { return wavPrefix(10); }},
        {"wav", "data-before-format.wav", "the data chunk comes before any format chunk",
         [] { return std::string("RIFF\x10\0\0\0WAVEdata\x04\0\0\0\0\0\0\0", 24); }},
        // "WAVE" straight after "RIFF", which SDL's reader takes as a header without a size, then a
        // format chunk that declares 3.9 GB.
        {"wav", "wave-after-riff.wav", "the \"fmt \" chunk at byte 8 declares 3886371344 bytes, but only 12 follow",
         [] { return std::string("RIFFWAVEfmt \x10\x52\xa5\xe7G\xff\x7f\0\0\0\0\0\x01\0\0\0", 28); }},
        // A chunk of another kind before the format chunk: the mixer's music reader freed its buffer
        // twice for it.
        {"wav", "chunk-before-format.wav",
         "the \"JUNK\" chunk at byte 12 comes before the format chunk, where only \"LIST\" and \"fact\" chunks are read",
         [] {
             std::string file = patchedWav(0, 'R', 1);
             file.insert(12, std::string("JUNK\x04\0\0\0abcd", 12));
             return file;
         }},
        // A claim of 400 MB of samples over the 128 bytes there are.
        // The mixer is told of the 128 there are: the file loads, and nothing is allocated for the rest.
        {"wav", "huge-data-claim.wav", "",
         [] { return patchedWav(WAV_DATA_SIZE, 400u << 20, 4); }},
        {"3ds", "nested-main-chunks.3ds", "levels of nested chunks", nested3ds},
        {"3ds", "chained-nodes.3ds", "would hold more than 128 keyframers", chainedNodes},
        {"3ds", "shared-point-faces.3ds", "", sharedPointFaces},
        {"3ds", "fan-faces.3ds", "", fanFaces},
        {"3ds", "group-per-shared-point-face.3ds", "", groupPerSharedPointFace},
        {"lwo", "many-bones.lwo", "", manyBones},
        {"lwo", "many-polygon-chunks.lwo", "", manyPolygonChunks},
        {"lwo", "descending-uv-map.lwo", "", descendingUvMap},
        {"lwo", "descending-uv-corners.lwo", "", descendingUvCorners},
        {"lwo", "star-polygons.lwo", "", starPolygons},
        {"timeline", "entity-timeline.xml", "the entity \"e\" stands for 40000 characters", timelineEntities},
        {"scene", "entity-scene.xml", "the entity \"e\" stands for 40000 characters", sceneEntities},
        {"fontset", "entity-fontset.xml", "the entity \"e\" stands for 40000 characters", fontsetEntities},
        {"timeline", "nested-entities-timeline.xml", "the entity expansion budget was exceeded",
         timelineNestedEntities},
        {"scene", "nested-entities-scene.xml", "the entity expansion budget was exceeded", sceneNestedEntities},
        {"fontset", "nested-entities-fontset.xml", "the entity expansion budget was exceeded", fontsetNestedEntities},
        // A parameter of 4 MiB: Xerces took ten times a value's size before the reader saw it.
        {"timeline", "long-parameter-timeline.xml", "bytes go by without a '<'",
         [] {
             return "<?xml version=\"1.0\"?>\n<timeline>\n  <action name=\"note\" type=\"string\" time=\"0\" param=\"" +
                    std::string(4 << 20, 'p') + "\"/>\n</timeline>\n";
         }},
        {"jpeg", "many-scans.jpg", "too many scans", manyScans},
        {"jpeg", "short-baseline.jpg", "far too short for an image of 8192x8192 pixels", shortBaseline},
        {"jpeg", "short-progressive.jpg", "far too short for an image of 8192x8192 pixels", shortProgressive},
    };
    return files;
}
