#include "3dsLoader.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <memory>
#include <string>

#include "3dsChunkIds.h"
#include "3dsLoaderException.h"
#include "Environment.h"
#include "GLEnvironment.h"
#include "JpegWriter.h"
#include "Keyframer.h"
#include "Light.h"
#include "Material.h"
#include "ResourceLoader.h"
#include "Surface.h"
#include "TestSupport.h"
#include "Texture.h"
#include "ThreeDSScenes.h"
#include "ThreeDSWriter.h"
#include "TrackCamera.h"

using namespace _3dsChunk;

// Materials, lights and cameras of 3D Studio files loaded into a scene on the shared window: the
// surfaces need the driver's texture units, textures and lights a context.
namespace {
const float FPS = 24.0f;  // the keyframer controller's frame rate

std::string material(const std::string& name, const std::string& body)
{
    ThreeDSWriter w;
    w.chunk(MATERIAL).chunk(MATERIAL_NAME).str(name).end().raw(body).end();
    return w.bytes();
}

std::string textureMap(const std::string& file, uint16_t kind = TEXTURE_MAP)
{
    ThreeDSWriter w;
    w.chunk(kind).raw(percentage(100)).chunk(MAP_FILENAME).str(file).end().end();
    return w.bytes();
}

class ThreeDSLoaderSceneTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath("");
        drainGLErrors();
        environment = std::make_unique<Environment>();
    }
    void TearDown() override
    {
        for (GLenum light : {GL_LIGHT0, GL_LIGHT1, GL_LIGHT2})
            glDisable(light);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
        TempDirTest::TearDown();
    }

    void load(const std::string& bytes)
    {
        writeFile("scene.3ds", bytes);
        _3dsLoader loader;
        loader.load("scene.3ds", environment.get());
    }

    Surface* surface(const std::string& name) { return environment->getSurfaces().find(name); }
    Light* light(const std::string& name) { return environment->getLights().find(name); }

    static void expectColour(const RGBA& actual, float r, float g, float b, const std::string& what)
    {
        EXPECT_FLOAT_EQ(actual.r, r) << what;
        EXPECT_FLOAT_EQ(actual.g, g) << what;
        EXPECT_FLOAT_EQ(actual.b, b) << what;
        EXPECT_FLOAT_EQ(actual.a, 1.0f) << what;
    }

    // The light's parameter as OpenGL holds it after the light is enabled at time 0.
    static void expectSent(Light* light, GLenum parameter, float r, float g, float b, const std::string& what)
    {
        light->enable(0.0);
        float v[4] = {-1, -1, -1, -1};
        glGetLightfv(static_cast<GLenum>(light->getLightId()), parameter, v);
        EXPECT_FLOAT_EQ(v[0], r) << what;
        EXPECT_FLOAT_EQ(v[1], g) << what;
        EXPECT_FLOAT_EQ(v[2], b) << what;
    }

    std::unique_ptr<Environment> environment;
};

void expectNear(const Vector& actual, const Vector& expected, const std::string& what)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-4f) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-4f) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-4f) << what;
}
}

TEST_F(ThreeDSLoaderSceneTest, MaterialsBecomeSurfacesWithTheirColours)
{
    load(inMain(editor(material("Red", chunkOf(MATERIAL_AMBIENT, colourByte(255, 128, 0)) +
                                           chunkOf(MATERIAL_DIFFUSE, colourFloat(0.1f, 0.2f, 0.3f)) +
                                           chunkOf(MATERIAL_SPECULAR, colourByte(0, 0, 255))) +
                       material("Plain", ""))));
    ASSERT_EQ(environment->getSurfaces().size(), 2);
    Material& red = surface("Red")->getMaterial();
    EXPECT_EQ(surface("Red")->getName(), "Red");
    expectColour(red.getAmbient(), 1.0f, 128 * 0.003921569f, 0.0f, "ambient from bytes");
    expectColour(red.getDiffuse(), 0.1f, 0.2f, 0.3f, "diffuse from floats");
    expectColour(red.getSpecular(), 0.0f, 0.0f, 1.0f, "specular from bytes");

    const Material untouched;
    const Material& plain = surface("Plain")->getMaterial();
    expectColour(plain.getDiffuse(), untouched.getDiffuse().r, untouched.getDiffuse().g, untouched.getDiffuse().b,
                 "a material without colour chunks keeps the defaults");
    EXPECT_TRUE(surface("Plain")->getTextures().empty());
}

TEST_F(ThreeDSLoaderSceneTest, ShininessComesFromPercentages)
{
    struct Case {
        uint16_t ratio, strength;
        float shininess, specularLevel;  // as given to the material
    } cases[] = {{50, 40, 0.5f, 0.4f}, {0, 250, 0.0f, 1.0f}, {100, 100, 1.0f, 1.0f}};
    for (const Case& c : cases) {
        environment = std::make_unique<Environment>();
        load(inMain(editor(material("M", chunkOf(SHININESS_RATIO, percentage(c.ratio)) +
                                             chunkOf(SHININESS_STRENGTH, percentage(c.strength))))));
        Material expected;
        expected.setShininess(c.shininess);
        expected.setSpecularLevel(c.specularLevel);
        const Material& loaded = surface("M")->getMaterial();
        EXPECT_FLOAT_EQ(loaded.getShininess(), expected.getShininess()) << c.ratio;
        EXPECT_FLOAT_EQ(loaded.getSpecularLevel(), expected.getSpecularLevel()) << c.strength;
    }
}

TEST_F(ThreeDSLoaderSceneTest, AMaterialNameAlreadyInTheSceneEndsTheLoad)
{
    load(inMain(editor(material("Red", ""))));
    try {
        load(inMain(editor(material("Red", ""))));
        ADD_FAILURE() << "no exception";
    } catch (const ComponentAlreadyExistsException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::Factory<Surface>Exception::create() - Unable to create "
                                  "new component. Component \"Red\" already exists in this factory!.");
    }
}

TEST_F(ThreeDSLoaderSceneTest, MapFilesAreLoadedAsLowerCaseJpegsThroughTheTextureManager)
{
    writeJpeg(path("brick.jpg"), 8, 8, 3, solidPixels(8, 8, {200, 0, 0}));
    writeJpeg(path("maps/stone.jpg"), 8, 8, 3, solidPixels(8, 8, {0, 200, 0}));
    load(inMain(editor(material("Brick", textureMap("Brick.TGA")) + material("Stone", textureMap("Maps\\Stone.PNG")) +
                       material("Again", textureMap("BRICK.bmp")))));
    for (const char* name : {"Brick", "Stone", "Again"})
        ASSERT_EQ(surface(name)->getTextures().size(), 1u) << name;
    Texture* brick = surface("Brick")->getTextures()[0];
    EXPECT_EQ(brick, environment->getTextureManager().find("brick.jpg"));
    EXPECT_EQ(brick->getWidth(), 8);
    EXPECT_EQ(surface("Again")->getTextures()[0], brick) << "one texture per file name";
    EXPECT_EQ(surface("Stone")->getTextures()[0], environment->getTextureManager().find("maps\\stone.jpg"));
    EXPECT_EQ(surface("Stone")->getTextures()[0]->getWidth(), 8) << "the backslash separates folders";
    EXPECT_EQ(environment->getTextureManager().size(), 2);
}

TEST_F(ThreeDSLoaderSceneTest, ATextureThatFailsLeavesTheMaterialUntexturedAndTheLoadGoesOn)
{
    LogCapture log;
    load(inMain(editor(material("Wood", textureMap("wood.bmp")) + lightObject("Omni", 0, 0, 0))));
    EXPECT_TRUE(surface("Wood")->getTextures().empty());
    EXPECT_TRUE(environment->getLights().exists("Omni"));
    EXPECT_TRUE(log.contains("[error] 3dsloader::readMapFile() - Failed to load surface texture \"wood.jpg\". "
                             "Exception message follows. KelvoEngineException::::SurfaceException::"))
        << log.text();
}

TEST_F(ThreeDSLoaderSceneTest, AMissingTexturesLineNamesThePathTried)
{
    writeFile("data/scene.3ds", inMain(editor(material("Wood", textureMap("Maps\\Wood.BMP")))));
    ResourceLoader::setResourcePath("data/");
    LogCapture log;
    _3dsLoader loader;
    loader.load("scene.3ds", environment.get());
    ResourceLoader::setResourcePath("");
    EXPECT_TRUE(surface("Wood")->getTextures().empty());
    EXPECT_TRUE(log.contains("[error] 3dsloader::readMapFile() - Failed to load surface texture \"maps\\wood.jpg\". "
                             "Exception message follows. KelvoEngineException::::SurfaceException::addTexture() - "
                             "Failed to create or load new Texture. KelvoEngineException::::TextureException::"
                             "loadTexture() - Failed to load \"maps\\wood.jpg\". Exception: KelvoEngineException::::"
                             "JPEGLoaderException::JPEGLoader() - Can't open jpeg resource \"maps\\wood.jpg\". Failed "
                             "to open the resource. File \"data/maps/wood.jpg\": file not found.\n"))
        << log.text();
}

TEST_F(ThreeDSLoaderSceneTest, OnlyMapFilesAfterATextureMapChunkAreLoaded)
{
    writeJpeg(path("brick.jpg"), 8, 8, 3, solidPixels(8, 8, {200, 0, 0}));
    ThreeDSWriter loose;
    loose.chunk(MAP_FILENAME).str("brick.jpg").end();
    // Before any texture map chunk, and inside a bump map, which is skipped whole.
    load(inMain(editor(material("Loose", loose.bytes()) + material("Bump", textureMap("brick.jpg", BUMP_MAP)) +
                       material("Mapped", textureMap("brick.jpg")) + material("Later", loose.bytes()))));
    EXPECT_TRUE(surface("Loose")->getTextures().empty());
    EXPECT_TRUE(surface("Bump")->getTextures().empty());
    EXPECT_EQ(surface("Mapped")->getTextures().size(), 1u);
    EXPECT_EQ(surface("Later")->getTextures().size(), 1u) << "the texture-map flag is never cleared";
}

TEST_F(ThreeDSLoaderSceneTest, LightsShineInTheColourReadLast)
{
    struct Case {
        const char* name;
        std::string before;  // chunks ahead of the light in the scene
        std::string own;     // the light's sub-chunks
        float r, g, b;
    } cases[] = {
        {"its own colour", chunkOf(BACKGROUND_COLOR, colourFloat(0.5f, 0.5f, 0.5f)), colourFloat(1.0f, 0.5f, 0.25f),
         1.0f, 0.5f, 0.25f},
        {"the background colour before it", chunkOf(BACKGROUND_COLOR, colourFloat(0.5f, 0.25f, 0.0f)), "", 0.5f,
         0.25f, 0.0f},
        {"a material's colour before it", material("M", chunkOf(MATERIAL_DIFFUSE, colourByte(0, 255, 0))), "", 0.0f,
         1.0f, 0.0f},
        {"black when none was read", "", "", 0.0f, 0.0f, 0.0f},
    };
    for (const Case& c : cases) {
        environment = std::make_unique<Environment>();
        load(inMain(editor(c.before + lightObject("Omni", 1, 2, 3, c.own))));
        expectSent(light("Omni"), GL_DIFFUSE, c.r, c.g, c.b, std::string(c.name) + ", diffuse");
        expectSent(light("Omni"), GL_SPECULAR, c.r, c.g, c.b, std::string(c.name) + ", specular");
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        expectSent(light("Omni"), GL_POSITION, 1.0f, 3.0f, -2.0f, std::string(c.name) + ", position");
        light("Omni")->disable();
    }
}

TEST_F(ThreeDSLoaderSceneTest, SpotlightsTakeTheirConeFromHotspotAndFalloff)
{
    ThreeDSWriter spot;
    spot.chunk(SPOTLIGHT).vec(0, 0, 0).f32(30.0f).f32(45.0f).end();
    load(inMain(editor(lightObject("Spot", 0, 0, 10, spot.bytes()))));
    Light* loaded = light("Spot");
    loaded->enable(0.0);
    float value = -1.0f;
    glGetLightfv(static_cast<GLenum>(loaded->getLightId()), GL_SPOT_CUTOFF, &value);
    EXPECT_FLOAT_EQ(value, 45.0f);
    glGetLightfv(static_cast<GLenum>(loaded->getLightId()), GL_SPOT_EXPONENT, &value);
    EXPECT_FLOAT_EQ(value, 15.0f);
    loaded->disable();
}

TEST_F(ThreeDSLoaderSceneTest, ConesOpenGLCannotTakeAreClampedWithAWarningEach)
{
    // OpenGL takes a cutoff of 0 to 90 degrees or exactly 180 (no cone), and an exponent of 0 to
    // 128; the exponent is the falloff less the hotspot.
    const float nan = std::nanf("");
    const struct {
        const char* what;
        float hotspot, falloff;  // degrees
        float cutoff, exponent;  // as OpenGL holds them; an exponent of 7 was never sent
        int warnings;
    } cases[] = {
        {"a falloff beyond a quarter turn", 30.0f, 120.0f, 90.0f, 90.0f, 1},
        {"a hotspot wider than the falloff", 60.0f, 30.0f, 30.0f, 0.0f, 1},
        {"a falloff of 200 degrees", 0.0f, 200.0f, 90.0f, 128.0f, 2},
        {"a negative falloff", -50.0f, -10.0f, 0.0f, 40.0f, 1},
        {"a falloff that is no number", 0.0f, nan, 90.0f, 0.0f, 2},
        {"no cone at all", 10.0f, 180.0f, 180.0f, 7.0f, 1},
        {"a cone within the limits", 10.0f, 90.0f, 90.0f, 80.0f, 0},
    };
    for (const auto& c : cases) {
        environment = std::make_unique<Environment>();
        ThreeDSWriter spot;
        spot.chunk(SPOTLIGHT).vec(0, 0, 0).f32(c.hotspot).f32(c.falloff).end();
        LogCapture log;
        load(inMain(editor(lightObject("Spot", 0, 0, 10, spot.bytes()))));
        EXPECT_EQ(log.warnings(), c.warnings) << c.what << ":\n" << log.text();
        if (c.warnings > 0) {
            EXPECT_TRUE(log.contains("[warning] 3dsloader::readSpotlight() - Spotlight \"Spot\" in file "
                                     "\"scene.3ds\": "))
                << c.what << ":\n" << log.text();
        }

        Light* loaded = light("Spot");
        loaded->enable(0.0);
        const GLenum id = static_cast<GLenum>(loaded->getLightId());
        glLightf(id, GL_SPOT_CUTOFF, 45.0f);
        glLightf(id, GL_SPOT_EXPONENT, 7.0f);
        drainGLErrors();
        loaded->enable(0.0);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << c.what;
        float value = -1.0f;
        glGetLightfv(id, GL_SPOT_CUTOFF, &value);
        EXPECT_FLOAT_EQ(value, c.cutoff) << c.what;
        glGetLightfv(id, GL_SPOT_EXPONENT, &value);
        EXPECT_FLOAT_EQ(value, c.exponent) << c.what;
        loaded->disable();
    }
}

TEST_F(ThreeDSLoaderSceneTest, LightNodesDriveTheLightAndItsTarget)
{
    ThreeDSWriter spot;
    spot.chunk(SPOTLIGHT).vec(0, 0, 0).f32(10.0f).f32(20.0f).end();
    load(inMain(editor(lightObject("Spot", 0, 0, 0, spot.bytes())) +
                keyframerData(frames(0, 10) +
                              chunkOf(SPOTLIGHT_TRACK, nodeId(1) + nodeName("Spot") +
                                                           positionKeys({{0, 0, {}, 0, 0, 5}, {10, 0, {}, 0, 0, 5}})) +
                              chunkOf(POINTLIGHT_TARGET_TRACK,
                                      nodeId(2) + nodeName("Spot.Target") +
                                          positionKeys({{0, 0, {}, 0, 0, 0}, {10, 0, {}, 0, 0, 0}})))));
    Light* loaded = light("Spot");
    loaded->enable(5.0 / FPS);
    const float* p = loaded->getPosition();
    EXPECT_NEAR(p[0], 0.0f, 1e-5f);
    EXPECT_NEAR(p[1], 5.0f, 1e-5f);
    EXPECT_NEAR(p[2], 0.0f, 1e-5f);
    // The target node's keyframer aims the spot: target minus position.
    const float* d = loaded->getSpotDirection();
    EXPECT_NEAR(d[1], -5.0f, 1e-5f);
    loaded->disable();
}

TEST_F(ThreeDSLoaderSceneTest, CameraNodesDriveTheCameraAndItsTarget)
{
    struct Case {
        const char* name;
        const char* targetNode;
    } cases[] = {{"target named Cam.Target", "Cam.Target"}, {"target named like its camera", "Cam"}};
    for (const Case& c : cases) {
        environment = std::make_unique<Environment>();
        ThreeDSWriter camera;
        camera.chunk(OBJECT_BLOCK).str("Cam").chunk(CAMERA).vec(0, 0, 0).vec(0, 1, 0).f32(0).f32(35).end().end();
        load(inMain(editor(camera.bytes()) +
                    keyframerData(frames(0, 10) +
                                  chunkOf(CAMERA_TRACK, nodeId(1) + nodeName("Cam") +
                                                            positionKeys({{0, 0, {}, 0, 0, 0}, {10, 0, {}, 10, 0, 0}})) +
                                  chunkOf(CAMERA_TARGET_TRACK,
                                          nodeId(2) + nodeName(c.targetNode) + positionKeys({{0, 0, {}, 5, 0, 10}})))));
        Camera* loaded = environment->getCameraController().find("Cam");
        loaded->render(5.0 / FPS);
        expectNear(loaded->getPosition(), Vector(5, 0, 0), c.name);
        // Looking straight up at the target above it (the file's z is the engine's y).
        const Quaternion expected = Quaternion(-1.5707963435f, 0, 1, 0) * Quaternion(1.5707963f, 1, 0, 0);
        const Quaternion q = loaded->getOrientation();
        EXPECT_NEAR(q.x, expected.x, 1e-4f) << c.name;
        EXPECT_NEAR(q.y, expected.y, 1e-4f) << c.name;
        EXPECT_NEAR(q.z, expected.z, 1e-4f) << c.name;
        EXPECT_NEAR(q.w, expected.w, 1e-4f) << c.name;
    }
}

TEST_F(ThreeDSLoaderSceneTest, ACameraNodeForACameraThatIsNoTrackCameraStaysUnattached)
{
    environment->getCameraController().createHpbCamera("Cam");
    LogCapture log;
    load(inMain(keyframerData(chunkOf(CAMERA_TRACK, nodeId(1) + nodeName("Cam")))));
    EXPECT_EQ(log.text(), "[error] 3dsloader::readCameraTrack() - Camera \"Cam\" is not a track camera; node \"Cam\" "
                          "left unattached.\n");
}
