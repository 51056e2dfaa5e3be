#include "BenchModels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "LwoWriter.h"
#include "ThreeDSWriter.h"

namespace {
// 3D Studio chunk ids the generated files use, grouped by parent.
const uint16_t MAIN = 0x4D4D;
// sub chunks of MAIN
const uint16_t EDITOR = 0x3D3D;
// sub chunks of EDITOR
const uint16_t MATERIAL = 0xAFFF;
const uint16_t OBJECT_BLOCK = 0x4000;
// sub chunks of MATERIAL
const uint16_t MATERIAL_NAME = 0xA000;
const uint16_t MATERIAL_DIFFUSE = 0xA020;
const uint16_t RGB_BYTE = 0x0011;
// sub chunks of OBJECT_BLOCK and its triangle mesh
const uint16_t TRI_MESH = 0x4100;
const uint16_t VERTEX_LIST = 0x4110;
const uint16_t FACE_LIST = 0x4120;
const uint16_t FACE_MATERIAL = 0x4130;
const uint16_t MAPPING_COORDINATES = 0x4140;
const uint16_t SMOOTHINGS = 0x4150;

// The largest 3D Studio object side in cells: (128 + 1)^2 points fit the 16-bit counts.
const int MAX_3DS_SIDE = 128;

// Bytes one LWO2 grid cell costs: a point, a four-corner polygon, its tag and four corner UVs.
const std::size_t LWO_CELL_BYTES = 12 + 10 + 4 + 4 * 12;
// Bytes one 3D Studio grid cell costs: a point with its UV, two faces with material and
// smoothing entries.
const std::size_t THREEDS_CELL_BYTES = 20 + 2 * 14;

int sideFor(std::size_t targetBytes, std::size_t cellBytes)
{
    return std::max(2, static_cast<int>(std::sqrt(static_cast<double>(targetBytes) / static_cast<double>(cellBytes))));
}

LwoWriter& uvSurface(LwoWriter& w, const std::string& name, float r, float g, float b)
{
    w.chunk("SURF").s0(name).s0("");
    w.subChunk("COLR").vec12(r, g, b).vx(0).end();
    w.subChunk("BLOK");
    w.subChunk("IMAP").s0("\x80").subChunk("CHAN").id("COLR").end().end();
    w.subChunk("TMAP");
    w.subChunk("CNTR").vec12(0, 0, 0).vx(0).end();
    w.subChunk("SIZE").vec12(1, 1, 1).vx(0).end();
    w.end();
    w.subChunk("PROJ").u2(5).end();  // UV
    w.subChunk("AXIS").u2(2).end();
    w.subChunk("IMAG").vx(1).end();
    w.subChunk("WRAP").u2(1).u2(1).end();
    w.subChunk("VMAP").s0("uv").end();
    w.end();
    return w.end();
}

void threeDSObjectChunk(ThreeDSWriter& w, const std::string& name, int width, int height, float x0)
{
    const int columns = width + 1;
    w.chunk(OBJECT_BLOCK).str(name).chunk(TRI_MESH);
    w.chunk(VERTEX_LIST).u16(static_cast<uint16_t>(columns * (height + 1)));
    for (int y = 0; y <= height; ++y)
        for (int x = 0; x <= width; ++x)
            w.vec(x0 + static_cast<float>(x), static_cast<float>(y), 0.0f);
    w.end();
    w.chunk(MAPPING_COORDINATES).u16(static_cast<uint16_t>(columns * (height + 1)));
    for (int y = 0; y <= height; ++y)
        for (int x = 0; x <= width; ++x)
            w.f32(static_cast<float>(x) / static_cast<float>(width)).f32(static_cast<float>(y) / static_cast<float>(height));
    w.end();
    const int faces = 2 * width * height;
    w.chunk(FACE_LIST).u16(static_cast<uint16_t>(faces));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint16_t a = static_cast<uint16_t>(y * columns + x);
            const uint16_t b = static_cast<uint16_t>(a + 1);
            const uint16_t c = static_cast<uint16_t>(a + columns + 1);
            const uint16_t d = static_cast<uint16_t>(a + columns);
            w.u16(a).u16(b).u16(c).u16(0).u16(a).u16(c).u16(d).u16(0);
        }
    w.chunk(FACE_MATERIAL).str("grey").u16(static_cast<uint16_t>(faces));
    for (int f = 0; f < faces; ++f)
        w.u16(static_cast<uint16_t>(f));
    w.end();
    w.chunk(SMOOTHINGS);
    for (int f = 0; f < faces; ++f)
        w.u32(1);
    w.end();
    w.end();  // face list
    w.end();  // triangle mesh
    w.end();  // object block
}

void greyMaterial(ThreeDSWriter& w)
{
    w.chunk(MATERIAL).chunk(MATERIAL_NAME).str("grey").end();
    w.chunk(MATERIAL_DIFFUSE).chunk(RGB_BYTE).u8(160).u8(160).u8(160).end().end();
    w.end();
}
}

std::string lwoGrid(std::size_t targetBytes)
{
    const int side = sideFor(targetBytes, LWO_CELL_BYTES);
    const int columns = side + 1;
    LwoWriter w;
    w.chunk("TAGS").s0("Grass").s0("Clay").end();
    w.chunk("LAYR").u2(1).u2(0).vec12(0, 0, 0).s0("grid").end();
    w.chunk("PNTS");
    for (int y = 0; y <= side; ++y)
        for (int x = 0; x <= side; ++x)
            w.vec12(static_cast<float>(x), static_cast<float>(y), 0.0f);
    w.end();
    w.chunk("POLS").id("FACE");
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const uint32_t a = static_cast<uint32_t>(y * columns + x);
            w.u2(4).vx(a).vx(a + 1).vx(a + 1 + static_cast<uint32_t>(columns)).vx(a + static_cast<uint32_t>(columns));
        }
    w.end();
    w.chunk("PTAG").id("SURF");
    for (uint32_t p = 0; p < static_cast<uint32_t>(side * side); ++p)
        w.vx(p).u2(static_cast<uint16_t>(p % 2));
    w.end();
    w.chunk("VMAD").id("TXUV").u2(2).s0("uv");
    const float step = 1.0f / static_cast<float>(side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const uint32_t polygon = static_cast<uint32_t>(y * side + x);
            const uint32_t a = static_cast<uint32_t>(y * columns + x);
            const uint32_t corners[4] = {a, a + 1, a + 1 + static_cast<uint32_t>(columns), a + static_cast<uint32_t>(columns)};
            const float u[4] = {x * step, (x + 1) * step, (x + 1) * step, x * step};
            const float v[4] = {y * step, y * step, (y + 1) * step, (y + 1) * step};
            for (int c = 0; c < 4; ++c)
                w.vx(corners[c]).vx(polygon).f4(u[c]).f4(v[c]);
        }
    w.end();
    w.chunk("CLIP").u4(1).subChunk("STIL").s0("grid.jpg").end().end();
    uvSurface(w, "Grass", 0.2f, 0.7f, 0.2f);
    uvSurface(w, "Clay", 0.7f, 0.4f, 0.2f);
    return w.file();
}

std::string lwoSkinnedActor(int cells, int bones)
{
    const int columns = cells + 1;
    const float step = static_cast<float>(bones) / static_cast<float>(cells);
    LwoWriter w;
    w.chunk("TAGS").s0("Skin");
    for (int b = 0; b < bones; ++b)
        w.s0("bone" + std::to_string(b));
    w.end();
    w.chunk("LAYR").u2(1).u2(0).vec12(0, 0, 0).s0("body").end();
    w.chunk("PNTS");
    for (int y = 0; y <= cells; ++y)
        for (int x = 0; x <= cells; ++x)
            w.vec12(x * step, y * step * 0.1f, 0.0f);
    w.end();
    // Each point belongs to the bone it lies on and to the neighbour on the nearer side, weighted
    // by how far it lies from the bone's middle.
    for (int b = 0; b < bones; ++b) {
        w.chunk("VMAP").id("WGHT").u2(1).s0("bone" + std::to_string(b));
        for (int y = 0; y <= cells; ++y)
            for (int x = 0; x <= cells; ++x) {
                const float px = x * step;
                const int own = std::min(bones - 1, static_cast<int>(px));
                const float offset = px - (static_cast<float>(own) + 0.5f);  // -0.5 .. 0.5
                const int other = std::max(0, std::min(bones - 1, own + (offset < 0.0f ? -1 : 1)));
                const float share = std::fabs(offset) * 0.6f;
                float weight = 0.0f;
                if (b == own)
                    weight = other == own ? 1.0f : 1.0f - share;
                else if (b == other)
                    weight = share;
                if (weight > 0.0f)
                    w.vx(static_cast<uint32_t>(y * columns + x)).f4(weight);
            }
        w.end();
    }
    w.chunk("POLS").id("FACE");
    for (int y = 0; y < cells; ++y)
        for (int x = 0; x < cells; ++x) {
            const uint32_t a = static_cast<uint32_t>(y * columns + x);
            w.u2(4).vx(a).vx(a + 1).vx(a + 1 + static_cast<uint32_t>(columns)).vx(a + static_cast<uint32_t>(columns));
        }
    w.end();
    w.chunk("PTAG").id("SURF");
    for (uint32_t p = 0; p < static_cast<uint32_t>(cells * cells); ++p)
        w.vx(p).u2(0);
    w.end();
    w.chunk("LAYR").u2(2).u2(0).vec12(0, 0, 0).s0("skeleton").end();
    w.chunk("PNTS");
    for (int b = 0; b <= bones; ++b)
        w.vec12(static_cast<float>(b), 0.0f, 0.0f);
    w.end();
    w.chunk("POLS").id("BONE");
    for (int b = 0; b < bones; ++b)
        w.u2(2).vx(static_cast<uint32_t>(b)).vx(static_cast<uint32_t>(b + 1));
    w.end();
    w.chunk("PTAG").id("BNWT");
    for (int b = 0; b < bones; ++b)
        w.vx(static_cast<uint32_t>(b)).u2(static_cast<uint16_t>(b + 1));
    w.end();
    w.chunk("SURF").s0("Skin").s0("").subChunk("COLR").vec12(0.9f, 0.7f, 0.6f).vx(0).end().end();
    return w.file();
}

std::string threeDSGrid(std::size_t targetBytes)
{
    int cells = sideFor(targetBytes, THREEDS_CELL_BYTES);
    cells *= cells;
    ThreeDSWriter w;
    w.chunk(MAIN).chunk(EDITOR);
    greyMaterial(w);
    int object = 0;
    while (cells > 0) {
        const int side = std::min(MAX_3DS_SIDE, std::max(2, static_cast<int>(std::sqrt(static_cast<double>(cells)))));
        threeDSObjectChunk(w, "grid" + std::to_string(object), side, side, static_cast<float>(object * (MAX_3DS_SIDE + 1)));
        cells -= side * side;
        ++object;
    }
    w.end().end();
    return w.bytes();
}

std::string threeDSObject(int width, int height)
{
    ThreeDSWriter w;
    w.chunk(MAIN).chunk(EDITOR);
    greyMaterial(w);
    threeDSObjectChunk(w, "grid", width, height, 0.0f);
    w.end().end();
    return w.bytes();
}
