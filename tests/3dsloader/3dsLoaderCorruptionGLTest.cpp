#include "3dsLoader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "3dsChunkIds.h"
#include "3dsLoaderException.h"
#include "ComponentExceptions.h"
#include "Environment.h"
#include "Log.h"
#include "ResourceLoader.h"
#include "TestSupport.h"
#include "ThreeDSScenes.h"
#include "ThreeDSWriter.h"

using namespace _3dsChunk;

// Broken copies of one small file that has a chunk of every kind the loader reads: each loads or
// fails with the loader's exception (or a factory's, for a name a flipped byte made twice), never
// anything worse, under the sanitizers too.
namespace {
std::string smallScene()
{
    ThreeDSWriter material;
    material.chunk(MATERIAL).chunk(MATERIAL_NAME).str("Red").end();
    material.raw(chunkOf(MATERIAL_AMBIENT, colourByte(255, 0, 0)) + chunkOf(MATERIAL_DIFFUSE, colourFloat(1, 0, 0)));
    material.raw(chunkOf(SHININESS_RATIO, percentage(50)) + chunkOf(SHININESS_STRENGTH, percentage(20)));
    material.chunk(TEXTURE_MAP).raw(percentage(100)).chunk(MAP_FILENAME).str("none.tga").end().end();
    material.end();

    ThreeDSWriter spot;
    spot.chunk(SPOTLIGHT).vec(0, 0, 0).f32(10).f32(20).end();
    ThreeDSWriter camera;
    camera.chunk(OBJECT_BLOCK).str("Cam").chunk(CAMERA).vec(0, -5, 0).vec(0, 0, 0).f32(0).f32(35).end().end();

    ThreeDSWriter tracks;
    tracks.chunk(ROTATION_KEYS).trackHeader(1).keyHeader(0, 1, {0.5f}).f32(1).vec(0, 0, 1).end();
    tracks.chunk(SCALE_KEYS).trackHeader(1).keyHeader(0, 0).vec(1, 1, 1).end();
    tracks.chunk(PIVOT_POINT).vec(0, 0, 0).end();
    tracks.chunk(TRACK_INSTANCE_NAME).str("i").end();
    ThreeDSWriter roll;
    roll.chunk(ROLL_TRACK).trackHeader(1).keyHeader(0, 2, {0.5f}).f32(0.1f).end();

    ThreeDSWriter mesh;
    mesh.chunk(OBJECT_BLOCK).str("Box").chunk(TRI_MESH);
    mesh.chunk(VERTEX_LIST).u16(3).vec(0, 0, 0).vec(1, 0, 0).vec(1, 0, 1).end();
    mesh.chunk(MAPPING_COORDINATES).s16(3).f32(0).f32(0).f32(1).f32(0).f32(1).f32(1).end();
    mesh.chunk(MESH_MATRIX).vec(1, 0, 0).vec(0, 1, 0).vec(0, 0, 1).vec(0, 0, 0).end();
    mesh.chunk(FACE_LIST).u16(1).u16(0).u16(1).u16(2).u16(7);
    mesh.chunk(FACE_MATERIAL).str("Red").u16(1).u16(0).end();
    mesh.chunk(SMOOTHINGS).u32(1).end();
    mesh.end().end().end();

    const std::string scene = editor(material.bytes() + mesh.bytes() +
                                     lightObject("Spot", 1, 2, 3, colourFloat(1, 1, 1) + spot.bytes()) + camera.bytes());
    const std::string animation = keyframerData(
        frames(0, 10) + chunkOf(OBJECT_TRACK, nodeId(0) + nodeName("$$$DUMMY") + positionKeys({{0, 0, {}, 1, 2, 3}}) +
                                                  tracks.bytes()) +
        chunkOf(CAMERA_TRACK, nodeId(1) + nodeName("Cam", 0) + positionKeys({{5, 0, {}, 0, -5, 0}}) + roll.bytes()) +
        chunkOf(CAMERA_TARGET_TRACK, nodeId(2) + nodeName("Cam.Target") + positionKeys({{0, 0, {}, 0, 0, 0}})) +
        chunkOf(SPOTLIGHT_TRACK, nodeId(3) + nodeName("Spot") + positionKeys({{0, 0, {}, 1, 2, 3}})) +
        chunkOf(OBJECT_TRACK, nodeId(4) + nodeName("Box", 0) + positionKeys({{0, 0, {}, 1, 0, 0}})));
    return inMain(scene + animation);
}

class ThreeDSLoaderCorruptionTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath("");
    }

    // "" when the bytes load, the loader's message when it fails, and a test failure for
    // anything else (which a crash would be too).
    std::string load(const std::string& bytes)
    {
        writeFile("scene.3ds", bytes);
        Environment environment;
        try {
            _3dsLoader loader;
            loader.load("scene.3ds", &environment);
        } catch (const _3dsLoaderException& e) {
            return e.getMessage();
        } catch (const ComponentAlreadyExistsException& e) {
            return e.getMessage();
        } catch (...) {
            ADD_FAILURE() << "an exception that is not the loader's";
            return "?";
        }
        return "";
    }
};
}

TEST_F(ThreeDSLoaderCorruptionTest, TheSmallFileLoads)
{
    LogCapture quiet;
    Log::getInstance()->setLevel(LogLevel::none);
    EXPECT_EQ(load(smallScene()), "");
}

TEST_F(ThreeDSLoaderCorruptionTest, EveryTruncatedPrefixFailsWithTheLoadersException)
{
    LogCapture quiet;
    Log::getInstance()->setLevel(LogLevel::none);
    const std::string file = smallScene();
    for (size_t length = 0; length < file.size(); ++length)
        EXPECT_EQ(load(file.substr(0, length)).find("KelvoEngineException::::3dsLoaderException::read3ds() - Read "
                                                    "error. Scene file may be corrupted. File \"scene.3ds\": "),
                  0u)
            << "prefix of " << length << " bytes";
    EXPECT_EQ(load(file), "") << "the same name loads whole after every failure";
}

TEST_F(ThreeDSLoaderCorruptionTest, AnyFlippedByteLoadsOrFailsWithTheLoadersException)
{
    LogCapture quiet;
    Log::getInstance()->setLevel(LogLevel::none);
    const std::string file = smallScene();
    int failures = 0;
    for (size_t at = 0; at < file.size(); ++at) {
        for (uint8_t mask : {0x01, 0x80, 0xFF}) {
            std::string flipped = file;
            flipped[at] = static_cast<char>(flipped[at] ^ mask);
            if (!load(flipped).empty())
                ++failures;
        }
    }
    EXPECT_GT(failures, 0);
}
