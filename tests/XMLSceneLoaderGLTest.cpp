#include "XMLSceneLoader.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "Actor.h"
#include "DOMTreeErrorReporter.h"
#include "Environment.h"
#include "EnvironmentController.h"
#include "GLEnvironment.h"
#include "HpbCamera.h"
#include "KeyframedActor.h"
#include "Keyframer.h"
#include "Light.h"
#include "Log.h"
#include "LwoWriter.h"
#include "Pixels.h"
#include "ResourceLoader.h"
#include "StringUtil.h"
#include "HostileFiles.h"
#include "TestSupport.h"
#include "UnreadableFiles.h"
#include "Watchdog.h"
#include "TwoBoneObject.h"


// XML scene files read into a 3D scene on the shared window: the files and their LightWave objects
// are written here, loaded, and the cameras, lights and keyed actors they make are sampled at
// chosen times or drawn.
namespace {
const std::string PARSER_FAILURE = "KelvoEngineException::::XMLParserException::";

// A key of the "tcb" curve with all spline values 0 unless given.
struct Key {
    float frame;
    float value;
};

std::string number(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

std::string channel(const std::string& name, const std::vector<Key>& keys, const std::string& spline = "")
{
    std::string text = "<channel name=\"" + name + "\">";
    for (const Key& k : keys)
        text += "<key frame=\"" + number(k.frame) + "\" value=\"" + number(k.value) + "\" curve=\"tcb\" " +
                (spline.empty() ? "tension=\"0\" continuity=\"0\" bias=\"0\"" : spline) + "/>";
    return text + "</channel>\n";
}

// The three channels of a group ("Position", "Rotation" or "Scale") with one key each at frame 0
// and at frame 24 of the given values.
std::string group(const std::string& name, const char* axes, Vector at0, Vector at24)
{
    std::string text;
    for (int i = 0; i < 3; ++i)
        text += channel(name + "." + axes[i], {{0, at0[i]}, {24, at24[i]}});
    return text;
}

std::string sceneFile(const std::string& body, const std::string& fps = "24")
{
    return "<?xml version=\"1.0\"?>\n<scene fps=\"" + fps + "\">\n" + body + "</scene>\n";
}

// A unit square around the origin in the plane z = 0, painted one colour.
std::string squareObject(float r, float g, float b)
{
    LwoWriter w;
    w.chunk("TAGS").s0("Paint").end();
    w.chunk("LAYR").u2(1).u2(0).vec12(0, 0, 0).s0("").end();
    w.chunk("PNTS").vec12(-0.5f, -0.5f, 0).vec12(0.5f, -0.5f, 0).vec12(0.5f, 0.5f, 0).vec12(-0.5f, 0.5f, 0).end();
    w.chunk("POLS").id("FACE").u2(4).vx(0).vx(1).vx(2).vx(3).end();
    w.chunk("PTAG").id("SURF").vx(0).u2(0).end();
    w.chunk("SURF").s0("Paint").s0("").subChunk("COLR").vec12(r, g, b).vx(0).end().end();
    return w.file();
}

// The unit square of squareObject, white, with a UV-mapped picture that is never written: its
// surface cannot be set, so the object fails to load.
std::string squareWithMissingPicture()
{
    return uvMappedSquareLwo("Paint", "Images/nowhere.jpg", 0.5f);
}

void expectNear(const Vector& actual, const Vector& expected, const std::string& what)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-4f) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-4f) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-4f) << what;
}

// What a scene holds, to tell that a failed load left it as it was.
struct Contents {
    int cameras, lights, actors, keyedActors, keyframers;
    bool operator==(const Contents& o) const
    {
        return cameras == o.cameras && lights == o.lights && actors == o.actors && keyedActors == o.keyedActors &&
               keyframers == o.keyframers;
    }
};

std::ostream& operator<<(std::ostream& out, const Contents& c)
{
    return out << c.cameras << " cameras, " << c.lights << " lights, " << c.actors << " actors, " << c.keyedActors
               << " keyed actors, " << c.keyframers << " keyframers";
}

class XMLSceneLoaderTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath("data/");
        drainGLErrors();
        scene.setName("space");
        writeFile("data/box.lwo", squareObject(1, 0, 0));
    }
    void TearDown() override
    {
        glDisable(GL_DEPTH_TEST);
        EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
        ResourceLoader::setResourcePath("");
        TempDirTest::TearDown();
    }

    // Writes data/scene.xml and loads it: "" when the load completes, else the exception's text.
    std::string load(const std::string& content)
    {
        writeFile("data/scene.xml", content);
        return loadFile("scene.xml");
    }
    std::string loadFile(const std::string& file)
    {
        try {
            XMLSceneLoader loader(&scene);
            loader.load(file);
        } catch (const XMLParserException& e) {
            return e.getMessage();
        }
        return "";
    }

    Contents contents() { return contentsOf(scene); }
    static Contents contentsOf(Environment& e)
    {
        return {e.getCameraController().size(), e.getLights().size(), e.getActors().size(),
                e.getKeyframedActors().size(), e.getKeyframerController().getKeyframerCount()};
    }

    KeyframedActor* keyed(const std::string& name) { return scene.getKeyframedActors().find(name); }
    Keyframer* keyframerOf(const std::string& name) { return keyed(name)->getKeyframer(); }

    // The modelview matrix the camera sets at time.
    std::vector<float> cameraView(Camera* camera, double time)
    {
        glMatrixMode(GL_MODELVIEW);
        camera->render(time);
        std::vector<float> m(16);
        glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
        return m;
    }

    Environment scene;
};
}

TEST_F(XMLSceneLoaderTest, CamerasLightsAndObjectsBecomeTheScenesOwn)
{
    LogCapture log;
    ASSERT_EQ(load(sceneFile("<camera name=\"eye\">" + group("Position", "XYZ", {0, 0, -5}, {0, 0, -5}) +
                             group("Rotation", "HPB", {0, 0, 0}, {0, 0, 0}) + "</camera>\n"
                             "<light name=\"sun\">" + group("Position", "XYZ", {1, 2, 3}, {1, 2, 3}) + "</light>\n"
                             "<object name=\"Box\" filename=\"box.lwo\">" +
                             group("Position", "XYZ", {0, 0, 0}, {2, 0, 0}) + "</object>\n",
                             "12")),
              "");
    EXPECT_EQ(log.errors(), 0);
    EXPECT_EQ(log.warnings(), 0);

    HpbCamera* eye = dynamic_cast<HpbCamera*>(scene.getCameraController().find("eye"));
    ASSERT_NE(eye, nullptr);
    EXPECT_EQ(eye->getName(), "eye");
    ASSERT_TRUE(scene.getLights().exists("sun"));
    EXPECT_EQ(scene.getLights().find("sun")->getName(), "sun");
    ASSERT_TRUE(scene.getActors().exists("box.lwo"));
    KeyframedActor* box = keyed("Keyframed Box");
    EXPECT_EQ(box->getName(), "Keyframed Box");
    EXPECT_EQ(box->getActor(), scene.getActors().find("box.lwo"));
    EXPECT_TRUE(box->getBoneKeyframers().empty());
    EXPECT_EQ(contents(), (Contents{1, 1, 1, 1, 3}));
    EXPECT_TRUE(log.contains("[info] xmlsceneloader::loadObjectNode() - Created \"Keyframed Box\" from Actor "
                             "\"box.lwo\" and Keyframer \"Anonymous object\".\n"))
        << log.text();

    // At 12 frames a second, frame 24 is two seconds in; the file's z is negated.
    expectNear(keyframerOf("Keyframed Box")->getPosition(2.0f), {2, 0, 0}, "box at 2 s");
    expectNear(keyframerOf("Keyframed Box")->getPosition(1.0f), {1, 0, 0}, "box at 1 s");
    expectNear(eye->getPosition(), {0, 0, 0}, "camera before its first frame");
    cameraView(eye, 1.0);
    expectNear(eye->getPosition(), {0, 0, 5}, "camera");
    Light* sun = scene.getLights().find("sun");
    sun->enable(1.0);
    expectNear(Vector(sun->getPosition()), {1, 2, -3}, "light");
    sun->disable();
}

TEST_F(XMLSceneLoaderTest, ChannelsMoveTurnAndScaleWithZAndBankNegated)
{
    ASSERT_EQ(load(sceneFile("<object name=\"Box\" filename=\"box.lwo\">" +
                             group("Position", "XYZ", {1, 2, 3}, {3, 4, 5}) +
                             group("Rotation", "HPB", {0.1f, 0.2f, 0.3f}, {0.5f, 0.6f, 0.7f}) +
                             group("Scale", "XYZ", {1, 1, 1}, {2, 3, 4}) + "</object>\n")),
              "");
    Keyframer* k = keyframerOf("Keyframed Box");
    ASSERT_NE(k, nullptr);
    const struct {
        float time;
        Vector position, hpb, scale;
    } table[] = {
        {0.0f, {1, 2, -3}, {0.1f, 0.2f, -0.3f}, {1, 1, 1}},
        {1.0f, {3, 4, -5}, {0.5f, 0.6f, -0.7f}, {2, 3, 4}},
        // Half way between two keys of zero spline values lies the mean.
        {0.5f, {2, 3, -4}, {0.3f, 0.4f, -0.5f}, {1.5f, 2, 2.5f}},
        // Before the first and after the last key the end keys hold.
        {-1.0f, {1, 2, -3}, {0.1f, 0.2f, -0.3f}, {1, 1, 1}},
        {3.0f, {3, 4, -5}, {0.5f, 0.6f, -0.7f}, {2, 3, 4}},
    };
    for (const auto& row : table) {
        const std::string at = "at " + toString(static_cast<double>(row.time)) + " s";
        expectNear(k->getPosition(row.time), row.position, "position " + at);
        expectNear(k->getHpb(row.time), row.hpb, "rotation " + at);
        expectNear(k->getScale(row.time), row.scale, "scale " + at);
    }
}

TEST_F(XMLSceneLoaderTest, AGroupTakesFramesAndSplineValuesFromItsFirstChannel)
{
    // Y and Z give only values: their frames and spline values are not used.
    ASSERT_EQ(load(sceneFile("<object name=\"Box\" filename=\"box.lwo\">" +
                             channel("Position.X", {{0, 0}, {12, 1}, {48, 0}}, "tension=\"1\" continuity=\"0.5\" "
                                                                               "bias=\"0.25\"") +
                             channel("Position.Y", {{100, 5}, {7, 6}, {3, 9}}) +
                             channel("Position.Z", {{1, 0}, {2, 1}, {3, 2}}, "tension=\"0.5\" continuity=\"0\" "
                                                                             "bias=\"1\"") +
                             channel("Rotation.H", {{24, 1}, {0, 0}}) + channel("Rotation.P", {{5, 2}, {6, 3}}) +
                             channel("Rotation.B", {{0, 4}, {0, 5}}) + "</object>\n")),
              "");
    Keyframer expected(&scene);
    expected.setFrameRate(24);
    expected.addPositionKey(0, Vector(0, 5, 0), 1, 0.5f, 0.25f);
    expected.addPositionKey(12, Vector(1, 6, -1), 1, 0.5f, 0.25f);
    expected.addPositionKey(48, Vector(0, 9, -2), 1, 0.5f, 0.25f);
    expected.setPositionRange(0, 48);
    // In file order the range runs from frame 24 back to 0.
    expected.addHpbKey(24, 1, 2, -4, 0, 0, 0);
    expected.addHpbKey(0, 0, 3, -5, 0, 0, 0);
    expected.setRotationRange(24, 0);

    Keyframer* k = keyframerOf("Keyframed Box");
    for (float time : {0.0f, 0.2f, 0.5f, 0.9f, 1.3f, 2.0f, 2.5f}) {
        const std::string at = "at " + toString(static_cast<double>(time)) + " s";
        expectNear(k->getPosition(time), expected.getPosition(time), "position " + at);
        expectNear(k->getHpb(time), expected.getHpb(time), "rotation " + at);
    }
    expectNear(k->getPosition(0.5f), {1, 6, -1}, "the second key");
}

TEST_F(XMLSceneLoaderTest, BonesAnimateRelativeToTheirRestValues)
{
    ASSERT_EQ(load(sceneFile("<object name=\"Robot\" filename=\"box.lwo\">\n"
                             "<bone name=\"arm\"><restposition x=\"1\" y=\"2\" z=\"3\"/>"
                             "<restrotation h=\"0.1\" p=\"0.2\" b=\"0.3\"/>" +
                             channel("Position.X", {{0, 1}}) + channel("Position.Y", {{0, 2}}) +
                             channel("Position.Z", {{0, 5}}) + channel("Rotation.H", {{0, 0.5f}}) +
                             channel("Rotation.P", {{0, 0.2f}}) + channel("Rotation.B", {{0, 0.4f}}) +
                             "</bone>\n"
                             "<bone><restrotation h=\"0\" p=\"0\" b=\"0\"/><restposition x=\"0\" y=\"0\" z=\"0\"/>"
                             "</bone>\n"
                             "</object>\n")),
              "");
    KeyframedActor* robot = keyed("Keyframed Robot");
    EXPECT_EQ(robot->getKeyframer(), nullptr);
    const auto& bones = robot->getBoneKeyframers();
    ASSERT_EQ(bones.size(), 2u);
    ASSERT_EQ(bones.count("arm"), 1u);
    ASSERT_NE(bones.at("arm"), nullptr);
    // (1 - 1, 2 - 2, -(5 - 3)) and (0.5 - 0.1, 0.2 - 0.2, -(0.4 - 0.3)).
    expectNear(bones.at("arm")->getPosition(0), {0, 0, -2}, "bone position");
    expectNear(bones.at("arm")->getHpb(0), {0.4f, 0, -0.1f}, "bone rotation");
    // A bone without a name or keys turns nothing.
    ASSERT_EQ(bones.count(""), 1u);
    EXPECT_EQ(bones.at(""), nullptr);
    EXPECT_EQ(scene.getKeyframerController().getKeyframerCount(), 1);
}

TEST_F(XMLSceneLoaderTest, OnlyPositionOrRotationKeysMakeAKeyframer)
{
    const std::vector<Key> keys = {{0, 1}, {24, 2}};
    const struct {
        const char* what;
        std::string channels;
        bool keyframer;
        Vector position, hpb;  // at 1 s
    } table[] = {
        {"only Rotation.H", channel("Rotation.H", keys), true, {0, 0, 0}, {0, 0, 0}},
        {"only Position.Y and Position.Z", channel("Position.Y", keys) + channel("Position.Z", keys), true,
         {0, 0, 0}, {0, 0, 0}},
        {"heading and pitch without bank", channel("Rotation.H", keys) + channel("Rotation.P", keys) +
                                               group("Position", "XYZ", {0, 0, 0}, {1, 1, 1}),
         true, {1, 1, -1}, {0, 0, 0}},
        {"three scale channels", group("Scale", "XYZ", {1, 1, 1}, {2, 2, 2}), false, {}, {}},
        {"scale channels whose counts differ", channel("Scale.X", keys) + channel("Scale.Y", {{0, 1}}), false, {}, {}},
        {"channels of other names", channel("Position.W", keys) + channel("position.x", keys) +
                                        "<channel><key frame=\"0\" value=\"1\" curve=\"tcb\" tension=\"0\" "
                                        "continuity=\"0\" bias=\"0\"/></channel>",
         false, {}, {}},
    };
    for (const auto& row : table) {
        Environment fresh;
        XMLSceneLoader loader(&fresh);
        writeFile("data/scene.xml", sceneFile("<object name=\"Box\" filename=\"box.lwo\">" + row.channels + "</object>"));
        LogCapture quiet;
        ASSERT_NO_THROW(loader.load("scene.xml")) << row.what;
        Keyframer* k = fresh.getKeyframedActors().find("Keyframed Box")->getKeyframer();
        EXPECT_EQ(k != nullptr, row.keyframer) << row.what;
        EXPECT_EQ(fresh.getKeyframerController().getKeyframerCount(), row.keyframer ? 1 : 0) << row.what;
        if (k) {
            expectNear(k->getPosition(1), row.position, row.what);
            expectNear(k->getHpb(1), row.hpb, row.what);
            expectNear(k->getScale(1), {1, 1, 1}, row.what);
        }
    }
}

TEST_F(XMLSceneLoaderTest, KeysOfOtherCurvesHaveNoSplineValues)
{
    LogCapture log;
    Log::getInstance()->setLevel(LogLevel::debug);
    // The key elements' own names do not matter.
    ASSERT_EQ(load(sceneFile("<light name=\"sun\"><channel name=\"Position.X\">"
                             "<k frame=\"0\" value=\"1\" curve=\"linear\" tension=\"7\"/>"
                             "<key frame=\"24\" value=\"2.5\" curve=\"tcb\" tension=\"0.5\" continuity=\"0\" "
                             "bias=\"1\"/></channel>" +
                             channel("Position.Y", {{0, 0}, {1, 0}}) + channel("Position.Z", {{0, 0}, {1, 0}}) +
                             "</light>")),
              "");
    EXPECT_TRUE(log.contains("[debug] xmlsceneloader::loadTCBFloatKey() - frame 0: 1 (WARN! \"linear\" curve)\n"))
        << log.text();
    EXPECT_TRUE(log.contains("[debug] xmlsceneloader::loadTCBFloatKey() - frame 24: 2.5 (t=0.5, c=0, b=1)\n"));
    EXPECT_TRUE(log.contains("[debug] xmlsceneloader::loadKeyframerNode() - Keys for X Coordinate Position: 2\n"));
    EXPECT_TRUE(log.contains("[debug] xmlsceneloader::loadKeyframerNode() - Keys for Z Coordinate Position: 2\n"));
    EXPECT_TRUE(log.contains("[debug] xmlsceneloader::loadKeyframerNode() - Loading channel \"Position.X\". \n"));
    EXPECT_TRUE(log.contains("[debug] xmlsceneloader::load() - Default fps: 24\n"));
    EXPECT_TRUE(log.contains("[debug] xmlsceneloader::loadSceneNodes() - Loading light called \"sun\".\n"));
    EXPECT_TRUE(log.contains("[debug] xmlsceneloader::loadLightNode() - Creating light \"sun\". \n"));
    EXPECT_EQ(log.warnings(), 0);

    Keyframer expected(&scene);
    expected.addPositionKey(0, Vector(1, 0, 0), 0, 0, 0);
    expected.addPositionKey(24, Vector(2.5f, 0, 0), 0.5f, 0, 1);
    expected.setPositionRange(0, 24);
    Light* sun = scene.getLights().find("sun");
    for (float time : {0.25f, 0.5f, 0.75f}) {
        sun->enable(time);
        expectNear(Vector(sun->getPosition()), expected.getPosition(time), "light at " + std::to_string(time));
    }
    sun->disable();
}

TEST_F(XMLSceneLoaderTest, LayersAreSkippedAndObjectsOfOneFileShareTheirActor)
{
    LogCapture log;
    Log::getInstance()->setLevel(LogLevel::debug);
    ASSERT_EQ(load(sceneFile("<object name=\"Car:Layer1\" filename=\"missing.lwo\"><bone/></object>\n"
                             "<object name=\"Car\" filename=\"box.lwo\"/>\n"
                             "<object name=\"Truck\" filename=\"box.lwo\"/>\n")),
              "");
    EXPECT_TRUE(log.contains("[debug] xmlsceneloader::loadObjectNode() - Skipping layer data for \"Car:Layer1\".\n"));
    EXPECT_TRUE(log.contains("[debug] environment::loadLWO() - Reusable already loaded object \"box.lwo\""));
    EXPECT_FALSE(scene.getActors().exists("missing.lwo"));
    EXPECT_EQ(scene.getActors().size(), 1);
    EXPECT_EQ(keyed("Keyframed Car")->getActor(), scene.getActors().find("box.lwo"));
    EXPECT_EQ(keyed("Keyframed Truck")->getActor(), scene.getActors().find("box.lwo"));
    EXPECT_NE(keyed("Keyframed Car"), keyed("Keyframed Truck"));
    EXPECT_TRUE(log.contains("[info] xmlsceneloader::loadObjectNode() - Created \"Keyframed Truck\" from Actor "
                             "\"box.lwo\" and Keyframer \"<NULL>\".\n"));
}

TEST_F(XMLSceneLoaderTest, ACameraTargetGetsAKeyframerThatNothingFollows)
{
    ASSERT_EQ(load(sceneFile("<camera name=\"eye\"><target>" + group("Position", "XYZ", {0, 0, 0}, {1, 1, 1}) +
                             "</target></camera>\n"
                             "<camera name=\"spy\">" + group("Position", "XYZ", {0, 0, -1}, {0, 0, -1}) + "</camera>\n")),
              "");
    EXPECT_EQ(scene.getKeyframerController().getKeyframerCount(), 2);

    // The camera without keys of its own stays at the origin, whatever its target does.
    std::vector<float> identity(16, 0.0f);
    for (int i = 0; i < 4; ++i)
        identity[i * 5] = 1.0f;
    EXPECT_EQ(cameraView(scene.getCameraController().find("eye"), 1.0), identity);
    std::vector<float> spy = cameraView(scene.getCameraController().find("spy"), 1.0);
    EXPECT_FLOAT_EQ(spy[14], -1.0f);
}

TEST_F(XMLSceneLoaderTest, ACameraTurnsByItsHeadingPitchAndBank)
{
    ASSERT_EQ(load(sceneFile("<camera name=\"eye\">" + group("Position", "XYZ", {1, 2, 3}, {1, 2, 3}) +
                             group("Rotation", "HPB", {0.3f, -0.2f, 0.5f}, {0.3f, -0.2f, 0.5f}) + "</camera>\n")),
              "");
    Keyframer reference(&scene);
    reference.addPositionKey(0, Vector(1, 2, -3), 0, 0, 0);
    reference.addHpbKey(0, 0.3f, -0.2f, -0.5f, 0, 0, 0);
    HpbCamera expected;
    expected.setKeyframer(&reference);
    LogCapture quiet;
    const std::vector<float> want = cameraView(&expected, 0.5);
    const std::vector<float> got = cameraView(scene.getCameraController().find("eye"), 0.5);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(got[i], want[i], 1e-5f) << "element " << i;
}

TEST_F(XMLSceneLoaderTest, OtherNodesAreReportedAndSkipped)
{
    LogCapture log;
    Log::getInstance()->setLevel(LogLevel::debug);
    // A node of another kind needs no name to be passed over.
    ASSERT_EQ(load(sceneFile("<!-- a comment -->text<fog name=\"mist\"><camera name=\"inner\"/></fog>\n<haze/>\n"
                             "<camera name=\"eye\"><note name=\"n\"/><bone name=\"b\"/>" +
                             group("Position", "XYZ", {0, 0, 0}, {0, 0, 0}) + "</camera>\n")),
              "");
    EXPECT_EQ(log.warnings(), 2);
    EXPECT_EQ(log.errors(), 0);
    EXPECT_TRUE(log.contains("[warning] xmlsceneloader::loadSceneNodes() - What!? The scene node \"fog\" is unknown "
                             "(unsupported)!\n"));
    EXPECT_TRUE(log.contains("[warning] xmlsceneloader::loadSceneNodes() - What!? The scene node \"haze\" is unknown "
                             "(unsupported)!\n"));
    EXPECT_TRUE(log.contains("[debug] xmlsceneloader::loadKeyframerNode() - Loading note \"n\". \n"));
    EXPECT_TRUE(log.contains("[debug] xmlsceneloader::loadKeyframerNode() - Skipping unsupported node \"bone\".\n"));
    EXPECT_EQ(scene.getCameraController().size(), 1);
    EXPECT_TRUE(scene.getCameraController().exists("eye"));
}

TEST_F(XMLSceneLoaderTest, NamesAreLatin1AndFileNamesMayUseBackslashes)
{
    writeFile("data/models/box.lwo", squareObject(0, 1, 0));
    ASSERT_EQ(load(sceneFile("<camera name=\"Kamera \xc3\xa4\"/>\n"
                             "<object name=\"Gr\xc3\xbcn\" filename=\"models\\box.lwo\"/>\n")),
              "");
    EXPECT_TRUE(scene.getCameraController().exists("Kamera \xe4"));
    EXPECT_TRUE(scene.getActors().exists("models\\box.lwo"));
    EXPECT_EQ(keyed("Keyframed Gr\xfcn")->getActor()->getTriangleCount(), 2);
}

TEST_F(XMLSceneLoaderTest, NumbersAreWholeFiniteNumbers)
{
    const struct {
        const char* text;
        float value;
    } good[] = {{"2.5", 2.5f}, {" -0.5 ", -0.5f}, {"+1", 1.0f}, {".5", 0.5f}, {"1e2", 100.0f}, {"3.", 3.0f},
                {"1e-50", 0.0f}};
    for (const auto& row : good) {
        Environment fresh;
        writeFile("data/scene.xml",
                  sceneFile(std::string("<light name=\"sun\"><channel name=\"Position.X\"><key frame=\"0\" value=\"") +
                            row.text + "\" curve=\"linear\"/></channel>" + channel("Position.Y", {{0, 0}}) +
                            channel("Position.Z", {{0, 0}}) + "</light>"));
        XMLSceneLoader loader(&fresh);
        ASSERT_NO_THROW(loader.load("scene.xml")) << row.text;
        Light* sun = fresh.getLights().find("sun");
        sun->enable(0.0);
        EXPECT_FLOAT_EQ(sun->getPosition()[0], row.value) << row.text;
        sun->disable();
    }
    for (const char* bad : {"abc", "1x", "", " ", "nan", "inf", "-inf", "1e39", "1e400", "0x10", "+-1", "1,5"}) {
        LogCapture log;
        EXPECT_EQ(load(sceneFile(std::string("<light name=\"sun\"><channel name=\"Position.X\"><key frame=\"0\" "
                                             "value=\"") +
                                 bad + "\" curve=\"linear\"/></channel></light>")),
                  "")
            << bad;
        EXPECT_TRUE(log.contains("getFloatAttribute() - Error! Attribute \"value\" of \"key\" in \"data/scene.xml\" is "
                                 "not a number: \"" +
                                 std::string(bad) + "\"."))
            << bad << ": " << log.text();
        EXPECT_EQ(contents(), (Contents{0, 0, 0, 0, 0})) << bad;
    }
}

TEST_F(XMLSceneLoaderTest, BrokenScenesNameTheFileAndChangeNothing)
{
    const std::string pos = group("Position", "XYZ", {0, 0, 0}, {1, 1, 1});
    const struct {
        const char* what;
        std::string content;
        std::string message;  // a piece of the exception's text
    } table[] = {
        {"another root", "<timeline fps=\"24\"/>", "load() - Error! The root element of \"data/scene.xml\" is not "
                                                   "\"scene\"."},
        {"no fps", "<scene><camera name=\"a\"/></scene>", "Attribute \"fps\" of \"scene\" is missing in "
                                                          "\"data/scene.xml\"."},
        {"fps 0", sceneFile("", "0"), "load() - Error! The frame rate \"fps\" of \"data/scene.xml\" must be above 0."},
        {"negative fps", sceneFile("", "-24"), "must be above 0."},
        {"fps not a number", sceneFile("", "fast"), "Attribute \"fps\" of \"scene\" in \"data/scene.xml\" is not a "
                                                    "number: \"fast\"."},
    };
    // Every file begins with a good camera, light and object, to show that none of them is made.
    for (const auto& row : table) {
        std::string content = row.content;
        const std::string::size_type body = content.find("<scene fps=\"24\">\n");
        if (body != std::string::npos)
            content.insert(body + 17, "<camera name=\"first\">" + pos + "</camera><light name=\"early\">" + pos +
                                          "</light><object name=\"Early\" filename=\"box.lwo\">" + pos + "</object>\n");
        LogCapture log;
        const std::string message = load(content);
        EXPECT_EQ(message.rfind(PARSER_FAILURE, 0), 0u) << row.what << ": " << message;
        EXPECT_NE(message.find(row.message), std::string::npos) << row.what << ": " << message;
        EXPECT_EQ(contents(), (Contents{0, 0, 0, 0, 0})) << row.what;
    }
}

TEST_F(XMLSceneLoaderTest, ABrokenNodeIsLeftOutAndTheOthersLoad)
{
    const std::string pos = group("Position", "XYZ", {0, 0, 0}, {1, 1, 1});
    const std::string rest = "<restposition x=\"0\" y=\"0\" z=\"0\"/><restrotation h=\"0\" p=\"0\" b=\"0\"/>";
    const std::string camera = "loadCameraNode", light = "loadLightNode", object = "loadObjectNode";
    // Around each broken node: a good camera, light and object before it and after it, each of
    // them keyed. What the good nodes make, and more where a row's first node of a name is good.
    const Contents good{2, 2, 1, 2, 6};
    const struct {
        const char* what;
        std::string body;
        std::string guard;  // the node loader whose guard reports the failure
        std::string node;   // how the failure names the node
        std::string message;  // a piece of the cause
        Contents made;
    } table[] = {
        {"a camera without a name", "<camera/>", camera, "Camera \"\"",
         "Attribute \"name\" of \"camera\" is missing in \"data/scene.xml\".", good},
        {"an object without a file", "<object name=\"Box\"/>", object, "Object \"Box\"",
         PARSER_FAILURE + "getAttribute() - Error! Attribute \"filename\" of \"object\" is missing in "
                          "\"data/scene.xml\".",
         good},
        {"position counts", "<camera name=\"eye\">" + channel("Position.X", {{0, 0}, {1, 1}, {2, 2}}) +
                                channel("Position.Y", {{0, 0}, {1, 1}}) + channel("Position.Z", {{0, 0}, {1, 1}, {2, 2}}) +
                                "</camera>",
         camera, "Camera \"eye\"",
         PARSER_FAILURE + "loadKeyframerNode() - Panic! Key counts for X, Y and Z position keys do not match! Unable "
                          "to create key vectors.",
         good},
        {"Position.X alone", "<light name=\"sun\">" + channel("Position.X", {{0, 0}}) + "</light>", light,
         "Light \"sun\"", "Key counts for X, Y and Z position keys do not match!", good},
        {"rotation counts", "<light name=\"sun\">" + channel("Rotation.H", {{0, 0}}) +
                                channel("Rotation.P", {{0, 0}, {1, 1}}) + channel("Rotation.B", {{0, 0}}) + "</light>",
         light, "Light \"sun\"",
         "loadKeyframerNode() - Panic! Key counts for H, P and B rotation keys do not match! Unable to create key "
         "quaternions",
         good},
        {"scale counts", "<object name=\"Box\" filename=\"box.lwo\">" + pos + channel("Scale.X", {{0, 1}}) + "</object>",
         object, "Object \"Box\"",
         "loadKeyframerNode() - Panic! Key counts for X, Y and Z scale keys do not match! Unable to create key "
         "quaternions",
         good},
        {"tension above one",
         "<camera name=\"eye\">" + channel("Position.X", {{0, 0}}, "tension=\"1.5\" continuity=\"0\" bias=\"0\"") +
             "</camera>",
         camera, "Camera \"eye\"",
         "loadTCBFloatKeys() - Key 1 of channel \"Position.X\" is broken. "
         "KelvoEngineException::::InvalidParameterValueException::TCBKey<keyType>::Constructor - Unable to create key. "
         "Spline flags contain illegal (above one) values",
         good},
        {"bias below zero",
         "<camera name=\"eye\">" + channel("Rotation.H", {{0, 0}, {1, 1}}, "tension=\"0\" continuity=\"0\" bias=\"-0.1\"") +
             "</camera>",
         camera, "Camera \"eye\"",
         "Key 1 of channel \"Rotation.H\" is broken. KelvoEngineException::::InvalidParameterValueException::TCBKey<"
         "keyType>::Constructor - Unable to create key. Spline flags contain illegal (below zero) values",
         good},
        {"a bad key in a channel of another name",
         "<camera name=\"eye\"><channel name=\"Zoom\"><key frame=\"0\" value=\"1\" curve=\"tcb\"/></channel></camera>",
         camera, "Camera \"eye\"",
         "Key 1 of channel \"Zoom\" is broken. " + PARSER_FAILURE +
             "getAttribute() - Error! Attribute \"tension\" of \"key\" is missing in \"data/scene.xml\".",
         good},
        {"an empty key",
         "<camera name=\"eye\"><channel name=\"Position.X\"><key frame=\"0\" value=\"0\" curve=\"step\"/><key/>"
         "</channel></camera>",
         camera, "Camera \"eye\"",
         "Key 2 of channel \"Position.X\" is broken. " + PARSER_FAILURE +
             "loadTCBFloatKey() - An empty \"key\" node found! Please add frame, value, curve and t,c,b parameters.",
         good},
        {"a key without a curve",
         "<camera name=\"eye\"><channel name=\"Position.X\"><key frame=\"0\" value=\"0\"/></channel></camera>", camera,
         "Camera \"eye\"", "Attribute \"curve\" of \"key\" is missing", good},
        {"a key without a frame",
         "<camera name=\"eye\"><channel name=\"Position.X\"><key value=\"0\" curve=\"step\"/></channel></camera>",
         camera, "Camera \"eye\"", "Attribute \"frame\" of \"key\" is missing", good},
        {"a bad key in a target",
         "<camera name=\"eye\"><target><channel name=\"Position.X\"><key frame=\"a\" value=\"0\" curve=\"step\"/>"
         "</channel></target></camera>",
         camera, "Camera \"eye\"", "Attribute \"frame\" of \"key\" in \"data/scene.xml\" is not a number: \"a\".",
         good},
        {"a bone without its rest position",
         "<object name=\"Box\" filename=\"box.lwo\"><bone name=\"arm\"><restrotation h=\"0\" p=\"0\" b=\"0\"/>"
         "</bone></object>",
         object, "Object \"Box\"",
         "loadBones() - Bone \"arm\" is broken. " + PARSER_FAILURE +
             "loadTranslation() - Translation node \"restposition\" not found under the given XML DOM node.",
         good},
        {"a bone without its rest rotation",
         "<object name=\"Box\" filename=\"box.lwo\"><bone name=\"arm\"><restposition x=\"0\" y=\"0\" z=\"0\"/>"
         "</bone></object>",
         object, "Object \"Box\"",
         "loadHpbRotation() - Rotation node \"restrotation\" not found under the given XML DOM node.", good},
        {"an empty rest position",
         "<object name=\"Box\" filename=\"box.lwo\"><bone name=\"arm\"><restposition/><restrotation h=\"0\" p=\"0\" "
         "b=\"0\"/></bone></object>",
         object, "Object \"Box\"",
         "loadTranslation() - Translation node \"restposition\" is empty! Please add x, y and z parameters.", good},
        {"an empty rest rotation",
         "<object name=\"Box\" filename=\"box.lwo\"><bone name=\"arm\"><restposition x=\"0\" y=\"0\" z=\"0\"/>"
         "<restrotation/></bone></object>",
         object, "Object \"Box\"",
         "loadHpbRotation() - Rotation node \"restrotation\" is empty! Please add h, p and b parameters.", good},
        {"a rest rotation without bank",
         "<object name=\"Box\" filename=\"box.lwo\"><bone name=\"arm\"><restposition x=\"0\" y=\"0\" z=\"0\"/>"
         "<restrotation h=\"0\" p=\"0\"/></bone></object>",
         object, "Object \"Box\"", "Attribute \"b\" of \"restrotation\" is missing", good},
        // The good bone's keyframer is not made either: nothing of a broken node is built.
        {"a broken bone after a good one",
         "<object name=\"Box\" filename=\"box.lwo\"><bone name=\"a\">" + rest + pos + "</bone><bone name=\"b\">" +
             rest + channel("Rotation.H", {{0, 0}}, "tension=\"2\" continuity=\"0\" bias=\"0\"") + "</bone></object>",
         object, "Object \"Box\"", "loadBones() - Bone \"b\" is broken. ", good},
        {"two lights of one name", "<light name=\"sun\"/><light name=\"sun\"/>", light, "Light \"sun\"",
         "KelvoEngineException::::Factory<Light>Exception::create() - Unable to create new component. Component "
         "\"sun\" already exists in this factory!.",
         Contents{2, 3, 1, 2, 6}},
        // The second object's file is never looked for.
        {"two objects of one name", "<object name=\"Box\" filename=\"box.lwo\"/><object name=\"Box\" filename=\"other.lwo\"/>",
         object, "Object \"Box\"",
         "KelvoEngineException::::Factory<KeyframedActor>Exception::create() - Unable to create new component. "
         "Component \"Keyframed Box\" already exists in this factory!.",
         Contents{2, 2, 1, 3, 6}},
    };
    for (const auto& row : table) {
        const std::string before = "<camera name=\"first\">" + pos + "</camera><light name=\"early\">" + pos +
                                   "</light><object name=\"Early\" filename=\"box.lwo\">" + pos + "</object>\n";
        const std::string after = "\n<camera name=\"last\">" + pos + "</camera><light name=\"late\">" + pos +
                                  "</light><object name=\"Late\" filename=\"box.lwo\">" + pos + "</object>\n";
        writeFile("data/scene.xml", sceneFile(before + row.body + after));
        Environment fresh;
        LogCapture log;
        XMLSceneLoader loader(&fresh);
        EXPECT_NO_THROW(loader.load("scene.xml")) << row.what << ": the load completes";
        EXPECT_EQ(contentsOf(fresh), row.made) << row.what;
        for (const char* name : {"first", "last"})
            EXPECT_TRUE(fresh.getCameraController().exists(name)) << row.what << ", camera " << name;
        for (const char* name : {"early", "late"})
            EXPECT_TRUE(fresh.getLights().exists(name)) << row.what << ", light " << name;
        for (const char* name : {"Keyframed Early", "Keyframed Late"})
            EXPECT_TRUE(fresh.getKeyframedActors().exists(name)) << row.what << ", " << name;
        EXPECT_EQ(log.errors(), 1) << row.what << ":\n" << log.text();
        const std::string line = "[error] xmlsceneloader::" + row.guard + "() - An Exception occurred while loading." +
                                 PARSER_FAILURE + row.guard + "() - " + row.node +
                                 " of \"data/scene.xml\" cannot be loaded. ";
        EXPECT_TRUE(log.contains(line)) << row.what << ": no line\n" << line << "\n" << log.text();
        EXPECT_TRUE(log.contains(row.message)) << row.what << ": no cause\n" << row.message << "\n" << log.text();
    }
}

TEST_F(XMLSceneLoaderTest, ABrokenCameraBetweenAGoodCameraAndALightLeavesBothLoaded)
{
    LogCapture log;
    EXPECT_EQ(load(sceneFile("<camera name=\"eye\"/>\n<camera name=\"bad\">" + channel("Position.X", {{0, 0}}) +
                             "</camera>\n<light name=\"sun\"/>\n")),
              "");
    EXPECT_TRUE(scene.getCameraController().exists("eye"));
    EXPECT_FALSE(scene.getCameraController().exists("bad"));
    EXPECT_TRUE(scene.getLights().exists("sun"));
    EXPECT_EQ(log.errors(), 1) << log.text();
    EXPECT_TRUE(log.contains("[error] xmlsceneloader::loadCameraNode() - An Exception occurred while loading." +
                             PARSER_FAILURE + "loadCameraNode() - Camera \"bad\" of \"data/scene.xml\" cannot be "
                                              "loaded. "))
        << log.text();
}

TEST_F(XMLSceneLoaderTest, ANodesFailureIsLoggedUnderItsLoader)
{
    LogCapture log;
    const std::string message = load(sceneFile("<camera name=\"eye\">" + channel("Position.X", {{0, 0}, {1, 1}}) +
                                               channel("Position.Y", {{0, 0}}) + "</camera>"));
    EXPECT_EQ(message, "");
    EXPECT_EQ(log.errors(), 1);
    EXPECT_TRUE(log.contains("[error] xmlsceneloader::loadCameraNode() - An Exception occurred while loading." +
                             PARSER_FAILURE + "loadCameraNode() - Camera \"eye\" of \"data/scene.xml\" cannot be "
                                              "loaded. " +
                             PARSER_FAILURE + "loadKeyframerNode() - Panic! Key counts for X, Y and Z position keys "
                                              "do not match! Unable to create key vectors.\n"))
        << log.text();
    EXPECT_FALSE(scene.getCameraController().exists("eye"));
}

TEST_F(XMLSceneLoaderTest, NamesTakenInTheSceneFailTheirNodeBeforeAnythingOfItIsMade)
{
    scene.getLights().create("sun", &scene);
    ASSERT_EQ(load(sceneFile("<object name=\"Box\" filename=\"box.lwo\"/>")), "");
    Contents before = contents();
    ++before.cameras;  // "eye", made by both files
    const struct {
        const char* what;
        std::string body;
        const char* message;
    } table[] = {
        {"light", "<camera name=\"eye\"/><light name=\"sun\"/>", "Component \"sun\" already exists in this factory!."},
        {"keyed actor", "<camera name=\"eye\"/><object name=\"Box\" filename=\"box.lwo\"/>",
         "Component \"Keyframed Box\" already exists in this factory!."},
    };
    for (const auto& row : table) {
        LogCapture log;
        EXPECT_EQ(load(sceneFile(row.body)), "") << row.what;
        EXPECT_EQ(log.errors(), 1) << row.what;
        EXPECT_TRUE(log.contains(row.message)) << row.what << ": " << log.text();
        EXPECT_EQ(contents(), before) << row.what;
    }
}

TEST_F(XMLSceneLoaderTest, AnObjectWhoseFileFailsIsLeftOutAndTheOthersLoad)
{
    std::string cut = squareObject(0, 0, 1);
    cut.resize(cut.size() - 6);
    writeFile("data/cut.lwo", cut);
    writeFile("data/late.lwo", squareObject(0, 1, 0));
    LogCapture log;
    EXPECT_EQ(load(sceneFile("<camera name=\"eye\"/><light name=\"sun\"/>"
                             "<object name=\"Box\" filename=\"box.lwo\"/>"
                             "<object name=\"Cut\" filename=\"cut.lwo\"/>"
                             "<object name=\"Late\" filename=\"late.lwo\"/>")),
              "");
    EXPECT_TRUE(log.contains("[error] xmlsceneloader::loadObjectNode() - An Exception occurred while loading." +
                             PARSER_FAILURE + "loadObjectNode() - Object \"Cut\" of \"data/scene.xml\" cannot be "
                                              "loaded. KelvoEngineException::::EnvironmentException::loadLWO() - Panic! "
                                              "Failed to load LightWave object \"cut.lwo\". "))
        << log.text();
    // Of "Cut" nothing was kept, not even its actor.
    EXPECT_TRUE(scene.getActors().exists("box.lwo"));
    EXPECT_FALSE(scene.getActors().exists("cut.lwo"));
    EXPECT_TRUE(scene.getActors().exists("late.lwo"));
    EXPECT_TRUE(scene.getKeyframedActors().exists("Keyframed Box"));
    EXPECT_FALSE(scene.getKeyframedActors().exists("Keyframed Cut"));
    EXPECT_TRUE(scene.getKeyframedActors().exists("Keyframed Late"));
    EXPECT_EQ(contents(), (Contents{1, 1, 2, 2, 0}));
}

TEST_F(XMLSceneLoaderTest, EveryObjectOfAFileThatFailsFailsAndNoneIsDrawn)
{
    writeFile("data/sign.lwo", squareWithMissingPicture());
    // The camera 5 units back; the red box in the middle, the two signs 1 unit to its left and right.
    LogCapture log;
    ASSERT_EQ(load(sceneFile("<camera name=\"eye\">" + group("Position", "XYZ", {0, 0, -5}, {0, 0, -5}) +
                             "</camera>\n"
                             "<object name=\"Box\" filename=\"box.lwo\"/>\n"
                             "<object name=\"Left\" filename=\"sign.lwo\">" +
                             group("Position", "XYZ", {-1, 0, 0}, {-1, 0, 0}) + "</object>\n"
                             "<object name=\"Right\" filename=\"sign.lwo\">" +
                             group("Position", "XYZ", {1, 0, 0}, {1, 0, 0}) + "</object>\n")),
              "");
    for (const char* name : {"Left", "Right"})
        EXPECT_TRUE(log.contains(std::string("[error] xmlsceneloader::loadObjectNode() - An Exception occurred while "
                                             "loading.") +
                                 PARSER_FAILURE + "loadObjectNode() - Object \"" + name +
                                 "\" of \"data/scene.xml\" cannot be loaded. KelvoEngineException::::"
                                 "EnvironmentException::loadLWO() - Panic! Failed to load LightWave object "
                                 "\"sign.lwo\". "))
            << name << "\n" << log.text();
    EXPECT_FALSE(log.contains("Reusable already loaded object \"sign.lwo\""));
    EXPECT_FALSE(scene.getActors().exists("sign.lwo"));
    EXPECT_EQ(contents(), (Contents{1, 0, 1, 1, 1}));

    scene.getCameraController().setCamera("eye");
    scene.setViewState();
    scene.render(0.0);
    // 1 unit at 5 in front of a 45-degree view lies 116 pixels off the centre.
    EXPECT_TRUE(closeColour(readPixel(320, 240), {255, 0, 0}, 0)) << describe(readPixel(320, 240));
    for (int x : {320 - 116, 320 + 116})
        EXPECT_TRUE(closeColour(readPixel(x, 240), {0, 0, 0}, 0)) << x << ": " << describe(readPixel(x, 240));
}

TEST_F(XMLSceneLoaderTest, MissingAndMalformedFilesAreNoScenes)
{
    for (const UnreadableFile& u : makeUnreadableFiles("data/")) {
        LogCapture quiet;
        Watchdog guard("loading an XML scene from " + u.path, 5.0);
        EXPECT_EQ(loadFile(u.name), PARSER_FAILURE + "load() - An error occured during parsing. " + u.reason) << u.name;
    }
    LogCapture log;
    EXPECT_EQ(load("<scene fps=\"24\">\n<camera name=\"eye\">\n</scene>\n"),
              PARSER_FAILURE + "load() - Arrggh! Error occurred while parsing \"data/scene.xml\". Errors should have "
                               "been reported by the parser.");
    EXPECT_TRUE(log.contains("[error] domtreeerrorreporter::fatalError() - Fatal Error at file \"" +
                             path("data/scene.xml") + "\", line 3, column "))
        << log.text();
    EXPECT_EQ(contents(), (Contents{0, 0, 0, 0, 0}));
}

TEST_F(XMLSceneLoaderTest, EntitiesFromOutsideAndEntityBombsAreRefused)
{
    writeFile("data/extra.xml", "<camera name=\"spy\"/>");
    const std::string bomb = laughingEntities();
    const struct {
        const char* what;
        std::string content;
    } table[] = {
        {"external entity", "<!DOCTYPE scene [ <!ENTITY extra SYSTEM \"extra.xml\"> ]>\n<scene fps=\"24\">&extra;</scene>"},
        {"external DTD", "<!DOCTYPE scene SYSTEM \"extra.xml\">\n<scene fps=\"24\"/>\n"},
    };
    for (const auto& row : table) {
        LogCapture log;
        EXPECT_EQ(load(row.content), PARSER_FAILURE + "load() - Arrggh! Error occurred while parsing "
                                                      "\"data/scene.xml\". Errors should have been reported by the "
                                                      "parser.")
            << row.what;
        EXPECT_TRUE(log.contains("fatalError() - Fatal Error at file \"" + path("data/scene.xml") + "\"")) << row.what;
        EXPECT_EQ(contents(), (Contents{0, 0, 0, 0, 0})) << row.what;
    }
    // Nested entities are refused before any is expanded, the file named.
    EXPECT_EQ(load("<!DOCTYPE scene [\n" + bomb + "]>\n<scene fps=\"24\"><camera name=\"&j;\"/></scene>\n"),
              PARSER_FAILURE + "parse() - File \"data/scene.xml\": the entity expansion budget was exceeded: the "
                               "entities of a file may stand for 1048576 characters in 5000 expansions at most.");
    EXPECT_EQ(contents(), (Contents{0, 0, 0, 0, 0}));
    // Entities of the document itself are expanded (a document with a grammar is validated by it).
    ASSERT_EQ(load("<!DOCTYPE scene [ <!ELEMENT scene (camera*)> <!ATTLIST scene fps CDATA #REQUIRED>\n"
                   "<!ELEMENT camera EMPTY> <!ATTLIST camera name CDATA #REQUIRED> <!ENTITY who \"eye\"> ]>\n"
                   "<scene fps=\"24\"><camera name=\"&who;\"/></scene>"),
              "");
    EXPECT_TRUE(scene.getCameraController().exists("eye"));
}

TEST_F(XMLSceneLoaderTest, TruncatedAndDamagedFilesFailCleanly)
{
    const std::string content =
        sceneFile("<camera name=\"eye\">" + channel("Position.X", {{0, 1}}) + channel("Position.Y", {{0, 2}}) +
                  channel("Position.Z", {{0, 3}}) + "</camera>\n<light name=\"sun\"/>\n"
                  "<object name=\"Box\" filename=\"box.lwo\"><bone name=\"arm\"><restposition x=\"0\" y=\"0\" "
                  "z=\"0\"/><restrotation h=\"0\" p=\"0\" b=\"0\"/>" +
                  channel("Rotation.H", {{0, 1}}) + "</bone></object>\n");
    const std::string::size_type complete = content.rfind('>') + 1;
    LogCapture quiet;
    for (std::string::size_type length = 0; length < complete; ++length) {
        const std::string message = load(content.substr(0, length));
        EXPECT_EQ(message.rfind(PARSER_FAILURE, 0), 0u) << "prefix of " << length << " bytes: " << message;
        EXPECT_EQ(contents(), (Contents{0, 0, 0, 0, 0})) << "prefix of " << length << " bytes";
    }
    for (std::string::size_type at = 0; at < content.size(); at += 5) {
        std::string damaged = content;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x5a);
        Environment other;
        writeFile("data/scene.xml", damaged);
        XMLSceneLoader loader(&other);
        try {
            loader.load("scene.xml");  // may load or fail, never worse
        } catch (const XMLParserException&) {
            // Only the actor of a damaged object file name may stay, as "loadLWO" leaves it.
            Contents left = contentsOf(other);
            left.actors = 0;
            EXPECT_EQ(left, (Contents{0, 0, 0, 0, 0})) << "damaged at " << at;
        }
    }
    EXPECT_EQ(load(content), "");
    EXPECT_EQ(contents(), (Contents{1, 1, 1, 1, 2}));
}

TEST_F(XMLSceneLoaderTest, TheSameFileLoadsAgainIntoAnotherScene)
{
    const std::string content = sceneFile("<light name=\"sun\"/><object name=\"Box\" filename=\"box.lwo\">" +
                                          group("Position", "XYZ", {0, 0, 0}, {1, 1, 1}) + "</object>");
    ASSERT_EQ(load(content), "");
    Environment other;
    XMLSceneLoader loader(&other);
    loader.load("scene.xml");
    EXPECT_EQ(other.getKeyframedActors().size(), 1);
    EXPECT_EQ(other.getLights().size(), 1);
    EXPECT_NE(other.getActors().find("box.lwo"), scene.getActors().find("box.lwo"));
    EXPECT_FLOAT_EQ(loader.getFramesPerSecond(), 24.0f);
}

TEST_F(XMLSceneLoaderTest, TheScenesActionNamesTheFileOfAFailure)
{
    writeFile("data/scene.xml", sceneFile("<camera name=\"eye\"/><object name=\"Box\" filename=\"box.lwo\"/>"));
    writeFile("data/broken.xml", "<scene/>");
    EnvironmentController controller;
    controller.initialize();
    controller.stringAction("createEnvironment", "world");
    Environment* world = dynamic_cast<Environment*>(controller.Factory<GenericEnvironment>::find("world"));
    ASSERT_NE(world, nullptr);

    LogCapture log;
    controller.stringAction("world.loadXMLScene", "scene.xml");
    EXPECT_TRUE(log.contains("[info] environment::loadXMLScene() - Loading XML Scene object \"scene.xml\" to "
                             "Environment \"world\"..\n"))
        << log.text();
    EXPECT_TRUE(world->getCameraController().exists("eye"));
    EXPECT_TRUE(world->getKeyframedActors().exists("Keyframed Box"));

    std::string message;
    try {
        controller.stringAction("world.loadXMLScene", "broken.xml");
    } catch (const EnvironmentException& e) {
        message = e.getMessage();
    }
    EXPECT_EQ(message, "KelvoEngineException::::EnvironmentException::loadXMLScene() - Failed to load XML scene file "
                       "\"broken.xml\". " +
                           PARSER_FAILURE + "getAttribute() - Error! Attribute \"fps\" of \"scene\" is missing in "
                                            "\"data/broken.xml\".");
}

TEST_F(XMLSceneLoaderTest, AFileDrawsItsObjectsWhereItsKeysPutThem)
{
    writeFile("data/green.lwo", squareObject(0, 1, 0));
    // The camera 5 units back (LightWave's z points into the screen), then 1 to the right at 2 s;
    // the red box moves 1 to the right over the first second, the green one stays 1 up.
    ASSERT_EQ(load(sceneFile("<camera name=\"eye\">" +
                             channel("Position.X", {{0, 0}, {24, 0}, {48, 1}}) +
                             channel("Position.Y", {{0, 0}, {24, 0}, {48, 0}}) +
                             channel("Position.Z", {{0, -5}, {24, -5}, {48, -5}}) + "</camera>\n"
                             "<object name=\"Red\" filename=\"box.lwo\">" +
                             group("Position", "XYZ", {0, 0, 0}, {1, 0, 0}) + "</object>\n"
                             "<object name=\"Green\" filename=\"green.lwo\">" +
                             group("Position", "XYZ", {0, 1, 0}, {0, 1, 0}) + "</object>\n")),
              "");
    scene.getCameraController().setCamera("eye");
    LogCapture quiet;
    // 1 unit at 5 in front of a 45-degree view lies 116 pixels off the centre.
    auto at = [](float x, float y) { return readPixel(320 + static_cast<int>(x * 116), 240 + static_cast<int>(y * 116)); };
    const struct {
        double time;
        float redX, greenX;  // units right of the centre
    } frames[] = {{0.0, 0, 0}, {1.0, 1, 0}, {2.0, 0, -1}};
    for (const auto& f : frames) {
        scene.setViewState();
        scene.render(f.time);
        EXPECT_TRUE(closeColour(at(f.redX, 0), {255, 0, 0}, 0)) << f.time << " s: " << describe(at(f.redX, 0));
        EXPECT_TRUE(closeColour(at(f.greenX, 1), {0, 255, 0}, 0)) << f.time << " s: " << describe(at(f.greenX, 1));
        EXPECT_TRUE(closeColour(at(f.redX - 0.8f, 0), {0, 0, 0}, 0)) << f.time << " s";
    }
}

TEST_F(XMLSceneLoaderTest, ABonesKeysTurnItsPartOfTheObjectFromItsRestRotation)
{
    // Two bones end to end along x, upper from -1 to 0 and lower from 0 to 1, with a green square
    // bound to upper and a red one to lower.
    writeFile("data/robot.lwo", twoBoneObject());

    // The lower bone's bank runs from its rest value 0.5 to a quarter turn past it; the camera
    // stands 5 units back.
    const std::string still = "<channel name=\"Rotation.H\"><key frame=\"0\" value=\"0\" curve=\"linear\"/>"
                              "<key frame=\"24\" value=\"0\" curve=\"linear\"/></channel>"
                              "<channel name=\"Rotation.P\"><key frame=\"0\" value=\"0\" curve=\"linear\"/>"
                              "<key frame=\"24\" value=\"0\" curve=\"linear\"/></channel>";
    LogCapture quiet;
    ASSERT_EQ(load(sceneFile("<camera name=\"eye\">" + channel("Position.X", {{0, 0}}) + channel("Position.Y", {{0, 0}}) +
                             channel("Position.Z", {{0, -5}}) + "</camera>\n"
                             "<object name=\"Robot\" filename=\"robot.lwo\">\n"
                             "<bone name=\"lower\"><restposition x=\"0\" y=\"0\" z=\"0\"/>"
                             "<restrotation h=\"0\" p=\"0\" b=\"0.5\"/>" +
                             still + channel("Rotation.B", {{0, 0.5f}, {24, 0.5f - 1.5707964f}}) +
                             "</bone></object>\n")),
              "");
    scene.getCameraController().setCamera("eye");
    expectTwoBoneFrames(scene);
}
