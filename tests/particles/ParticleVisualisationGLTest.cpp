#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Camera.h"
#include "ComponentExceptions.h"
#include "Environment.h"
#include "GLEnvironment.h"
#include "JpegWriter.h"
#include "ParticleManager.h"
#include "ParticleSystem.h"
#include "ParticleTriangle.h"
#include "Pixels.h"
#include "PointVisualisation.h"
#include "Random.h"
#include "ResourceLoader.h"
#include "SceneViews.h"
#include "SphereVisualisation.h"
#include "Sprite3D.h"
#include "Sprite3DVisualisation.h"
#include "Surface.h"
#include "TestSupport.h"
#include "Texture.h"
#include "TriangleVisualisation.h"

// The four particle visualisations drawing into a 3D scene on the shared window, seen by a camera
// at (0, 0, 10) looking down -z, and read back from the back buffer.
namespace {
const Pixel GREY{64, 64, 64};  // the scene's background
const Pixel WHITE{255, 255, 255};
const Pixel RED{255, 0, 0};
const Pixel YELLOW{255, 255, 0};
const Pixel GREEN{0, 255, 0};
const Pixel CYAN{0, 255, 255};
const Pixel BLUE{0, 0, 255};
const Pixel COPPER{204, 128, 102};  // the spheres' material colour (0.8, 0.5, 0.4), unlit

Particle* addParticle(RingBuffer<Particle>& ring, const Vector& position, float size, float energy = 1.0f)
{
    std::unique_ptr<Particle> particle(new Particle());
    particle->position = position;
    particle->size = size;
    particle->energy = energy;
    Particle* raw = particle.get();
    ring.push(std::move(particle));
    return raw;
}

// A texture of exact pixels, without JPEG's rounding or GLU's scaling to a power of two.
class RawTexture : public Texture {
public:
    // rgb: width x height pixels, first row first.
    void upload(int w, int h, const std::vector<Pixel>& rgb)
    {
        std::vector<unsigned char> bytes;
        for (const Pixel& p : rgb)
            for (int c : {p.r, p.g, p.b, 255})
                bytes.push_back(static_cast<unsigned char>(c));
        bindTextureObject();
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        width = w;
        height = h;
    }
};

class ParticleVisualisationTest : public EyeSceneTest {
protected:
    void SetUp() override
    {
        EyeSceneTest::SetUp();
        eye().setPosition(Vector(0.0f, 0.0f, 10.0f));
    }
    void TearDown() override
    {
        glDisable(GL_BLEND);
        glDisable(GL_TEXTURE_2D);
        glColor3f(1.0f, 1.0f, 1.0f);
        EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
        EyeSceneTest::TearDown();
    }

    // The scene's view and its frame: the background and the camera, unlit (it has no lights).
    void frame()
    {
        scene.setViewState();
        scene.render(0.0);
    }

    template <typename T> T* visualisation(const std::string& action, const std::string& name)
    {
        manager.stringAction(action, name);
        T* made = dynamic_cast<T*>(manager.findVisualisation(name));
        EXPECT_NE(made, nullptr) << name;
        return made;
    }

    // A white image for the sprites, made and loaded as the timeline does it.
    void whiteTexture(const std::string& name)
    {
        writeJpeg(path(name + ".jpg"), 16, 16, 3, solidPixels(16, 16, {255, 255, 255}));
        scene.stringAction("textureManager.createTexture", name);
        scene.stringAction("textureManager." + name + ".loadTexture", name + ".jpg");
    }

    // A texture of the scene holding exactly the given pixels in one row.
    void rampTexture(const std::string& name, const std::vector<Pixel>& pixels)
    {
        auto texture = std::make_unique<RawTexture>();
        texture->upload(static_cast<int>(pixels.size()), 1, pixels);
        scene.getTextureManager().store(name, std::move(texture));
    }

    ParticleManager manager{&scene};
};
}

TEST_F(ParticleVisualisationTest, EachKindIsCreatedByNameAndAllButThePointsAnswerAsChildren)
{
    testing::internal::CaptureStdout();
    for (const char* kind : {"Sphere", "Sprite3D", "Point", "Triangle"})
        manager.stringAction(std::string("create") + kind + "Visualisation", std::string("my") + kind);
    const std::string printed = testing::internal::GetCapturedStdout();

    std::string expected;
    for (int i = 0; i < 4; ++i)
        expected += "ParticleVisualisation constructor\n";
    EXPECT_EQ(printed, expected);
    EXPECT_NE(dynamic_cast<SphereVisualisation*>(manager.findVisualisation("mySphere")), nullptr);
    EXPECT_NE(dynamic_cast<Sprite3DVisualisation*>(manager.findVisualisation("mySprite3D")), nullptr);
    EXPECT_NE(dynamic_cast<PointVisualisation*>(manager.findVisualisation("myPoint")), nullptr);
    EXPECT_NE(dynamic_cast<TriangleVisualisation*>(manager.findVisualisation("myTriangle")), nullptr);
    for (const char* name : {"mySphere", "mySprite3D", "myPoint", "myTriangle"})
        EXPECT_EQ(manager.findVisualisation(name)->getName(), name);

    // The children answer no action of their own: the error says so rather than "no child".
    EXPECT_EQ(exceptionMessage([&] { manager.action("mySphere.spin"); }),
              "KelvoEngineException::::ActionException::action() - Action \"spin\" not found!");
    EXPECT_EQ(exceptionMessage([&] { manager.action("myTriangle.spin"); }),
              "KelvoEngineException::::ActionException::action() - Action \"spin\" not found!");
    EXPECT_EQ(exceptionMessage([&] { manager.action("myPoint.spin"); }),
              "KelvoEngineException::::ActionControllableException::childAction() - Child action \"myPoint\" not "
              "found!");
    // The sprite visualisation's sprite is its child "Sprite".
    whiteTexture("white");
    manager.stringAction("mySprite3D.Sprite.setTexture", "white");
    manager.floatAction("mySprite3D.Sprite.setWidth", 3.0f);
    EXPECT_FALSE(scene.getSprites3D().exists("Sprite"));
}

TEST_F(ParticleVisualisationTest, PointsAreDrawnAtTheParticlesOrAtTheGivenPlace)
{
    PointVisualisation* points = visualisation<PointVisualisation>("createPointVisualisation", "dots");
    RingBuffer<Particle> ring(4);
    Particle* first = addParticle(ring, Vector(0.0f, 0.0f, 0.0f), 1.0f);
    addParticle(ring, Vector(1.0f, 1.0f, 0.0f), 1.0f);

    struct Case {
        const char* what;
        std::function<void()> draw;
        std::vector<Probe> probes;
    } cases[] = {
        {"all",
         [&] { points->renderAll(&ring); },
         {{319, 239, RED}, {eyeToWindowX(1) - 1, eyeToWindowY(1) - 1, RED}, {eyeToWindowX(-1), eyeToWindowY(-1), GREY}}},
        {"one particle",
         [&] { points->renderParticle(first); },
         {{319, 239, RED}, {eyeToWindowX(1) - 1, eyeToWindowY(1) - 1, GREY}}},
        {"one particle elsewhere",
         [&] { points->renderAt(first, Vector(-1.0f, -1.0f, 0.0f)); },
         {{319, 239, GREY}, {eyeToWindowX(-1) - 1, eyeToWindowY(-1) - 1, RED}}},
    };
    for (const Case& c : cases) {
        frame();
        // Points take the colour and size the scene left current.
        glDisable(GL_TEXTURE_2D);
        glColor3f(1.0f, 0.0f, 0.0f);
        glPointSize(4.0f);
        c.draw();
        glPointSize(1.0f);
        expectProbes(c.probes, c.what);
    }
}

TEST_F(ParticleVisualisationTest, SpheresHaveTheParticlesSizeAsRadius)
{
    SphereVisualisation* spheres = visualisation<SphereVisualisation>("createSphereVisualisation", "balls");
    RingBuffer<Particle> ring(4);
    Particle* big = addParticle(ring, Vector(0.0f, 0.0f, 0.0f), 0.5f);
    addParticle(ring, Vector(-2.0f, 1.0f, 0.0f), 0.25f);

    // Radius 0.5 is 29 pixels, 0.25 is 14.5.
    const std::vector<Probe> bigAtOrigin = {{320, 240, COPPER}, {320 + 24, 240, COPPER}, {320, 240 - 24, COPPER},
                                            {320 + 35, 240, GREY}, {320, 240 + 35, GREY}};
    const int sx = eyeToWindowX(-2), sy = eyeToWindowY(1);
    const std::vector<Probe> smallOne = {{sx, sy, COPPER}, {sx + 11, sy, COPPER}, {sx + 19, sy, GREY}};
    struct Case {
        const char* what;
        std::function<void()> draw;
        std::vector<Probe> probes;
    } cases[] = {
        {"all", [&] { spheres->renderAll(&ring); }, bigAtOrigin},
        {"one particle", [&] { spheres->renderParticle(big); }, bigAtOrigin},
        {"one particle elsewhere",
         [&] { spheres->renderAt(big, Vector(2.0f, -1.0f, 0.0f)); },
         {{320, 240, GREY}, {eyeToWindowX(2), eyeToWindowY(-1), COPPER}, {eyeToWindowX(2) + 24, eyeToWindowY(-1), COPPER},
          {eyeToWindowX(2) + 35, eyeToWindowY(-1), GREY}}},
    };
    for (const Case& c : cases) {
        frame();
        c.draw();
        expectProbes(c.probes, c.what);
    }
    frame();
    spheres->renderAll(&ring);
    expectProbes(smallOne, "the small one");

    // The modelview matrix is handed back as found.
    GLfloat before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    spheres->renderAll(&ring);
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(before[i], after[i]) << i;
}

TEST_F(ParticleVisualisationTest, ASystemDrawsItsEmittersParticlesThroughItsSpheres)
{
    manager.stringAction("createSphereVisualisation", "balls");
    manager.stringAction("createParticleSystem", "fountain");
    manager.stringAction("fountain.createPointEmittor", "pointEmittor1");
    manager.intAction("fountain.runTest", 4);  // interval 0: ten particles at once at (0, 1, 0)
    manager.stringAction("fountain.addParticleVisualisation", "balls");
    manager.stringAction("fountain.pointEmittor1.enableEmitting", "true");

    frame();
    // The first physical step covers the time since 0: at time 0 nothing has moved yet.
    manager.update(0.0);
    expectProbes({{320, eyeToWindowY(1), COPPER}, {320, eyeToWindowY(1) + 12, COPPER}, {320, eyeToWindowY(1) + 40, GREY},
                  {320, 240 - 20, GREY}},
                 "the spheres at the emitter");
}

TEST_F(ParticleVisualisationTest, SpritesHaveTheParticlesSizeAsWidthAndHeight)
{
    Sprite3DVisualisation* sprites = visualisation<Sprite3DVisualisation>("createSprite3DVisualisation", "glow");
    whiteTexture("white");
    manager.stringAction("glow.Sprite.setTexture", "white");
    RingBuffer<Particle> ring(4);
    Particle* half = addParticle(ring, Vector(0.0f, 0.0f, 0.0f), 0.5f);
    addParticle(ring, Vector(2.0f, 1.0f, 0.0f), 1.0f);

    // Half a unit is 29 pixels: 14.5 on each side of the centre.
    const std::vector<Probe> halfAtOrigin = {{320 + 11, 240 + 11, WHITE}, {320 - 11, 240 - 11, WHITE},
                                             {320 + 18, 240, GREY}, {320, 240 - 18, GREY}};
    struct Case {
        const char* what;
        std::function<void()> draw;
        std::vector<Probe> probes;
    } cases[] = {
        {"one particle", [&] { sprites->renderParticle(half); }, halfAtOrigin},
        {"one particle elsewhere",
         [&] { sprites->renderAt(half, Vector(-2.0f, -1.0f, 0.0f)); },
         {{320, 240, GREY}, {eyeToWindowX(-2) + 11, eyeToWindowY(-1) - 11, WHITE}, {eyeToWindowX(-2) + 18, eyeToWindowY(-1), GREY}}},
        {"all",
         [&] { sprites->renderAll(&ring); },
         {{320 + 11, 240 + 11, WHITE},
          {320 + 18, 240, GREY},
          {eyeToWindowX(2) + 25, eyeToWindowY(1) + 25, WHITE},
          {eyeToWindowX(2) - 25, eyeToWindowY(1) - 25, WHITE},
          {eyeToWindowX(2) + 33, eyeToWindowY(1), GREY}}},
    };
    for (const Case& c : cases) {
        frame();
        c.draw();
        expectProbes(c.probes, c.what);
    }
}

TEST_F(ParticleVisualisationTest, TheEnergyRampTintsFullEnergyWithItsLeftEndAndSpentParticlesWithItsRightEnd)
{
    Sprite3DVisualisation* sprites = visualisation<Sprite3DVisualisation>("createSprite3DVisualisation", "glow");
    whiteTexture("white");
    manager.stringAction("glow.Sprite.setTexture", "white");
    rampTexture("ramp", {RED, YELLOW, GREEN, CYAN, BLUE});
    manager.stringAction("glow.setEnergyTexture", "ramp");
    EXPECT_EQ(sprites->getRampWidth(), 5);
    EXPECT_EQ(sprites->getRampHeight(), 1);

    struct Case {
        float energy;
        Pixel colour;
    } cases[] = {
        {1.0f, RED}, {0.5f, GREEN}, {0.1f, BLUE}, {0.7f, YELLOW}, {0.3f, CYAN},
        // Beyond the ends (a birth after the time drawn, an overdue particle): the nearer end.
        {1.5f, RED}, {-0.5f, BLUE},
    };
    for (const Case& c : cases) {
        RingBuffer<Particle> ring(1);
        addParticle(ring, Vector(0.0f, 0.0f, 0.0f), 1.0f, c.energy);
        frame();
        // The white sprite is blended as sprite x ramp colour + background x (1 - sprite alpha).
        glEnable(GL_BLEND);
        sprites->renderAll(&ring);
        glDisable(GL_BLEND);
        expectProbes({{320, 240, c.colour}, {320 + 40, 240, GREY}}, "energy " + std::to_string(c.energy));
    }

    // An unknown texture keeps the ramp.
    EXPECT_THROW(manager.stringAction("glow.setEnergyTexture", "nothing"), ComponentNotFoundException);
    EXPECT_EQ(sprites->getRampWidth(), 5);
}

TEST_F(ParticleVisualisationTest, NearerSpritesCoverFartherOnesWhateverTheRingOrder)
{
    Sprite3DVisualisation* sprites = visualisation<Sprite3DVisualisation>("createSprite3DVisualisation", "glow");
    whiteTexture("white");
    manager.stringAction("glow.Sprite.setTexture", "white");
    rampTexture("ramp", {RED, YELLOW, GREEN, CYAN, BLUE});
    manager.stringAction("glow.setEnergyTexture", "ramp");

    // The near sprite (red, 5 from the eye) spans x 262 to 378; the far one (blue, 10 from the eye)
    // 349 to 407. The depth test is off while sprites are drawn: only the drawing order decides
    // which of them shows where they overlap.
    const Vector nearPlace(0.0f, 0.0f, 5.0f);
    const Vector farPlace(1.0f, 0.0f, 0.0f);
    for (bool nearFirst : {true, false}) {
        RingBuffer<Particle> ring(2);
        if (nearFirst)
            addParticle(ring, nearPlace, 1.0f, 1.0f);
        addParticle(ring, farPlace, 1.0f, 0.1f);
        if (!nearFirst)
            addParticle(ring, nearPlace, 1.0f, 1.0f);
        frame();
        glEnable(GL_BLEND);
        sprites->renderAll(&ring);
        glDisable(GL_BLEND);
        expectProbes({{300, 240, RED}, {365, 240, RED}, {395, 240, BLUE}},
                     nearFirst ? "near one first in the ring" : "far one first in the ring");
    }
}

TEST_F(ParticleVisualisationTest, SortedDrawingLeavesDepthTestOnAndTheStandardBlendFunction)
{
    Sprite3DVisualisation* sprites = visualisation<Sprite3DVisualisation>("createSprite3DVisualisation", "glow");
    whiteTexture("white");
    manager.stringAction("glow.Sprite.setTexture", "white");
    RingBuffer<Particle> ring(2);
    addParticle(ring, Vector(0.0f, 0.0f, 0.0f), 1.0f);

    for (bool withRamp : {false, true}) {
        if (withRamp) {
            rampTexture("ramp", {RED, BLUE});
            manager.stringAction("glow.setEnergyTexture", "ramp");
        }
        frame();
        glDisable(GL_DEPTH_TEST);
        glBlendFunc(GL_ONE, GL_ONE);
        const GLfloat envColour[4] = {0.5f, 0.5f, 0.5f, 0.5f};
        glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, envColour);
        sprites->renderAll(&ring);

        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << withRamp;
        GLint source = 0, destination = 0;
        glGetIntegerv(GL_BLEND_SRC, &source);
        glGetIntegerv(GL_BLEND_DST, &destination);
        EXPECT_EQ(source, GL_SRC_ALPHA) << withRamp;
        EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA) << withRamp;
        GLfloat env[4];
        glGetTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, env);
        for (float component : env)
            EXPECT_EQ(component, 0.0f) << withRamp;
    }
}

TEST_F(ParticleVisualisationTest, WithoutACameraTheSortedDrawingThrowsBeforeChangingAnything)
{
    Sprite3DVisualisation* sprites = visualisation<Sprite3DVisualisation>("createSprite3DVisualisation", "glow");
    rampTexture("ramp", {RED, BLUE});
    manager.stringAction("glow.setEnergyTexture", "ramp");
    RingBuffer<Particle> ring(2);
    addParticle(ring, Vector(0.0f, 0.0f, 0.0f), 1.0f);

    frame();
    scene.stringAction("cameraController.setCamera", "nobody");
    glEnable(GL_DEPTH_TEST);
    glBlendFunc(GL_ONE, GL_ONE);
    EXPECT_THROW(sprites->renderAll(&ring), ComponentNotFoundException);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLint source = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    EXPECT_EQ(source, GL_ONE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

TEST_F(ParticleVisualisationTest, TrianglesAreDrawnWhereTheirParticlesAreWithTheirSurface)
{
    TriangleVisualisation* triangles = visualisation<TriangleVisualisation>("createTriangleVisualisation", "shards");
    Surface green(&scene);
    green.getMaterial().setColor(RGBA(0.0f, 1.0f, 0.0f, 1.0f));

    RingBuffer<Particle> ring(2);
    Particle* plain = addParticle(ring, Vector(-2.0f, 0.0f, 0.0f), 1.0f);
    Particle* surfaced = addParticle(ring, Vector(2.0f, 0.0f, 0.0f), 1.0f);
    for (Particle* p : {plain, surfaced}) {
        p->triangle.reset(new ParticleTriangle());
        p->triangle->points[0] = Vector(-1.0f, -1.0f, 0.0f);
        p->triangle->points[1] = Vector(1.0f, -1.0f, 0.0f);
        p->triangle->points[2] = Vector(0.0f, 1.0f, 0.0f);
    }
    surfaced->triangle->surface = &green;

    frame();
    // The triangle without a surface takes the colour the scene left current.
    glDisable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 0.0f);
    triangles->renderAll(&ring);
    expectProbes({{eyeToWindowX(-2), 240, YELLOW},
                  {eyeToWindowX(-2), eyeToWindowY(1.2), GREY},
                  {eyeToWindowX(-2) - 50, eyeToWindowY(-0.8), YELLOW},
                  {eyeToWindowX(-2) - 50, eyeToWindowY(0.5), GREY},
                  {eyeToWindowX(2), 240, GREEN},
                  {eyeToWindowX(2) + 50, eyeToWindowY(-0.8), GREEN},
                  {eyeToWindowX(2) + 50, eyeToWindowY(0.5), GREY},
                  {320, 240, GREY}},
                 "two triangles");
    // The surface stays the scene's current one.
    EXPECT_EQ(scene.getCurrentSurface(), &green);
    green.disable();
}

TEST_F(ParticleVisualisationTest, AParticleWithoutATriangleGetsARandomOneOnItsFirstDrawAndKeepsIt)
{
    TriangleVisualisation* triangles = visualisation<TriangleVisualisation>("createTriangleVisualisation", "shards");
    RingBuffer<Particle> ring(1);
    Particle* p = addParticle(ring, Vector(0.0f, 0.0f, 0.0f), 0.8f);

    frame();
    triangles->renderAt(p, Vector(0.0f, 0.0f, 0.0f));
    EXPECT_EQ(p->triangle, nullptr);
    expectProbes({{320, 240, GREY}}, "drawn somewhere else");

    Random::seed(7);
    triangles->renderParticle(p);
    ASSERT_NE(p->triangle, nullptr);
    const ParticleTriangle* made = p->triangle.get();
    // Two corners in random directions at the particle's size, the third at the particle.
    EXPECT_NEAR(made->points[0].length(), 0.8f, 1e-5f);
    EXPECT_NEAR(made->points[1].length(), 0.8f, 1e-5f);
    EXPECT_EQ(made->points[2].length(), 0.0f);
    EXPECT_GE(made->points[0].y, 0.0f);  // elevations from 0 to 180 degrees
    EXPECT_GE(made->points[1].y, 0.0f);
    for (const Vector& n : made->normals)
        EXPECT_EQ(n.length(), 0.0f);
    EXPECT_FALSE(made->hasUVs);
    EXPECT_EQ(made->surface, nullptr);
    // Another seed makes another triangle, so the first draw really drew.
    Particle other;
    other.size = 0.8f;
    Random::seed(8);
    TriangleVisualisation::createTriangle(&other);
    EXPECT_GT((other.triangle->points[0] - made->points[0]).length(), 1e-3f);

    triangles->renderAll(&ring);
    EXPECT_EQ(p->triangle.get(), made);
}
