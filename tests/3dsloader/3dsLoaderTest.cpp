#include "3dsLoader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "3dsChunkIds.h"
#include "3dsLoaderException.h"
#include "Environment.h"
#include "HostileFiles.h"
#include "Keyframer.h"
#include "KeyframerController.h"
#include "Light.h"
#include "Log.h"
#include "ResourceLoader.h"
#include "TestSupport.h"
#include "ThreeDSScenes.h"
#include "ThreeDSWriter.h"
#include "TrackCamera.h"

using namespace _3dsChunk;

namespace {
const float PI = 3.14159265358979f;
const float FPS = 24.0f;  // the keyframer controller's frame rate

std::string node(uint16_t kind, const std::string& body)
{
    return chunkOf(kind, body);
}

class ThreeDSLoaderTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath("");
        environment = std::make_unique<Environment>();
    }

    // "" when the bytes load, the message of the loader's exception otherwise; any other
    // exception fails the test.
    std::string load(const std::string& bytes, const std::string& name = "scene.3ds")
    {
        writeFile(name, bytes);
        try {
            _3dsLoader loader;
            loader.load(name, environment.get());
        } catch (const _3dsLoaderException& e) {
            return e.getMessage();
        } catch (const std::exception& e) {
            ADD_FAILURE() << "not the loader's exception: " << e.what();
            return e.what();
        }
        return "";
    }

    Keyframer* keyframer(int id) { return environment->getKeyframerController().findKeyframer(id); }

    std::unique_ptr<Environment> environment;
};

void expectNear(const Vector& actual, const Vector& expected, const std::string& what)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-4f) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-4f) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-4f) << what;
}
}

TEST(ThreeDSLoaderStatics, AxesChangeFromZUpToYUp)
{
    Vector v(1.0f, 2.0f, 3.0f);
    _3dsLoader::convertAxes(v);
    EXPECT_EQ(v.x, 1.0f);
    EXPECT_EQ(v.y, 3.0f);
    EXPECT_EQ(v.z, -2.0f);
}

TEST(ThreeDSLoaderStatics, MapFilesAreLoadedAsLowerCaseJpegs)
{
    struct Case {
        const char* file;
        const char* texture;
    } cases[] = {
        {"Brick.TGA", "brick.jpg"}, {"wood.bmp", "wood.jpg"}, {"a.b.png", "a.b.jpg"},
        {"NOEXT", "noext"},         {".TGA", ".jpg"},         {"Maps\\Stone.Png", "maps\\stone.jpg"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(_3dsLoader::toTextureFileName(c.file), c.texture) << c.file;
}

TEST_F(ThreeDSLoaderTest, AFileThatCannotBeOpenedIsReportedWithTheResourceLoadersMessage)
{
    LogCapture log;
    _3dsLoader loader;
    try {
        loader.load("missing.3ds", environment.get());
        ADD_FAILURE() << "no exception";
    } catch (const _3dsLoaderException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::3dsLoaderException::load() - 3d scene loading failed. "
                                  "Unable to open 3ds scene resource. ");
    }
    EXPECT_TRUE(log.contains("[error] 3dsloader::load() - 3d scene loading failed. Unable to open 3ds scene "
                             "resource. KelvoEngineException::::ResourceLoaderException::readResourceFile() - Can't "
                             "open file \"missing.3ds\"."))
        << log.text();
}

TEST_F(ThreeDSLoaderTest, ASceneWithoutAKeyframerControllerIsRefused)
{
    writeFile("scene.3ds", inMain(""));
    _3dsLoader loader;
    try {
        loader.load("scene.3ds", nullptr);
        ADD_FAILURE() << "no exception";
    } catch (const _3dsLoaderException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::3dsLoaderException::load() - Keyframer Controller is "
                                  "NULL. Unable to continue.");
    }
    // Released all the same: the file loads again from its start.
    EXPECT_EQ(load(inMain(editor(lightObject("Omni", 0, 0, 0)))), "");
}

TEST_F(ThreeDSLoaderTest, UnknownChunksAtAnyDepthArePassedOverSilently)
{
    ThreeDSWriter unknown;
    unknown.chunk(0x1234).raw("whatever").end();
    ThreeDSWriter light;
    light.chunk(OBJECT_BLOCK).str("Omni").raw(unknown.bytes()).chunk(LIGHT).vec(1, 2, 3).raw(unknown.bytes());
    light.end().end();
    LogCapture log;
    EXPECT_EQ(load(unknown.bytes() + inMain(unknown.bytes() + editor(unknown.bytes() + light.bytes()) +
                                            unknown.bytes())),
              "");
    EXPECT_EQ(log.text(), "");
    ASSERT_TRUE(environment->getLights().exists("Omni"));
    const float* p = environment->getLights().find("Omni")->getPosition();
    EXPECT_EQ(p[0], 1.0f);
    EXPECT_EQ(p[1], 3.0f);
    EXPECT_EQ(p[2], -2.0f);
    EXPECT_EQ(p[3], 1.0f);
}

TEST_F(ThreeDSLoaderTest, AChunkLengthOfZeroEndsItsLevelOnly)
{
    ThreeDSWriter zero;
    zero.chunkWithLength(0x1234, 0).end();
    EXPECT_EQ(load(inMain(editor(lightObject("A", 0, 0, 0) + zero.bytes() + lightObject("B", 0, 0, 0)) +
                          editor(lightObject("C", 0, 0, 0)))),
              "");
    EXPECT_TRUE(environment->getLights().exists("A"));
    EXPECT_FALSE(environment->getLights().exists("B"));
    EXPECT_TRUE(environment->getLights().exists("C"));
}

TEST_F(ThreeDSLoaderTest, MalformedFramingEndsTheLoadWithTheLoadersException)
{
    ThreeDSWriter tooShort;
    tooShort.chunkWithLength(0x1234, 5).end();
    ThreeDSWriter tooLong;
    tooLong.chunkWithLength(OBJECT_BLOCK, 100).str("x").end();
    ThreeDSWriter shortLight;
    shortLight.chunk(OBJECT_BLOCK).str("Omni").chunk(LIGHT).f32(1).f32(2).end().vec(0, 0, 0).end();
    ThreeDSWriter unterminated;
    unterminated.chunk(OBJECT_BLOCK).raw("Omni").end();
    struct Case {
        const char* name;
        std::string bytes;
        const char* detail;
    } cases[] = {
        {"empty file", "", "the file is empty"},
        {"a header cut short", inMain("") + std::string(3, '\0'),
         "a chunk header at byte 6 needs 6 bytes where 3 remain in its parent"},
        {"a length shorter than the header", inMain(editor(tooShort.bytes())),
         "chunk 0x1234 at byte 12 declares 5 bytes, fewer than its own header"},
        {"a chunk longer than its parent", inMain(editor(tooLong.bytes())),
         "chunk 0x4000 at byte 12 declares 100 bytes where 8 remain in its parent"},
        {"a truncated file", inMain(editor(lightObject("Omni", 0, 0, 0))).substr(0, 30),
         "chunk 0x4D4D at byte 0 declares 41 bytes where 30 remain in its parent"},
        {"a handler reading past its chunk", inMain(editor(shortLight.bytes())),
         "a vector at byte 29 needs 12 bytes where 8 remain in its chunk"},
        {"a name without its terminator", inMain(editor(unterminated.bytes())),
         "the string at byte 18 has no terminator before the end of its chunk"},
    };
    for (const Case& c : cases) {
        environment = std::make_unique<Environment>();
        EXPECT_EQ(load(c.bytes), std::string("KelvoEngineException::::3dsLoaderException::read3ds() - Read error. "
                                             "Scene file may be corrupted. File \"scene.3ds\": ") +
                                     c.detail + ".")
            << c.name;
    }
    // Released after every failure: the same name loads again from its start.
    EXPECT_EQ(load(inMain(editor(lightObject("Omni", 0, 0, 0)))), "");
    EXPECT_TRUE(environment->getLights().exists("Omni"));
}

TEST_F(ThreeDSLoaderTest, ChunksNestedDeeperThan64LevelsEndTheLoadAtTheirByte)
{
    // levels Main chunks around an editor chunk holding a light: levels + 3 levels of nesting.
    const auto nested = [](int levels) {
        std::string bytes = editor(lightObject("Omni", 0, 0, 0));
        for (int i = 0; i < levels; ++i)
            bytes = inMain(bytes);
        return bytes;
    };
    const std::string prefix =
        "KelvoEngineException::::3dsLoaderException::read3ds() - Read error. Scene file may be corrupted. File "
        "\"scene.3ds\": ";
    struct Case {
        const char* name;
        std::string bytes;
        std::string failure;
    } cases[] = {
        {"64 levels", nested(61), ""},
        {"65 levels", nested(62), prefix + "chunk 0x4600 at byte 389 lies deeper than 64 levels of nested chunks."},
        {"20,000 Main chunks", nestedMainChunks3ds(20000),
         prefix + "chunk 0x4D4D at byte 384 lies deeper than 64 levels of nested chunks."},
    };
    for (const Case& c : cases) {
        environment = std::make_unique<Environment>();
        EXPECT_EQ(load(c.bytes), c.failure) << c.name;
        EXPECT_EQ(environment->getLights().exists("Omni"), c.failure.empty()) << c.name;
    }
}

TEST_F(ThreeDSLoaderTest, LightsAndCamerasTakeTheNameOfTheirObjectBlock)
{
    ThreeDSWriter camera;
    camera.chunk(OBJECT_BLOCK).str("Cam").chunk(CAMERA).vec(0, -10, 0).vec(0, 0, 0).f32(0).f32(35).end().end();
    EXPECT_EQ(load(inMain(editor(lightObject("Omni", 0, 0, 0) + camera.bytes()))), "");
    EXPECT_TRUE(environment->getLights().exists("Omni"));
    ASSERT_TRUE(environment->getCameraController().exists("Cam"));
    EXPECT_NE(dynamic_cast<TrackCamera*>(environment->getCameraController().find("Cam")), nullptr);

    // A second load of the same file fails at its first name.
    try {
        _3dsLoader loader;
        loader.load("scene.3ds", environment.get());
        ADD_FAILURE() << "no exception";
    } catch (const ComponentAlreadyExistsException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::Factory<Light>Exception::create() - Unable to create "
                                  "new component. Component \"Omni\" already exists in this factory!.");
    }
}

TEST_F(ThreeDSLoaderTest, CamerasStandWhereTheFileSaysAndLookAtTheirTarget)
{
    struct Case {
        const char* name;
        Vector position;  // file axes
        Vector target;
        float yaw;  // radians, engine axes
        float pitch;
    } cases[] = {
        {"level along -y of the file", Vector(0, 10, 0), Vector(0, 0, 0), std::atan2(1.0f, 0.0f), 0.0f},
        {"level along +x", Vector(-5, 0, 0), Vector(5, 0, 0), 0.0f, 0.0f},
        {"straight down", Vector(1, 2, 10), Vector(1, 2, 0), 0.0f, -PI / 2},
        {"straight up", Vector(1, 2, 0), Vector(1, 2, 3), 0.0f, PI / 2},
        {"up at 45 degrees", Vector(0, 0, 0), Vector(1, 0, 1), 0.0f, PI / 4},
    };
    for (const Case& c : cases) {
        environment = std::make_unique<Environment>();
        ThreeDSWriter camera;
        camera.chunk(OBJECT_BLOCK).str("Cam").chunk(CAMERA);
        camera.vec(c.position.x, c.position.y, c.position.z).vec(c.target.x, c.target.y, c.target.z);
        camera.f32(0).f32(35).end().end();
        ASSERT_EQ(load(inMain(editor(camera.bytes()))), "") << c.name;
        Camera* loaded = environment->getCameraController().find("Cam");
        expectNear(loaded->getPosition(), Vector(c.position.x, c.position.z, -c.position.y), c.name);
        const Quaternion expected = Quaternion(-c.yaw - 1.5707963435f, 0, 1, 0) * Quaternion(c.pitch, 1, 0, 0);
        const Quaternion q = loaded->getOrientation();
        EXPECT_NEAR(q.x, expected.x, 1e-5f) << c.name;
        EXPECT_NEAR(q.y, expected.y, 1e-5f) << c.name;
        EXPECT_NEAR(q.z, expected.z, 1e-5f) << c.name;
        EXPECT_NEAR(q.w, expected.w, 1e-5f) << c.name;
    }
}

TEST_F(ThreeDSLoaderTest, ASpotlightOutsideALightIsIgnored)
{
    ThreeDSWriter spot;
    spot.chunk(OBJECT_BLOCK).str("Spot").chunk(SPOTLIGHT).vec(0, 0, 0).f32(30).f32(45).end().end();
    LogCapture log;
    EXPECT_EQ(load(inMain(editor(spot.bytes() + lightObject("Omni", 0, 0, 0)))), "");
    EXPECT_TRUE(environment->getLights().exists("Omni"));
    EXPECT_EQ(log.errors(), 0);
}

// Spline values as a key carries them, compared with keys added to a keyframer directly.
TEST_F(ThreeDSLoaderTest, SplineFlagsCarryTensionContinuityAndBiasInRange)
{
    struct Case {
        const char* name;
        uint16_t flags;
        std::vector<float> values;
        float tension, continuity, bias;
    } cases[] = {
        {"tension only", 0x0001, {0.5f}, 0.5f, 0.0f, 0.0f},
        {"all five, ease dropped", 0x001F, {0.2f, 0.3f, 0.4f, 0.9f, 0.8f}, 0.2f, 0.3f, 0.4f},
        {"ease only", 0x0018, {0.9f, 0.8f}, 0.0f, 0.0f, 0.0f},
        {"negative tension", 0x0001, {-0.3f}, 0.0f, 0.0f, 0.0f},
        {"tension above one", 0x0001, {1.5f}, 0.0f, 0.0f, 0.0f},
        {"the bounds", 0x0007, {0.0f, 1.0f, 1.0f}, 0.0f, 1.0f, 1.0f},
        {"not a number", 0x0006, {std::nanf(""), 0.25f}, 0.0f, 0.0f, 0.25f},
    };
    for (const Case& c : cases) {
        environment = std::make_unique<Environment>();
        const std::string track = positionKeys({{0, c.flags, c.values, 0, 0, 0},
                                                {10, 0, {}, 10, 0, 0},
                                                {20, 0, {}, 10, 10, 0},
                                                {30, 0, {}, 0, 10, 0}});
        ASSERT_EQ(load(inMain(keyframerData(frames(0, 30) + node(OBJECT_TRACK, nodeId(1) + nodeName("$$$DUMMY") +
                                                                             track)))),
                  "")
            << c.name;
        Keyframer expected(nullptr);
        expected.setFrameRate(FPS);
        expected.setPositionRange(0, 30);
        expected.addPositionKey(0, Vector(0, 0, 0), c.tension, c.continuity, c.bias);
        expected.addPositionKey(10, Vector(10, 0, 0), 0, 0, 0);
        expected.addPositionKey(20, Vector(10, 0, -10), 0, 0, 0);
        expected.addPositionKey(30, Vector(0, 0, -10), 0, 0, 0);
        Keyframer* loaded = keyframer(1);
        ASSERT_NE(loaded, nullptr);
        for (float frame : {3.0f, 7.5f, 12.0f, 25.0f})
            expectNear(loaded->getPosition(frame / FPS), expected.getPosition(frame / FPS),
                       std::string(c.name) + " at frame " + std::to_string(frame));
    }
}

TEST_F(ThreeDSLoaderTest, RotationKeysAreRelativeToTheKeyBefore)
{
    ThreeDSWriter rotation;
    rotation.chunk(ROTATION_KEYS).trackHeader(2);
    rotation.keyHeader(0, 0).f32(PI / 2).vec(0, 0, 1);  // about the file's z, the engine's y
    rotation.keyHeader(10, 0).f32(PI / 2).vec(0, 0, 1);
    rotation.end();
    ASSERT_EQ(load(inMain(keyframerData(frames(0, 10) + node(OBJECT_TRACK, nodeId(1) + nodeName("$$$DUMMY") +
                                                                         rotation.bytes())))),
              "");
    Keyframer* loaded = keyframer(1);
    ASSERT_NE(loaded, nullptr);
    for (auto key : {std::make_pair(0.0f, PI / 2), std::make_pair(10.0f, PI)}) {
        const Quaternion q = loaded->getRotation(key.first / FPS);
        const Quaternion expected(key.second, 0, 1, 0);
        const float sign = q.w * expected.w + q.y * expected.y < 0 ? -1.0f : 1.0f;
        EXPECT_NEAR(q.x, 0.0f, 1e-5f);
        EXPECT_NEAR(sign * q.y, expected.y, 1e-5f) << "frame " << key.first;
        EXPECT_NEAR(q.z, 0.0f, 1e-5f);
        EXPECT_NEAR(sign * q.w, expected.w, 1e-5f) << "frame " << key.first;
    }
}

TEST_F(ThreeDSLoaderTest, ScaleKeysAreRelativeToTheFirstWithYAndZExchanged)
{
    struct Case {
        const char* name;
        Vector first, second;  // file values
        Vector firstKey, secondKey;
    } cases[] = {
        {"ratios", Vector(2, 4, 8), Vector(4, 4, 4), Vector(1, 1, 1), Vector(2, 0.5f, 1)},
        {"a first key of zero keeps the file's scale on that axis", Vector(0, 2, 2), Vector(3, 4, 1),
         Vector(0, 1, 1), Vector(3, 0.5f, 2)},
    };
    for (const Case& c : cases) {
        environment = std::make_unique<Environment>();
        ThreeDSWriter scale;
        scale.chunk(SCALE_KEYS).trackHeader(2);
        scale.keyHeader(0, 0).vec(c.first.x, c.first.y, c.first.z);
        scale.keyHeader(10, 0).vec(c.second.x, c.second.y, c.second.z);
        scale.end();
        ASSERT_EQ(load(inMain(keyframerData(frames(0, 10) + node(OBJECT_TRACK, nodeId(1) + nodeName("$$$DUMMY") +
                                                                             scale.bytes())))),
                  "");
        Keyframer* loaded = keyframer(1);
        ASSERT_NE(loaded, nullptr);
        expectNear(loaded->getScale(0.0f), c.firstKey, c.name);
        expectNear(loaded->getScale(10.0f / FPS), c.secondKey, c.name);
    }
}

TEST_F(ThreeDSLoaderTest, AScaleTrackCutShortKeepsTheKeysReadSoFar)
{
    ThreeDSWriter scale;
    scale.chunk(SCALE_KEYS).trackHeader(3);
    scale.keyHeader(0, 0).vec(1, 1, 1);
    scale.keyHeader(10, 0).vec(2, 2, 2);
    scale.keyHeader(20, 0).f32(3);  // the rest of the key is missing
    scale.end();
    LogCapture log;
    ASSERT_EQ(load(inMain(keyframerData(frames(0, 20) + node(OBJECT_TRACK, nodeId(1) + nodeName("$$$DUMMY") +
                                                                         scale.bytes() + nodeId(4))))),
              "");
    Keyframer* loaded = keyframer(4);
    ASSERT_NE(loaded, nullptr) << "the node's chunks after the track are read";
    expectNear(loaded->getScale(20.0f / FPS), Vector(2, 2, 2), "last key");
    EXPECT_EQ(log.errors(), 0);
}

TEST_F(ThreeDSLoaderTest, RollKeysKeepTheSplineValuesOfTheKeyBeforeAndDropFrame65535)
{
    ThreeDSWriter roll;
    roll.chunk(ROLL_TRACK).trackHeader(4);
    roll.keyHeader(0, 0x0001, {0.5f}).f32(0.0f);
    roll.keyHeader(10, 0).f32(1.0f);
    roll.keyHeader(0xFFFF, 0).f32(100.0f);
    roll.keyHeader(20, 0).f32(0.0f);
    roll.end();
    ASSERT_EQ(load(inMain(keyframerData(frames(0, 20) + node(OBJECT_TRACK, nodeId(1) + nodeName("$$$DUMMY") +
                                                                         roll.bytes())))),
              "");
    Keyframer expected(nullptr);
    expected.setFrameRate(FPS);
    expected.setRollRange(0, 20);
    expected.addRollKey(0, 0.0f, 0.5f, 0, 0);
    expected.addRollKey(10, 1.0f, 0.5f, 0, 0);
    expected.addRollKey(20, 0.0f, 0.5f, 0, 0);
    Keyframer* loaded = keyframer(1);
    ASSERT_NE(loaded, nullptr);
    for (float frame : {4.0f, 10.0f, 13.0f, 19.0f})
        EXPECT_NEAR(loaded->getRoll(frame / FPS), expected.getRoll(frame / FPS), 1e-5f) << "frame " << frame;
}

TEST_F(ThreeDSLoaderTest, RangesComeFromTheFramesChunkOrAreEmptyWithoutOne)
{
    const std::string track = positionKeys({{0, 0, {}, 0, 0, 0}, {10, 0, {}, 10, 0, 0}});
    const std::string objectNode = node(OBJECT_TRACK, nodeId(1) + nodeName("$$$DUMMY") + track);

    ASSERT_EQ(load(inMain(keyframerData(frames(0, 10) + objectNode))), "");
    EXPECT_NEAR(keyframer(1)->getPosition(5.0f / FPS).x, 5.0f, 1e-4f);

    // From frame 0 to frame 0: every time after the start shows the last key.
    environment = std::make_unique<Environment>();
    ASSERT_EQ(load(inMain(keyframerData(objectNode))), "");
    EXPECT_EQ(keyframer(1)->getPosition(5.0f / FPS).x, 10.0f);
}

TEST_F(ThreeDSLoaderTest, NodesAreNamedNumberedAndLinkedToTheirParents)
{
    LogCapture log;
    ASSERT_EQ(load(inMain(keyframerData(node(OBJECT_TRACK, nodeId(5) + nodeName("$$$DUMMY")) +
                                        node(OBJECT_TRACK, nodeId(6) + nodeName("$$$DUMMY", 5)) +
                                        node(OBJECT_TRACK, nodeId(7) + nodeName("$$$DUMMY", 0xFFFF)) +
                                        node(OBJECT_TRACK, nodeId(8) + nodeName("$$$DUMMY", 40))))),
              "");
    ASSERT_NE(keyframer(5), nullptr);
    EXPECT_EQ(keyframer(5)->getName(), "$$$DUMMY");
    EXPECT_EQ(keyframer(5)->getParent(), nullptr);
    EXPECT_EQ(keyframer(6)->getParent(), keyframer(5));
    EXPECT_EQ(keyframer(7)->getParent(), nullptr);
    EXPECT_EQ(keyframer(8)->getParent(), nullptr);
    EXPECT_EQ(environment->getKeyframerController().getKeyframerCount(), 4);
    // Only the missing parent is reported, by the controller.
    EXPECT_EQ(log.text(), "[warning] keyframercontroller::findKeyframer() - Didn't find keyframer (id 40) \n");
}

TEST_F(ThreeDSLoaderTest, NodesWhoseObjectIsMissingStayUnattachedWithOneLine)
{
    struct Case {
        uint16_t kind;
        const char* line;
    } cases[] = {
        {OBJECT_TRACK, "[warning] 3dsloader::readObjectTrack() - Unable to find track target object \"Box\".\n"},
        {CAMERA_TRACK, "[error] 3dsloader::readCameraTrack() - Unable to find track target object \"Box\".\n"},
        {CAMERA_TARGET_TRACK, "[error] 3dsloader::readCameraTrack() - Unable to find track target object \"Box\".\n"},
        {POINTLIGHT_TRACK, "[warning] 3dsloader::readLightTrack() - Unable to find track target light \"Box\".\n"},
        {POINTLIGHT_TARGET_TRACK,
         "[warning] 3dsloader::readLightTrack() - Unable to find track target light \"Box\".\n"},
        {SPOTLIGHT_TRACK, "[warning] 3dsloader::readLightTrack() - Unable to find track target light \"Box\".\n"},
    };
    for (const Case& c : cases) {
        environment = std::make_unique<Environment>();
        LogCapture log;
        ASSERT_EQ(load(inMain(keyframerData(node(c.kind, nodeId(1) + nodeName("Box"))))), "");
        EXPECT_EQ(log.text(), c.line);
        ASSERT_NE(keyframer(1), nullptr);
        EXPECT_EQ(keyframer(1)->getName(), "Box");
    }
}

TEST_F(ThreeDSLoaderTest, ANodesKeyframerStaysCurrentAfterObjectNodesButNotAfterLightNodes)
{
    // A stray id between the nodes lands on the keyframer still current.
    LogCapture log;
    ASSERT_EQ(load(inMain(keyframerData(node(OBJECT_TRACK, nodeId(1) + nodeName("$$$DUMMY")) + nodeId(11) +
                                        node(CAMERA_TRACK, nodeId(2) + nodeName("$$$DUMMY")) + nodeId(12) +
                                        node(POINTLIGHT_TRACK, nodeId(3) + nodeName("$$$DUMMY")) + nodeId(13)))),
              "");
    ASSERT_NE(keyframer(11), nullptr);
    ASSERT_NE(keyframer(12), nullptr);
    log.clear();
    EXPECT_EQ(keyframer(13), nullptr);
    EXPECT_EQ(keyframer(3)->getName(), "$$$DUMMY");
}

TEST_F(ThreeDSLoaderTest, TheAmbientNodeActsOnNoKeyframer)
{
    const std::string ambient =
        node(AMBIENT_KEY, nodeId(9) + nodeName("$AMBIENT$") + positionKeys({{0, 0, {}, 5, 5, 5}}));
    const std::string object =
        node(OBJECT_TRACK, nodeId(1) + nodeName("$$$DUMMY") + positionKeys({{0, 0, {}, 1, 2, 3}}));
    struct Case {
        const char* name;
        std::string section;
    } cases[] = {
        {"before every node", ambient + object},
        {"after an object node", object + ambient},
    };
    for (const Case& c : cases) {
        environment = std::make_unique<Environment>();
        LogCapture log;
        ASSERT_EQ(load(inMain(keyframerData(c.section))), "") << c.name;
        EXPECT_EQ(log.text(), "[error] 3dsloader::readTrackObjectName() - NULL Keyframer!\n\n") << c.name;
        EXPECT_EQ(environment->getKeyframerController().getKeyframerCount(), 1) << c.name;
        Keyframer* objectKeyframer = keyframer(1);
        ASSERT_NE(objectKeyframer, nullptr) << c.name;
        EXPECT_EQ(objectKeyframer->getName(), "$$$DUMMY") << c.name;
        expectNear(objectKeyframer->getPosition(0.0f), Vector(1, 3, -2), c.name);
    }
}

TEST_F(ThreeDSLoaderTest, TracksOutsideAnyNodeAreReadAndDropped)
{
    ThreeDSWriter rotation;
    rotation.chunk(ROTATION_KEYS).trackHeader(1).keyHeader(0, 0).f32(1).vec(0, 0, 1).end();
    ThreeDSWriter roll;
    roll.chunk(ROLL_TRACK).trackHeader(1).keyHeader(0, 0).f32(1).end();
    ThreeDSWriter scale;
    scale.chunk(SCALE_KEYS).trackHeader(1).keyHeader(0, 0).vec(1, 1, 1).end();
    LogCapture log;
    EXPECT_EQ(load(inMain(keyframerData(positionKeys({{0, 1, {0.5f}, 1, 1, 1}}) + rotation.bytes() + roll.bytes() +
                                        scale.bytes() + nodeId(3)))),
              "");
    EXPECT_EQ(environment->getKeyframerController().getKeyframerCount(), 0);
    EXPECT_EQ(log.errors(), 0);
}

TEST_F(ThreeDSLoaderTest, AKeyCountBeyondItsTrackEndsTheLoad)
{
    ThreeDSWriter rotation;
    rotation.chunk(ROTATION_KEYS).trackHeader(1000).keyHeader(0, 0).f32(1).vec(0, 0, 1).end();
    const std::string message =
        load(inMain(keyframerData(node(OBJECT_TRACK, nodeId(1) + nodeName("$$$DUMMY") + rotation.bytes()))));
    EXPECT_NE(message.find("a track at byte 67 declares 1000 keys where 22 bytes remain in its chunk"),
              std::string::npos)
        << message;
}

TEST_F(ThreeDSLoaderTest, AParentThatWouldMakeAChainLongerThan128NodesOrALoopEndsTheLoadNamingTheNode)
{
    const std::string prefix =
        "KelvoEngineException::::3dsLoaderException::read3ds() - Read error. Scene file may be corrupted. File "
        "\"scene.3ds\": ";
    const auto tooLong = [&](const std::string& name) {
        return prefix + "node \"" + name +
               "\" (id 128) cannot take node \"$$$DUMMY\" (id 127) as its parent: the chain of parents would hold "
               "more than 128 keyframers.";
    };
    struct Case {
        const char* name;
        std::string bytes;
        std::string failure;
    } cases[] = {
        {"128 nodes chained", chainedNodes3ds(128), ""},
        {"129 nodes chained", chainedNodes3ds(129), tooLong("Box")},
        {"60,000 nodes chained", chainedNodes3ds(60000), tooLong("$$$DUMMY")},
        {"a node its own parent", inMain(keyframerData(node(OBJECT_TRACK, nodeId(5) + nodeName("Self", 5)))),
         prefix + "node \"Self\" (id 5) cannot take node \"Self\" (id 5) as its parent: the keyframer would become "
                  "its own ancestor."},
    };
    for (const Case& c : cases) {
        environment = std::make_unique<Environment>();
        const double start = threadCpuSeconds();
        EXPECT_EQ(load(c.bytes), c.failure) << c.name;
        EXPECT_LT(threadCpuSeconds() - start, readerSecondsLimit()) << c.name;
    }
    // The longest chain allowed drives its object from the end of the chain.
    environment = std::make_unique<Environment>();
    ASSERT_EQ(load(chainedNodes3ds(128)), "");
    int ancestors = 0;
    for (const Keyframer* k = keyframer(127)->getParent(); k; k = k->getParent())
        ++ancestors;
    EXPECT_EQ(ancestors, 127);
    EXPECT_EQ(keyframer(127)->getName(), "Box");
}

TEST_F(ThreeDSLoaderTest, ParentIdsFindTheFirstNodeOfTheirIdAsTheControllerDoes)
{
    const auto named = [](const std::string& name, uint16_t id, uint16_t parent) {
        return node(OBJECT_TRACK, nodeId(id) + nodeName(name, parent));
    };
    struct Case {
        const char* name;
        std::vector<std::string> loads;  // keyframer sections, loaded one after another into one scene
        const char* parent;              // of the last node, "" for none
        int missing;                     // parent ids the controller reports as missing
    } cases[] = {
        {"an id two nodes have", {named("first", 5, 0xFFFF) + named("second", 5, 0xFFFF) + named("child", 9, 5)},
         "first", 0},
        {"an id a node gave up", {named("moved", 5, 0xFFFF) + nodeId(6) + named("child", 9, 5)}, "", 1},
        {"the id it took instead", {named("moved", 5, 0xFFFF) + nodeId(6) + named("child", 9, 6)}, "moved", 0},
        {"an id of an earlier file", {named("earlier", 3, 0xFFFF), named("child", 9, 3)}, "earlier", 0},
        {"an id of a later node", {named("child", 9, 4) + named("later", 4, 0xFFFF)}, "", 1},
    };
    for (const Case& c : cases) {
        environment = std::make_unique<Environment>();
        LogCapture log;
        for (const std::string& section : c.loads)
            ASSERT_EQ(load(inMain(keyframerData(section))), "") << c.name;
        const Keyframer* child = keyframer(9);
        ASSERT_NE(child, nullptr) << c.name;
        EXPECT_EQ(child->getParent() ? child->getParent()->getName() : "", c.parent) << c.name;
        int missing = 0;
        const std::string text = log.text();
        for (size_t at = text.find("Didn't find keyframer"); at != std::string::npos;
             at = text.find("Didn't find keyframer", at + 1))
            ++missing;
        EXPECT_EQ(missing, c.missing) << c.name;
    }
}

TEST_F(ThreeDSLoaderTest, LoadingNodesTakesProcessorTimeInProportionToTheirNumber)
{
    // Chains of 100 nodes: every node names the one before as its parent.
    const auto forest = [](int nodes) {
        ThreeDSWriter writer;
        writer.chunk(MAIN).chunk(KEYFRAMER_DATA);
        for (int i = 0; i < nodes; ++i) {
            writer.chunk(OBJECT_TRACK).chunk(NODE_ORDER_ID).u16(static_cast<uint16_t>(i)).end();
            writer.chunk(TRACK_OBJECT_NAME).str("$$$DUMMY").u16(0).u16(0);
            writer.u16(i % 100 == 0 ? 0xFFFF : static_cast<uint16_t>(i - 1)).end().end();
        }
        return writer.end().end().bytes();
    };
    // The least of three loads, in processor seconds.
    const auto seconds = [&](const std::string& bytes) {
        double least = 1e9;
        for (int run = 0; run < 3; ++run) {
            environment = std::make_unique<Environment>();
            const double start = threadCpuSeconds();
            EXPECT_EQ(load(bytes), "");
            least = std::min(least, threadCpuSeconds() - start);
        }
        return least;
    };
    const double small = seconds(forest(15000));
    const double large = seconds(forest(60000));
    EXPECT_EQ(environment->getKeyframerController().getKeyframerCount(), 60000);
    EXPECT_LT(large, FOUR_TIMES_INPUT_GROWTH_LIMIT * small) << small << " s for 15,000 nodes, " << large << " s for 60,000";
}
