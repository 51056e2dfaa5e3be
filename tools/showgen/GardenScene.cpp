#include "Scenes.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "BlockFont.h"
#include "Characters.h"
#include "Drawing.h"
#include "LwoWriter.h"
#include "Pi.h"
#include "Random.h"
#include "ShowFolder.h"
#include "StudioChunks.h"
#include "ThreeDSWriter.h"
#include "Vec3.h"

// The garden, the show's 3D scene: a lawn and a crate that spins and bobs over it, in a 3D Studio
// scene with a lamp and a gliding camera, under a sky sphere, with the logo flying in as a 3D text,
// the sun as a sprite in the scene and a badge on the window.
//
// Scene units, y up. The camera looks along +z at the logo, which the engine's 3D text always flies
// along the same paths: it stretches out from x = 0 towards x = 300 in the plane z = 300, 0 to 50
// high, until 12.5 s of playback, then swings its free end towards the camera. The camera stays
// well within the far plane of 300 that the show plays with.
namespace {
using namespace studio;

// The garden plays from 8 s to 21 s of the show. Its scene is animated at playback time, 24 frames a
// second, so its keys sit at the frames of those seconds.
const int FRAMES_PER_SECOND = 24;
const uint32_t FIRST_FRAME = 8 * FRAMES_PER_SECOND;
const uint32_t LAST_FRAME = 21 * FRAMES_PER_SECOND;

const Color WOOD = hex(0xd9a066);
const Color DARK_WOOD = hex(0x8a5a2b);
const Color LAWN = hex(0x6dbb4a);
const Color LAWN_STRIPE = hex(0x5fab3f);
const Color ZENITH = hex(0x3d7ad0);
const Color HAZE = hex(0xe4f1ff);
const Color HILLS = hex(0x8fbf86);
const Color FAR_HILLS = hex(0xa9cdb2);
const Color SUN_YELLOW = hex(0xffd23f);
const Color SUN_ORANGE = ORANGE;
const Color LETTERS[] = {ORANGE, PINK, BLUE, GREEN};
const Color BLACK{0.0, 0.0, 0.0};

// Block letters made bold by drawing each twice, half a block apart, each letter in its own colour,
// over a shadow; the same shapes in white when mask is set.
void boldText(Canvas& canvas, const Place& place, const std::string& text, Vec2 centre, double cell, bool mask)
{
    const double left = centre.x - textWidth(text, cell) / 2;
    for (size_t i = 0; i < text.size(); ++i) {
        const Vec2 at{left + (i * 6 + 2.25) * cell, centre.y};
        const std::string letter(1, text[i]);
        for (double bold : {0.0, cell / 2})
            drawText(canvas, place, letter, at + Vec2{bold + cell * 0.4, -cell * 0.4}, cell, mask ? WHITE : SHADOW);
        for (double bold : {0.0, cell / 2})
            drawText(canvas, place, letter, at + Vec2{bold, 0.0}, cell, mask ? WHITE : LETTERS[i % 4]);
    }
}

// One side of the crate: planks in a frame, nailed at the corners, with the show's name.
Canvas crateSide()
{
    Canvas canvas(SPRITE_SIZE, SPRITE_SIZE);
    const Place place = canvas.view(1.0);
    canvas.gradient(WOOD, mix(WOOD, DARK_WOOD, 0.3));
    for (double y : {-0.5, 0.0, 0.5})
        canvas.paint(box({0.0, y}, 2.0, 0.025), place, DARK_WOOD);
    const Shape outer = box({0.0, 0.0}, 2.0, 2.0);
    const Shape inner = box({0.0, 0.0}, 1.6, 1.6);
    canvas.paint(subtract(outer, inner), place, mix(WOOD, DARK_WOOD, 0.55));
    canvas.paint(subtract(outer, box({0.0, 0.0}, 1.94, 1.94)), place, INK);
    canvas.paint(subtract(box({0.0, 0.0}, 1.64, 1.64), inner), place, INK);
    for (double x : {-0.9, 0.9})
        for (double y : {-0.9, 0.9})
            canvas.paint(circle({x, y}, 0.045), place, hex(0x6f6f78));
    boldText(canvas, place, "TOVO", {-0.04, 0.02}, 0.055, false);
    return canvas;
}

// Mown stripes along the lawn with a scatter of daisies and buttercups.
Canvas lawn()
{
    Canvas canvas(BANNER_WIDTH, SPRITE_SIZE, LAWN);
    const Place place = canvas.view(2.0);
    const int stripes = 12;
    for (int i = 0; i < stripes; i += 2)
        canvas.paint(box({-2.0 + (i + 0.5) * 4.0 / stripes, 0.0}, 4.0 / stripes, 2.0), place, LAWN_STRIPE);
    Random random(2024);
    for (int i = 0; i < 140; ++i) {
        const Vec2 at{random.between(-2.0, 2.0), random.between(-1.0, 1.0)};
        const bool daisy = random.chance(0.6);
        canvas.paint(circle(at, 0.018), place, daisy ? WHITE : SUN_YELLOW);
        if (daisy)
            canvas.paint(circle(at, 0.007), place, SUN_YELLOW);
    }
    return canvas;
}

// The sky all around: drawn with the zenith at the top and the horizon across the middle, x running
// once around the horizon with straight ahead in the middle. The sky sphere maps the picture's first
// row to the nadir and runs its columns the other way round, so the picture is stored turned by half
// a turn.
Canvas sky()
{
    Canvas canvas(2 * BANNER_WIDTH, BANNER_WIDTH);
    const Place place = canvas.view(2.0);  // x -2 .. 2 once around, y = elevation / 90 degrees
    canvas.gradient(ZENITH, HAZE);
    // Below the horizon: far hills, nearer hills, then the land beneath.
    Random random(77);
    for (int i = 0; i < 14; ++i)
        canvas.paint(ellipse({-2.0 + i * 0.31, -0.02}, random.between(0.25, 0.4), random.between(0.06, 0.1)), place,
                     FAR_HILLS);
    for (int i = 0; i < 10; ++i)
        canvas.paint(ellipse({-1.9 + i * 0.42, -0.06}, random.between(0.25, 0.35), random.between(0.06, 0.09)),
                     place, HILLS);
    canvas.paint(box({0.0, -0.56}, 4.0, 1.0), place, mix(HILLS, LAWN, 0.5));
    // Clouds a little above the horizon, some straight ahead where the camera looks.
    auto cloud = [&](Vec2 at, double size) {
        for (int puff = 0; puff < 5; ++puff) {
            const Vec2 offset{(puff - 2) * 0.045 * size, (puff % 2) * 0.02 * size};
            canvas.paint(ellipse(at + offset, 0.05 * size, 0.03 * size), place, WHITE, 0.9);
        }
        canvas.paint(ellipse(at + Vec2{0.0, -0.012 * size}, 0.12 * size, 0.018 * size), place, WHITE, 0.9);
    };
    cloud({-0.16, 0.1}, 1.1);
    cloud({0.14, 0.16}, 0.9);
    for (int i = 0; i < 16; ++i)
        cloud({random.between(-2.0, 2.0), random.between(0.07, 0.3)}, random.between(0.7, 1.4));
    canvas.turnHalf();
    return canvas;
}

// The sun with its rays; its mask the same shapes.
Canvas sun(bool mask)
{
    Canvas canvas(SPRITE_SIZE / 2, SPRITE_SIZE / 2, mask ? BLACK : SUN_ORANGE);
    const Place place = canvas.view(1.0);
    canvas.paint(star({0.0, 0.0}, 0.97, 0.62, 12), place, mask ? WHITE : SUN_ORANGE);
    canvas.paint(circle({0.0, 0.0}, 0.6), place, mask ? WHITE : SUN_YELLOW);
    if (!mask) {
        Pose pose;
        drawEyes(canvas, place, {0.2, 0.12}, 0.07, 0.1, pose);
        drawMouth(canvas, place, {0.0, -0.22}, 0.36, Mouth::Wide);
    }
    return canvas;
}

// A pill-shaped "3D" badge for a corner of the window.
Canvas badge(bool mask)
{
    Canvas canvas(SPRITE_SIZE, SPRITE_SIZE / 2, mask ? BLACK : WHITE);
    const Place place = spriteView(canvas);
    const Vec2 left{-1.05, 0.0};
    const Vec2 right{1.05, 0.0};
    canvas.paint(capsule(left, right, 0.82 + OUTLINE), place, mask ? WHITE : INK);
    canvas.paint(capsule(left, right, 0.82), place, mask ? WHITE : PINK);
    if (!mask) {
        drawText(canvas, place, "3D", Vec2{0.08, -0.08}, 0.16, SHADOW);
        drawText(canvas, place, "3D", Vec2{0.0, 0.0}, 0.16, WHITE);
    }
    return canvas;
}

// The logo the 3D text flies in. The text stretches it over a quad six times as wide as high, so the
// letters are drawn narrow to come out in their proportions.
Canvas logo(bool mask)
{
    Canvas canvas(BANNER_WIDTH, SPRITE_SIZE / 2, mask ? BLACK : SHADOW);
    const Place place = canvas.view(4.0).scaled(4.0 / 6.0, 1.0);
    boldText(canvas, place, "KELVO", {-0.1, 0.05}, 0.25, mask);
    return canvas;
}

// The board of the signpost object.
Canvas signboard()
{
    Canvas canvas(SPRITE_SIZE / 2, SPRITE_SIZE / 4, WOOD);
    const Place place = canvas.view(2.0);
    canvas.paint(subtract(box({0.0, 0.0}, 4.0, 2.0), box({0.0, 0.0}, 3.8, 1.8)), place, DARK_WOOD);
    boldText(canvas, place, "TOVO", {-0.1, 0.05}, 0.09, false);
    // The board's planar map puts the picture's last row at the top and runs x to the viewer's
    // left, so the picture is stored turned by half a turn, as the sky's is.
    canvas.turnHalf();
    return canvas;
}

// A rectangle of a model, its corners counter-clockwise as seen from outside: lower left, lower
// right, upper right, upper left, with the texture upright on it.
struct Quad {
    std::array<Vec3, 4> corners;
};

// The quad facing along normal at centre + normal, spanning right and up on either side of its
// middle; right must be up × normal for the corners to turn counter-clockwise seen from outside.
Quad quad(Vec3 centre, Vec3 normal, Vec3 right, Vec3 up)
{
    const Vec3 middle = centre + normal;
    return {{middle - right - up, middle + right - up, middle + right + up, middle - right + up}};
}

// The six sides of a box of the given size around centre.
std::vector<Quad> boxSides(Vec3 centre, Vec3 size)
{
    const Vec3 half = size * 0.5;
    std::vector<Quad> sides;
    // normal, up: for the four upright sides up is +y; the top and the bottom are upright as seen
    // from the camera's side (-z).
    const Vec3 normals[] = {{0, 0, -1}, {1, 0, 0}, {0, 0, 1}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}};
    const Vec3 ups[] = {{0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (int i = 0; i < 6; ++i) {
        const Vec3 n = normals[i];
        const Vec3 u = ups[i];
        const Vec3 r = cross(u, n);
        auto scaled = [&](Vec3 axis) {
            return Vec3{axis.x * half.x, axis.y * half.y, axis.z * half.z};
        };
        sides.push_back(quad(centre, scaled(n), scaled(r), scaled(u)));
    }
    return sides;
}

// A triangle mesh as 3D Studio stores it: points with one texture coordinate each, and triangles
// of three point numbers, counter-clockwise seen from outside, each with its smoothing groups.
struct TriangleMesh {
    struct Vertex {
        Vec3 position;
        double u, v;  // v = 0 at the picture's first row: the engine does not flip it
    };
    std::vector<Vertex> vertices;
    std::vector<std::array<uint16_t, 3>> triangles;
    std::vector<uint32_t> smoothingGroups;

    // A quad as two triangles with the whole picture on it, smoothed on its own.
    void add(const Quad& q, uint32_t group)
    {
        const uint16_t first = static_cast<uint16_t>(vertices.size());
        const double us[] = {0.0, 1.0, 1.0, 0.0};
        const double vs[] = {1.0, 1.0, 0.0, 0.0};
        for (int i = 0; i < 4; ++i)
            vertices.push_back({q.corners[i], us[i], vs[i]});
        triangles.push_back({first, static_cast<uint16_t>(first + 1), static_cast<uint16_t>(first + 2)});
        triangles.push_back({first, static_cast<uint16_t>(first + 2), static_cast<uint16_t>(first + 3)});
        smoothingGroups.insert(smoothingGroups.end(), 2, group);
    }
};

// 3D Studio files are z-up: a point (x, y, z) of the scene, y up, is (x, -z, y) in the file, and so
// is a rotation axis.
Vec3 studioAxes(Vec3 p)
{
    return {p.x, -p.z, p.y};
}

const double CRATE_SIZE = 34.0;
const Vec3 CRATE_AT{150.0, 90.0, 200.0};  // its middle, high over the lawn
const double BOB = 7.0;             // up and down, half a second each way
const double SPIN = PI / 4;         // radians a second
const Vec3 SPIN_AXIS{0.33, 0.93, 0.16};  // of unit length

const double LAWN_LEVEL = -5.0;  // just below the logo's lower edge
const double LAWN_LEFT = -150.0, LAWN_RIGHT = 450.0, LAWN_NEAR = -20.0, LAWN_FAR = 300.0;

TriangleMesh crateMesh()
{
    TriangleMesh mesh;
    uint32_t group = 1;
    for (const Quad& side : boxSides(CRATE_AT, {CRATE_SIZE, CRATE_SIZE, CRATE_SIZE})) {
        mesh.add(side, group);
        group <<= 1;
    }
    return mesh;
}

// A grid of cells facing up, so that the lamp lights it point by point; the picture spans it whole.
TriangleMesh lawnMesh()
{
    const int columns = 12, rows = 8;
    TriangleMesh mesh;
    for (int row = 0; row <= rows; ++row)
        for (int column = 0; column <= columns; ++column) {
            const double u = static_cast<double>(column) / columns;
            const double v = static_cast<double>(row) / rows;
            const Vec3 at{LAWN_LEFT + u * (LAWN_RIGHT - LAWN_LEFT), LAWN_LEVEL, LAWN_NEAR + v * (LAWN_FAR - LAWN_NEAR)};
            mesh.vertices.push_back({at, u, v});
        }
    auto index = [&](int column, int row) { return static_cast<uint16_t>(row * (columns + 1) + column); };
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            // Counter-clockwise seen from above: nearer left, farther left, farther right.
            mesh.triangles.push_back({index(column, row), index(column, row + 1), index(column + 1, row + 1)});
            mesh.triangles.push_back({index(column, row), index(column + 1, row + 1), index(column + 1, row)});
            mesh.smoothingGroups.insert(mesh.smoothingGroups.end(), 2, 1);
        }
    return mesh;
}

struct Paint {
    std::string name;
    std::string picture;  // resource name of its texture
    double ambient, diffuse, specular;  // grey levels 0..1
    uint16_t shininess, strength;       // percent
};

void colourChunk(ThreeDSWriter& f, uint16_t id, double grey)
{
    const uint8_t level = static_cast<uint8_t>(std::lround(grey * 255.0));
    f.chunk(id).chunk(COLOUR_BYTE).u8(level).u8(level).u8(level).end().end();
}

void material(ThreeDSWriter& f, const Paint& s)
{
    f.chunk(MATERIAL);
    f.chunk(MATERIAL_NAME).str(s.name).end();
    colourChunk(f, MATERIAL_AMBIENT, s.ambient);
    colourChunk(f, MATERIAL_DIFFUSE, s.diffuse);
    colourChunk(f, MATERIAL_SPECULAR, s.specular);
    f.chunk(SHININESS).chunk(PERCENTAGE).u16(s.shininess).end().end();
    f.chunk(SHININESS_STRENGTH).chunk(PERCENTAGE).u16(s.strength).end().end();
    f.chunk(TEXTURE_MAP).chunk(PERCENTAGE).u16(100).end().chunk(MAP_FILE).str(s.picture).end().end();
    f.end();
}

// A mesh object: its points where they stand in the scene, and a mesh matrix without rotation
// whose origin is pivot, so that the object's keys place the point pivot.
void meshObject(ThreeDSWriter& f, const std::string& name, const TriangleMesh& mesh, Vec3 pivot,
                const std::string& surface)
{
    f.chunk(OBJECT).str(name).chunk(TRIANGLE_MESH);
    f.chunk(VERTICES).u16(static_cast<uint16_t>(mesh.vertices.size()));
    for (const TriangleMesh::Vertex& vertex : mesh.vertices)
        f.vec(studioAxes(vertex.position));
    f.end();
    f.chunk(MAPPING).u16(static_cast<uint16_t>(mesh.vertices.size()));
    for (const TriangleMesh::Vertex& vertex : mesh.vertices)
        f.f32(vertex.u).f32(vertex.v);
    f.end();
    f.chunk(MESH_MATRIX).vec(1, 0, 0).vec(0, 1, 0).vec(0, 0, 1).vec(studioAxes(pivot)).end();
    const uint16_t count = static_cast<uint16_t>(mesh.triangles.size());
    f.chunk(FACES).u16(count);
    const uint16_t allEdgesVisible = 0x0007;
    for (const auto& triangle : mesh.triangles)
        f.u16(triangle[0]).u16(triangle[1]).u16(triangle[2]).u16(allEdgesVisible);
    f.chunk(FACE_MATERIAL).str(surface).u16(count);
    for (uint16_t i = 0; i < count; ++i)
        f.u16(i);
    f.end();
    f.chunk(SMOOTHING);
    for (uint32_t groups : mesh.smoothingGroups)
        f.u32(groups);
    f.end();
    f.end();  // FACES
    f.end().end();
}

void lightObject(ThreeDSWriter& f, const std::string& name, Vec3 at, Color colour)
{
    f.chunk(OBJECT).str(name).chunk(LIGHT).vec(studioAxes(at));
    f.chunk(COLOUR_FLOAT).f32(colour.r).f32(colour.g).f32(colour.b).end();
    f.end().end();
}

const double LENS = 43.0;  // millimetres; the engine keeps its own field of view

void cameraObject(ThreeDSWriter& f, const std::string& name, Vec3 at, Vec3 target)
{
    f.chunk(OBJECT).str(name).chunk(CAMERA).vec(studioAxes(at)).vec(studioAxes(target)).f32(0.0).f32(LENS);
    f.end().end();
}

struct PositionKey {
    uint32_t frame;
    Vec3 position;
};

// A node of the keyframer: its number, its name and no parent; its tracks follow until end().
void beginNode(ThreeDSWriter& f, uint16_t kind, uint16_t id, const std::string& name)
{
    f.chunk(kind);
    f.chunk(NODE_ID).u16(id).end();
    f.chunk(NODE_HEADER).str(name).u16(0x4000).u16(0).u16(NO_PARENT).end();
}

void positionTrack(ThreeDSWriter& f, const std::vector<PositionKey>& keys)
{
    f.chunk(POSITION_TRACK).trackHeader(static_cast<uint32_t>(keys.size()));
    for (const PositionKey& key : keys)
        f.keyHeader(key.frame).vec(studioAxes(key.position));
    f.end();
}

// The crate bobs half a second up and half a second down over its place, and spins about its
// slanted axis all the while: rotation keys turn on from the key before.
void crateNode(ThreeDSWriter& f, uint16_t id)
{
    beginNode(f, OBJECT_NODE, id, "Crate");
    f.chunk(PIVOT).vec(0, 0, 0).end();
    std::vector<PositionKey> bob;
    for (uint32_t frame = FIRST_FRAME, i = 0; frame <= LAST_FRAME; frame += FRAMES_PER_SECOND / 2, ++i)
        bob.push_back({frame, CRATE_AT + Vec3{0.0, i % 2 == 0 ? -BOB : BOB, 0.0}});
    positionTrack(f, bob);
    const uint32_t turns = (LAST_FRAME - FIRST_FRAME) / FRAMES_PER_SECOND + 1;
    f.chunk(ROTATION_TRACK).trackHeader(turns);
    for (uint32_t i = 0; i < turns; ++i)
        f.keyHeader(FIRST_FRAME + i * FRAMES_PER_SECOND).f32(i == 0 ? 0.0 : SPIN).vec(studioAxes(SPIN_AXIS));
    f.end();
    f.chunk(SCALE_TRACK).trackHeader(1).keyHeader(FIRST_FRAME).vec(1, 1, 1).end();
    f.end();
}

const Vec3 CAMERA_FROM{112.0, 52.0, 10.0};
const Vec3 CAMERA_TARGET{150.0, 48.0, 300.0};

std::string gardenScene()
{
    ThreeDSWriter f;
    f.chunk(MAIN);
    f.chunk(VERSION).u32(3).end();
    f.chunk(EDITOR);
    f.chunk(MESH_VERSION).u32(3).end();
    material(f, {"Crate", "garden/crate.jpg", 0.8, 1.0, 0.0, 20, 0});
    material(f, {"Lawn", "garden/lawn.jpg", 0.7, 0.9, 0.0, 10, 0});
    f.chunk(MASTER_SCALE).f32(1.0).end();
    meshObject(f, "Lawn", lawnMesh(), {0.0, 0.0, 0.0}, "Lawn");
    meshObject(f, "Crate", crateMesh(), CRATE_AT, "Crate");
    // A warm lamp that swings across above the lawn, and a cool light from behind the camera that
    // keeps the crate's shaded sides from going black.
    lightObject(f, "Lamp", {30.0, 210.0, 80.0}, {1.0, 0.93, 0.8});
    lightObject(f, "Fill", {150.0, 90.0, -120.0}, {0.5, 0.55, 0.65});
    cameraObject(f, "Camera", CAMERA_FROM, CAMERA_TARGET);
    f.end();  // EDITOR

    f.chunk(KEYFRAMER);
    f.chunk(FRAMES).u32(FIRST_FRAME).u32(LAST_FRAME).end();
    const uint32_t middle = (FIRST_FRAME + LAST_FRAME) / 2;
    crateNode(f, 0);
    // The camera glides to the left and up a little while it keeps the logo in view.
    beginNode(f, CAMERA_NODE, 1, "Camera");
    positionTrack(f, {{FIRST_FRAME, CAMERA_FROM}, {middle, {150.0, 60.0, 20.0}}, {LAST_FRAME, {188.0, 70.0, 36.0}}});
    f.chunk(ROLL_TRACK).trackHeader(1).keyHeader(FIRST_FRAME).f32(0.0).end();
    f.end();
    beginNode(f, TARGET_NODE, 2, "Camera");
    positionTrack(f, {{FIRST_FRAME, CAMERA_TARGET}, {LAST_FRAME, CAMERA_TARGET + Vec3{0.0, 10.0, 0.0}}});
    f.end();
    beginNode(f, LIGHT_NODE, 3, "Lamp");
    positionTrack(f, {{FIRST_FRAME, {30.0, 210.0, 80.0}}, {middle, {150.0, 230.0, 140.0}}, {LAST_FRAME, {270.0, 210.0, 80.0}}});
    f.end();
    f.end();  // KEYFRAMER

    f.end();  // MAIN
    return f.bytes();
}

// A signpost: a post and a board whose front carries the signboard picture, mapped flat along z.
// LightWave's z runs the other way: a scene point (x, y, z) is (x, y, -z) in the file, so each
// polygon that turns counter-clockwise in the scene turns clockwise in the file, as LightWave's do.
std::string signpostObject()
{
    const Vec3 boardAt{0.0, 55.0, -3.0};  // on the camera's side of the post
    const Vec3 boardSize{60.0, 30.0, 2.0};
    std::vector<Quad> post = boxSides({0.0, 30.0, 0.0}, {4.0, 60.0, 4.0});
    std::vector<Quad> board = boxSides(boardAt, boardSize);

    LwoWriter f;
    f.chunk("TAGS").s0("Post").s0("Board").end();
    f.chunk("LAYR").u2(0).u2(0).vec12(0, 0, 0).s0("signpost").end();
    f.chunk("PNTS");
    for (const std::vector<Quad>* part : {&post, &board})
        for (const Quad& q : *part)
            for (const Vec3& corner : q.corners)
                f.vec12(corner.x, corner.y, -corner.z);
    f.end();
    f.chunk("POLS").id("FACE");
    const uint32_t polygons = static_cast<uint32_t>(post.size() + board.size());
    for (uint32_t polygon = 0; polygon < polygons; ++polygon) {
        f.u2(4);
        for (uint32_t corner = 0; corner < 4; ++corner)
            f.vx(polygon * 4 + corner);
    }
    f.end();
    f.chunk("PTAG").id("SURF");
    for (uint32_t polygon = 0; polygon < polygons; ++polygon)
        f.vx(polygon).u2(polygon < post.size() ? 0 : 1);
    f.end();
    f.chunk("CLIP").u4(1).subChunk("STIL").s0("signpost.jpg").end().end();

    f.chunk("SURF").s0("Post").s0("");
    f.subChunk("COLR").vec12(0.55, 0.35, 0.18).vx(0).end();
    f.subChunk("DIFF").f4(0.9).vx(0).end();
    f.subChunk("SPEC").f4(0.1).vx(0).end();
    f.subChunk("GLOS").f4(0.2).vx(0).end();
    f.end();

    const uint16_t planar = 0, zAxis = 2, edge = 3;
    f.chunk("SURF").s0("Board").s0("");
    f.subChunk("COLR").vec12(1.0, 1.0, 1.0).vx(0).end();
    f.subChunk("DIFF").f4(1.0).vx(0).end();
    f.subChunk("BLOK");
    f.subChunk("IMAP").s0("\x80");
    f.subChunk("CHAN").id("COLR").end();
    f.subChunk("ENAB").u2(1).end();
    f.subChunk("OPAC").u2(0).f4(1.0).vx(0).end();
    f.end();
    f.subChunk("TMAP");
    f.subChunk("CNTR").vec12(boardAt.x, boardAt.y, -boardAt.z).vx(0).end();
    f.subChunk("SIZE").vec12(boardSize).vx(0).end();
    f.subChunk("ROTA").vec12(0, 0, 0).vx(0).end();
    f.subChunk("OREF").s0("(none)").end();
    f.subChunk("FALL").u2(0).vec12(0, 0, 0).vx(0).end();
    f.subChunk("CSYS").u2(0).end();
    f.end();
    f.subChunk("PROJ").u2(planar).end();
    f.subChunk("AXIS").u2(zAxis).end();
    f.subChunk("IMAG").vx(1).end();
    f.subChunk("WRAP").u2(edge).u2(edge).end();
    f.end();  // BLOK
    f.end();  // SURF
    return f.file();
}

// Where the signpost stands: on the lawn, left of the crate and short of the logo, seen by the
// camera all along its glide.
const Vec3 SIGNPOST_AT{125.0, LAWN_LEVEL, 220.0};

// A scene file that shows the signpost: one object over the LightWave file, kept in its place by
// one key at the garden's first frame and one at its last. Scene files store z and bank the other
// way round, so z is written negated. The object file is named from the show's folder.
std::string signpostScene()
{
    std::string channels;
    const char* const axes[] = {"X", "Y", "Z"};
    const double at[] = {SIGNPOST_AT.x, SIGNPOST_AT.y, -SIGNPOST_AT.z};
    for (int i = 0; i < 3; ++i) {
        channels += std::string("    <channel name=\"Position.") + axes[i] + "\">\n";
        for (uint32_t frame : {FIRST_FRAME, LAST_FRAME})
            channels += "      <key frame=\"" + std::to_string(frame) + "\" value=\"" +
                        std::to_string(std::lround(at[i])) +
                        "\" curve=\"tcb\" tension=\"0\" continuity=\"0\" bias=\"0\"/>\n";
        channels += "    </channel>\n";
    }
    return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
           "<!-- The garden's signpost, made by tools/showgen: the LightWave object placed on the lawn. -->\n"
           "<scene fps=\"" + std::to_string(FRAMES_PER_SECOND) + "\">\n"
           "  <object name=\"Signpost\" filename=\"garden/signpost.lwo\">\n" +
           channels +
           "  </object>\n"
           "</scene>\n";
}

// The logo font: one character whose glyph is the whole logo. A 3D text draws every glyph of its
// text over the same quad, so a text shows one picture, and the garden's title is the text "K".
// The file is read from the working folder; its glyph names are resource names.
const char* const LOGO_FONT =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
    "<!-- The garden's logo font, made by tools/showgen: one glyph that is the whole logo. -->\n"
    "<fontset>\n"
    "  <character charcode=\"K\" filename=\"garden/kelvo.jpg\"/>\n"
    "</fontset>\n";
}

void writeGarden(ShowFolder& show)
{
    show.picture("garden/crate.jpg", crateSide());
    show.picture("garden/lawn.jpg", lawn());
    show.picture("garden/sky.jpg", sky());
    show.maskedPicture("garden/sun.jpg", sun(false), sun(true));
    show.maskedPicture("garden/badge.jpg", badge(false), badge(true));
    show.maskedPicture("garden/kelvo.jpg", logo(false), logo(true));
    show.file("garden/logo.xml", LOGO_FONT);
    show.file("garden/garden.3ds", gardenScene());
    // A LightWave object's images are read by their bare file names from the show's folder.
    show.picture("signpost.jpg", signboard());
    show.file("garden/signpost.lwo", signpostObject());
    show.file("garden/signpost.xml", signpostScene());
}
