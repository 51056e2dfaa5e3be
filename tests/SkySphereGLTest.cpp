#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <string>
#include <vector>

#include "Environment.h"
#include "GLEnvironment.h"
#include "HpbCamera.h"
#include "JpegWriter.h"
#include "KeyframedMesh.h"
#include "Keyframer.h"
#include "Pixels.h"
#include "ResourceLoader.h"
#include "SkySphere.h"
#include "Sphere.h"
#include "Surface.h"
#include "TestSupport.h"
#include "Texture.h"
#include "VectorCheck.h"

// Spheres and the sky sphere on the shared window: the sphere's rings worked out by hand, and the
// sky drawn around the camera of a 3D scene, read back from the back buffer.
namespace {
const float DEGREES = 0.017453292f;

class SkySphereTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath(temp->path() + "/");
        drainGLErrors();
        // 16 x 16: the upper half (the image's first rows) red, the lower half green.
        std::vector<unsigned char> halves;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                halves.push_back(y < 8 ? 255 : 0);
                halves.push_back(y < 8 ? 0 : 255);
                halves.push_back(0);
            }
        writeJpeg(path("halves.jpg"), 16, 16, 3, halves);
        writeJpeg(path("blue.jpg"), 16, 16, 3, solidPixels(16, 16, {0, 0, 255}));
        writeJpeg(path("wide.jpg"), 300, 200, 3, solidPixels(300, 200, {0, 0, 255}));
        // The program draws with back faces culled.
        glEnable(GL_CULL_FACE);

        scene.setName("outside");
        scene.setBackgroundColor("#ff00ff");
        scene.getCameraController().createHpbCamera("eye");
        scene.getCameraController().setCamera("eye");
    }
    void TearDown() override
    {
        glDisable(GL_CULL_FACE);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
        ResourceLoader::setResourcePath("");
        TempDirTest::TearDown();
    }

    // The eye at position, turned by pitch (degrees; positive looks down), for every time.
    void placeCamera(const Vector& position, float pitch)
    {
        Keyframer* keyframer = scene.getKeyframerController().createKeyframer();
        keyframer->addPositionKey(0.0f, position, 0.0f, 0.0f, 0.0f);
        keyframer->addHpbKey(0.0f, 0.0f, pitch * DEGREES, 0.0f, 0.0f, 0.0f, 0.0f);
        static_cast<HpbCamera*>(scene.getCameraController().find("eye"))->setKeyframer(keyframer);
    }

    // One frame as the controller draws it; the colour at the window's centre.
    Pixel frame()
    {
        scene.setViewState();
        scene.render(0.0);
        return readPixel(320, 240);
    }

    Environment scene;
};
}

TEST_F(SkySphereTest, SphereOfFourByFourStepsHasFourRingsOfFiveColumns)
{
    Sphere sphere(&scene, 1.0f, 4, 4);
    // Rings at 0, 45, 90 and 135 degrees, columns at 0, 90, 180, 270 and 360; the ring at 135
    // ends at the south pole and gets its first triangles only.
    EXPECT_EQ(sphere.getTriangleCount(), 5 * 2 * 3 + 5);
    // The first quad: (0, 0) at the north pole, (45, 0) and the pole again as (0, 90).
    const Triangle* first = sphere.getTriangle(0);
    const float s = std::sin(45.0f * DEGREES), c = std::cos(45.0f * DEGREES);
    expectVector(sphere.getPointVector(first->getPoint(0)), Vector(0, 0, 1), "P(0, 0)");
    expectVector(sphere.getPointVector(first->getPoint(1)), Vector(s, 0, c), "P(45, 0)");
    expectVector(sphere.getPointVector(first->getPoint(2)), Vector(0, 0, 1), "P(0, 90)");
    // Its second triangle shares P3 and P2 and adds P(45, 90).
    const Triangle* second = sphere.getTriangle(1);
    EXPECT_EQ(second->getPoint(0), first->getPoint(2));
    EXPECT_EQ(second->getPoint(1), first->getPoint(1));
    expectVector(sphere.getPointVector(second->getPoint(2)), Vector(0, s, c), "P(45, 90)");
    EXPECT_EQ(sphere.getPoints().size(), 5u * 4u * 3u + 5u * 3u);
    Vector min, max;
    sphere.getBoundingBox(min, max);
    EXPECT_NEAR(min.z, -1.0f, 1e-6) << "down to the south pole";
}

TEST_F(SkySphereTest, WholeDegreeStepsStopTheRingsShortOfThePole)
{
    struct Case {
        const char* what;
        unsigned latitude, longitude;
        int triangles;
        float lowest;  // cos of the last ring's lower edge
    } cases[] = {
        // 11.25 degrees a ring advanced by 11: 16 rings from 0 to 165, each with both triangles,
        // of 17 columns advanced by 22; the last ring ends at 176.25 degrees.
        {"16 by 16", 16, 16, 16 * 17 * 2, std::cos(176.25f * DEGREES)},
        // 12 and 24 degrees exactly: the sky's sphere, 15 rings of 16 columns.
        {"15 by 15", 15, 15, 15 * 16 + 14 * 16, -1.0f},
        // Less than a degree a step still advances by one: 180 rings, every one short of latEnd.
        {"400 rings", 400, 4, 180 * 5 * 2, std::cos(179.45f * DEGREES)},
    };
    for (const Case& c : cases) {
        Sphere sphere(&scene, 1.0f, c.latitude, c.longitude);
        EXPECT_EQ(sphere.getTriangleCount(), c.triangles) << c.what;
        Vector min, max;
        sphere.getBoundingBox(min, max);
        EXPECT_NEAR(min.z, c.lowest, 1e-5) << c.what;
    }
    EXPECT_EQ(Sphere(&scene, 1.0f, 0, 4).getTriangleCount(), 0);
    EXPECT_EQ(Sphere(&scene, 1.0f, 4, 0).getTriangleCount(), 0);
}

TEST_F(SkySphereTest, LoadTextureWrapsAnUnmipmappedTextureAroundTheSky)
{
    SkySphere sky(&scene);
    sky.setName("sky");
    EXPECT_EQ(sky.getName(), "sky");
    EXPECT_EQ(sky.getSphere().getName(), "sky");
    EXPECT_EQ(sky.getSphere().getTriangleCount(), 464);
    LogCapture log;
    sky.loadTexture("wide.jpg");
    // The top ring's first triangles have no area.
    EXPECT_TRUE(log.contains("[warning] mesh::calcFaceNormals(\"sky\") - 16 zero face normals detected. Possibly "
                             "defected mesh.\n"))
        << log.text();
    Texture* texture = scene.getTextureManager().find("wide.jpg");
    EXPECT_FALSE(texture->isMipmapping());
    EXPECT_EQ(texture->getWidth(), 256);
    EXPECT_EQ(texture->getHeight(), 256);
    EXPECT_TRUE(sky.getSphere().isTextured());
    EXPECT_EQ(sky.getSphere().getSurfaces().size(), 1);
    EXPECT_EQ(sky.getSphere().getTriangle(0)->getSurfaceName(), "wide.jpg");

    // Again with another file: one surface, named after it; both textures stay in the scene.
    sky.stringAction("loadTexture", "blue.jpg");
    EXPECT_EQ(sky.getSphere().getSurfaces().size(), 1);
    EXPECT_TRUE(sky.getSphere().getSurfaces().exists("blue.jpg"));
    EXPECT_EQ(sky.getSphere().getSurfaces().find("blue.jpg")->getName(), "blue.jpg");
    EXPECT_TRUE(scene.getTextureManager().exists("wide.jpg"));
    EXPECT_TRUE(scene.getTextureManager().exists("blue.jpg"));
}

TEST_F(SkySphereTest, FailedLoadNamesTheFile)
{
    SkySphere sky(&scene);
    try {
        sky.loadTexture("missing.jpg");
        FAIL() << "no such file";
    } catch (SkySphereException& e) {
        const std::string start = "KelvoEngineException::::SkySphereException::setTexture() - Failed to set the "
                                  "texture from file \"missing.jpg\". KelvoEngineException::";
        EXPECT_EQ(e.getMessage().compare(0, start.size(), start), 0) << e.getMessage();
    }
}

TEST_F(SkySphereTest, SkyIsDrawnInsteadOfTheColourClear)
{
    EXPECT_TRUE(closeColour(frame(), {255, 0, 255}, 0)) << "the clear colour without a sky";
    scene.stringAction("createSkySphere", "sky");
    scene.stringAction("sky.loadTexture", "blue.jpg");
    ASSERT_NE(scene.getSkySphere(), nullptr);
    EXPECT_EQ(scene.getSkySphere()->getName(), "sky");
    EXPECT_TRUE(closeColour(frame(), {0, 0, 255}, 4)) << describe(readPixel(320, 240));
    for (const auto& corner : {std::make_pair(2, 2), std::make_pair(637, 477)})
        EXPECT_TRUE(closeColour(readPixel(corner.first, corner.second), {0, 0, 255}, 4))
            << corner.first << ", " << corner.second;
    // Everything else is drawn over it, whatever its distance.
    Surface white(&scene);
    white.getMaterial().setColor(RGBA(1, 1, 1, 1));
    KeyframedMesh* mesh = scene.getKeyframedMeshes().create("board", &scene);
    mesh->getSurfaces().store("white", std::make_unique<Surface>(white));
    mesh->addTriangle(Vector(-1, -1, -20), Vector(1, -1, -20), Vector(1, 1, -20));
    mesh->addTriangle(Vector(-1, -1, -20), Vector(1, 1, -20), Vector(-1, 1, -20));
    mesh->setSurfaceName("white");
    EXPECT_TRUE(closeColour(frame(), {255, 255, 255}, 0)) << describe(readPixel(320, 240));
    scene.getKeyframedMeshes().erase("board");
}

TEST_F(SkySphereTest, SkyTurnsWithTheCameraButNeverMovesWithIt)
{
    scene.createSkySphere("sky");
    scene.getSkySphere()->loadTexture("halves.jpg");
    struct Case {
        const char* what;
        Vector position;
        float pitch;
        Pixel colour;
    } cases[] = {
        // v grows with y and the image's first row is v = 0: its upper half wraps the lower sky.
        {"looking up", Vector(0, 0, 0), -60.0f, {0, 255, 0}},
        {"looking down", Vector(0, 0, 0), 60.0f, {255, 0, 0}},
        {"looking up far away", Vector(100, -250, 40), -60.0f, {0, 255, 0}},
        {"looking down far away", Vector(-30, 400, 7), 60.0f, {255, 0, 0}},
    };
    for (const Case& c : cases) {
        placeCamera(c.position, c.pitch);
        const Pixel p = frame();
        EXPECT_TRUE(closeColour(p, c.colour, 8)) << c.what << ": " << describe(p);
    }
}

TEST_F(SkySphereTest, SkyLeavesDepthTestFrontFaceAndLightingAsTheSceneHasThem)
{
    SkySphere sky(&scene);
    sky.loadTexture("blue.jpg");
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-1, 1, -0.75, 0.75, 1, 300);
    glMatrixMode(GL_MODELVIEW);
    for (bool lit : {true, false}) {
        scene.setLightingEnabled(lit);
        if (lit)
            glEnable(GL_LIGHTING);
        else
            glDisable(GL_LIGHTING);
        glEnable(GL_DEPTH_TEST);
        glLoadIdentity();
        glTranslatef(3.0f, 4.0f, 5.0f);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        sky.render(0.0);
        // Unlit while it draws: a lit sky without lights would come out nearly black.
        EXPECT_TRUE(closeColour(readPixel(320, 240), {0, 0, 255}, 4)) << lit;
        EXPECT_EQ(glIsEnabled(GL_LIGHTING) == GL_TRUE, lit);
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << lit;
        GLint front = 0;
        glGetIntegerv(GL_FRONT_FACE, &front);
        EXPECT_EQ(front, GL_CCW) << lit;
        float m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        EXPECT_EQ(m[12], 3.0f) << "the camera's translation is back";
        EXPECT_EQ(m[14], 5.0f);
    }
}

TEST_F(SkySphereTest, SkyWithoutATextureFailsToDrawAndRestoresTheState)
{
    SkySphere sky(&scene);
    glEnable(GL_DEPTH_TEST);
    EXPECT_THROW(sky.render(0.0), SkySphereException);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLint front = 0, depth = 0;
    glGetIntegerv(GL_FRONT_FACE, &front);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(front, GL_CCW);
    EXPECT_EQ(depth, 1);
}

TEST_F(SkySphereTest, SecondSkySphereReplacesTheFirstAndTheOldNameReachesNothing)
{
    scene.stringAction("createSkySphere", "day");
    scene.stringAction("day.loadTexture", "blue.jpg");
    scene.stringAction("createSkySphere", "night");
    EXPECT_EQ(scene.getSkySphere()->getName(), "night");
    EXPECT_THROW(scene.stringAction("day.loadTexture", "blue.jpg"), Exception);
    EXPECT_EQ(scene.getSkySphere()->getSphere().getSurfaces().size(), 0) << "a new sphere without a texture";
    scene.stringAction("night.loadTexture", "halves.jpg");
    EXPECT_TRUE(scene.getSkySphere()->getSphere().getSurfaces().exists("halves.jpg"));
}

TEST_F(SkySphereTest, ASkyDrawnWithoutATextureNamesItselfAndTheActionThatGivesItOne)
{
    const std::string failure = "KelvoEngineException::::SkySphereException::render() - The sky sphere \"sky\" of "
                                "Environment \"outside\" has no texture: give it one with its action \"loadTexture\" "
                                "(\"outside.sky.loadTexture\") before the scene is drawn.";
    const struct {
        const char* what;
        const char* texture;  // loaded first, "" for none
    } cases[] = {
        {"never given a texture", ""},
        {"its texture failed to load", "missing.jpg"},
    };
    for (const auto& c : cases) {
        scene.stringAction("createSkySphere", "sky");
        if (*c.texture != '\0') {
            EXPECT_THROW(scene.stringAction("sky.loadTexture", c.texture), SkySphereException) << c.what;
        }
        LogCapture log;
        try {
            frame();
            ADD_FAILURE() << c.what << ": drawn";
        } catch (const Exception& e) {
            EXPECT_EQ(e.getMessage(), failure) << c.what;
        }
        EXPECT_FALSE(log.contains("display list")) << c.what << "\n" << log.text();
        GLint front = 0;
        glGetIntegerv(GL_FRONT_FACE, &front);
        EXPECT_EQ(front, GL_CCW) << c.what;
    }

    // Once given one, it draws.
    scene.stringAction("sky.loadTexture", "blue.jpg");
    EXPECT_TRUE(closeColour(frame(), {0, 0, 255})) << describe(frame());
}
