#include "MeshEmittor.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "Actor.h"
#include "Camera.h"
#include "ComponentExceptions.h"
#include "Environment.h"
#include "GLEnvironment.h"
#include "JpegWriter.h"
#include "ParticleManager.h"
#include "ParticleSystem.h"
#include "ParticleTriangle.h"
#include "Pixels.h"
#include "Random.h"
#include "ResourceLoader.h"
#include "SceneViews.h"
#include "Surface.h"
#include "TestSupport.h"
#include "Texture.h"

// The mesh emitter taking models built here apart, in a 3D scene on the shared window whose
// camera at (0, 0, 10) looks down -z.
namespace {
const Pixel GREY{64, 64, 64};  // the scene's background
const Pixel RED{255, 0, 0};
const Pixel GREEN{0, 255, 0};
const Pixel BLUE{0, 0, 255};

void expectVector(const Vector& actual, const Vector& expected, const std::string& what, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance) << what;
    EXPECT_NEAR(actual.y, expected.y, tolerance) << what;
    EXPECT_NEAR(actual.z, expected.z, tolerance) << what;
}

class MeshEmittorTest : public EyeSceneTest {
protected:
    void SetUp() override
    {
        EyeSceneTest::SetUp();
        eye().setPosition(Vector(0.0f, 0.0f, 10.0f));
        manager.stringAction("createParticleSystem", "burst");
        manager.stringAction("createTriangleVisualisation", "shards");
        system = manager.Factory<ParticleSystem>::find("burst");
    }
    void TearDown() override
    {
        glDisable(GL_TEXTURE_2D);
        EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
        EyeSceneTest::TearDown();
    }

    // An empty model in the scene's actor registry.
    Actor& model(const std::string& name)
    {
        Actor* actor = scene.getActors().store(name, std::make_unique<Actor>(&scene));
        actor->setName(name);
        return *actor;
    }

    // A triangle of three new points with the surface named surface; returns its index.
    static int addTriangle(Actor& actor, const Vector& a, const Vector& b, const Vector& c,
                           const std::string& surface = "")
    {
        const int index = actor.addTriangle(actor.addPoint(a), actor.addPoint(b), actor.addPoint(c));
        actor.getTriangle(index)->setSurfaceName(surface);
        return index;
    }

    Surface& addSurface(Actor& actor, const std::string& name, const RGBA& colour)
    {
        Surface* surface = actor.getSurfaces().store(name, std::make_unique<Surface>(&scene));
        surface->setName(name);
        surface->getMaterial().setColor(colour);
        return *surface;
    }

    // The system's mesh emitter of that name, loaded with the model, spawning every triangle at once.
    MeshEmittor& emittor(const std::string& name, const std::string& modelName, bool bound)
    {
        manager.stringAction("burst.createMeshEmittor", name);
        manager.stringAction("burst." + name + ".loadObject", modelName);
        if (bound)
            manager.stringAction("burst." + name + ".bindTriangleVisualisation", "shards");
        MeshEmittor* made = dynamic_cast<MeshEmittor*>(system->find(name));
        EXPECT_NE(made, nullptr);
        made->setInterval(0.0f);
        manager.stringAction("burst." + name + ".enableEmitting", "true");
        return *made;
    }

    ParticleManager manager{&scene};
    ParticleSystem* system = nullptr;
    // Destroyed before the scene they were made for.
};
}

TEST_F(MeshEmittorTest, EachTriangleStartsAtItsCentreCarryingItsCornersAroundIt)
{
    struct Piece {
        Vector centre;
        float extent;  // the particle's size without the size spread
        Vector corners[3];
    };
    struct Case {
        const char* what;
        std::vector<Vector> points;
        std::vector<std::array<int, 3>> triangles;
        std::vector<Piece> pieces;
    } cases[] = {
        {"a lone triangle",
         {Vector(0, 0, 0), Vector(3, 0, 0), Vector(0, 3, 0)},
         {{0, 1, 2}},
         {{Vector(1, 1, 0), 2.0f, {Vector(-1, -1, 0), Vector(2, -1, 0), Vector(-1, 2, 0)}}}},
        // Both triangles of the square use the points of its diagonal: each is measured from the
        // model's points as they are, so together they still make the square.
        {"a square of two triangles sharing a diagonal",
         {Vector(0, 0, 0), Vector(3, 0, 0), Vector(3, 3, 0), Vector(0, 3, 0)},
         {{0, 1, 2}, {0, 2, 3}},
         {{Vector(2, 1, 0), 2.0f, {Vector(-2, -1, 0), Vector(1, -1, 0), Vector(1, 2, 0)}},
          {Vector(1, 2, 0), 2.0f, {Vector(-1, -2, 0), Vector(2, 1, 0), Vector(-1, 1, 0)}}}},
        // The extent is measured along x only: upright in y and z it is 0.
        {"a triangle across x",
         {Vector(4, 0, 0), Vector(4, 3, 0), Vector(4, 0, 6)},
         {{0, 1, 2}},
         {{Vector(4, 1, 2), 0.0f, {Vector(0, -1, -2), Vector(0, 2, -2), Vector(0, -1, 4)}}}},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string name = "model" + std::to_string(n++);
        Actor& actor = model(name);
        for (const Vector& p : c.points)
            actor.addPoint(p);
        for (const auto& t : c.triangles)
            actor.addTriangle(t[0], t[1], t[2]);
        MeshEmittor& e = emittor("e" + name, name, true);
        e.setSizeRange(0.0f);

        RingBuffer<Particle>* ring = e.emit(0.0);
        ASSERT_EQ(ring->size(), static_cast<int>(c.pieces.size())) << c.what;
        EXPECT_EQ(ring->getCapacity(), static_cast<int>(c.pieces.size())) << c.what;
        for (int i = 0; i < ring->size(); ++i) {
            const Particle& p = *(*ring)[i];
            const Piece& expected = c.pieces[i];
            const std::string what = std::string(c.what) + ", piece " + std::to_string(i);
            expectVector(p.position, expected.centre, what);
            EXPECT_FLOAT_EQ(p.size, expected.extent) << what;
            ASSERT_NE(p.triangle, nullptr) << what;
            for (int k = 0; k < 3; ++k)
                expectVector(p.triangle->points[k], expected.corners[k], what + ", corner " + std::to_string(k));
        }
    }
}

TEST_F(MeshEmittorTest, AModelOfFourTrianglesFillsItsRingOnceAndStartsAgainAtTheFirst)
{
    Actor& rock = model("rock");
    for (int i = 0; i < 4; ++i)
        addTriangle(rock, Vector(3.0f * i, 0, 0), Vector(3.0f * i + 3, 0, 0), Vector(3.0f * i, 3, 0));
    MeshEmittor& e = emittor("pieces", "rock", false);
    e.setDecay(1.0f);  // spent after a second

    RingBuffer<Particle>* ring = e.emit(0.0);
    EXPECT_EQ(e.getTriangleCount(), 4);
    ASSERT_EQ(ring->size(), 4);
    for (int i = 0; i < 4; ++i) {
        expectVector((*ring)[i]->position, Vector(3.0f * i + 1, 1, 0), "first round, piece " + std::to_string(i));
        EXPECT_EQ((*ring)[i]->triangle, nullptr);  // no visualisation bound
    }
    EXPECT_EQ(e.getCurrentTriangle(), 0);
    EXPECT_EQ(e.emit(0.5)->size(), 4);  // full, and nothing has expired

    // All four expire at once and the refill starts again at the first triangle.
    ring = e.emit(2.0);
    ASSERT_EQ(ring->size(), 4);
    for (int i = 0; i < 4; ++i) {
        expectVector((*ring)[i]->position, Vector(3.0f * i + 1, 1, 0), "second round, piece " + std::to_string(i));
        EXPECT_EQ((*ring)[i]->birthTime, 2.0);
    }
}

TEST_F(MeshEmittorTest, BoundParticlesCarryTheModelsNormalsCoordinatesAndSurfaces)
{
    Actor& rock = model("rock");
    Surface& skin = addSurface(rock, "skin", RGBA(1, 1, 1, 1));
    // Two triangles folded along the x axis: one in the plane z = 0 facing +z, one in y = 0
    // facing -y. Their shared edge carries the mean of both normals at its corners when they are
    // in one smoothing group.
    const int a = rock.addPoint(Vector(0, 0, 0));
    const int b = rock.addPoint(Vector(2, 0, 0));
    const int c = rock.addPoint(Vector(0, 2, 0));
    const int d = rock.addPoint(Vector(0, 0, 2));
    const int flat = rock.addTriangle(a, b, c);
    const int fold = rock.addTriangle(a, b, d);
    rock.getTriangle(flat)->setSurfaceName("skin");
    rock.getTriangle(fold)->setSurfaceName("paint");  // not in the model's library
    rock.setTriangleTextureCoordinate(flat, a, UV(0.0f, 1.0f));
    rock.setTriangleTextureCoordinate(flat, b, UV(1.0f, 1.0f));
    rock.setTriangleTextureCoordinate(flat, c, UV(0.0f, 0.0f));
    // The normals come from the model's preparation, which drawing it does first.
    rock.calcFaceNormals();
    rock.calcVertexNormals();

    RingBuffer<Particle>* ring = emittor("pieces", "rock", true).emit(0.0);
    ASSERT_EQ(ring->size(), 2);
    const ParticleTriangle& first = *(*ring)[0]->triangle;
    const ParticleTriangle& second = *(*ring)[1]->triangle;
    const Vector shared(0.0f, -0.5f, 0.5f);  // mean of (0, 0, 1) and (0, -1, 0)
    expectVector(first.normals[0], shared, "flat, corner a");
    expectVector(first.normals[1], shared, "flat, corner b");
    expectVector(first.normals[2], Vector(0, 0, 1), "flat, corner c");
    expectVector(second.normals[0], shared, "fold, corner a");
    expectVector(second.normals[1], shared, "fold, corner b");
    expectVector(second.normals[2], Vector(0, -1, 0), "fold, corner d");
    EXPECT_EQ(first.surface, &skin);
    ASSERT_TRUE(first.hasUVs);
    EXPECT_EQ(first.uvs[0].u, 0.0f);
    EXPECT_EQ(first.uvs[0].v, 1.0f);
    EXPECT_EQ(first.uvs[1].u, 1.0f);
    EXPECT_EQ(first.uvs[2].v, 0.0f);
    EXPECT_EQ(second.surface, nullptr);
    EXPECT_FALSE(second.hasUVs);
}

TEST_F(MeshEmittorTest, APieceLeavesAtHalfItsSpeedAlongTheFaceNormalPlusASidewaysPush)
{
    Actor& rock = model("rock");
    addTriangle(rock, Vector(0, 0, 0), Vector(3, 0, 0), Vector(0, 3, 0));
    rock.calcFaceNormals();  // (0, 0, 1)
    MeshEmittor& e = emittor("pieces", "rock", false);

    Random::seed(11);
    RingBuffer<Particle>* ring = e.emit(0.0);
    ASSERT_EQ(ring->size(), 1);
    const Particle& p = *(*ring)[0];

    // The same five draws: speed, azimuth spread, elevation spread, mass, size.
    Random::seed(11);
    float u[5];
    for (float& value : u)
        value = static_cast<float>(Random::next()) * (1.0f / 32767.0f);
    const double toRadians = 0.017453292705555557;
    const float s = (2 * u[0] - 1) * 3.0f + 10.0f;
    const double azimuth = (2 * u[1] - 1) * 180.0f * toRadians;
    const double elevation = (2 * u[2] - 1) * 30.0f * toRadians;
    const Vector expected = Vector(static_cast<float>(std::cos(azimuth) * std::cos(elevation)),
                                   static_cast<float>(std::sin(elevation)),
                                   static_cast<float>(std::sin(azimuth) * std::cos(elevation)) + 1.0f) *
                            (0.5f * s);
    expectVector(p.velocity, expected, "velocity");
    // Mostly sideways: within 30 degrees of the x-z plane, and never into the face.
    EXPECT_LE(std::fabs(p.velocity.y), 0.5f * s * 0.5f + 1e-5f);
    EXPECT_GE(p.velocity.z, 0.0f);
    EXPECT_FLOAT_EQ(p.mass, u[3] * 0.3f + 3.0f);
    EXPECT_FLOAT_EQ(p.size, u[4] * 0.2f + 2.0f);  // the extent is 2
    EXPECT_EQ(p.energy, 1.0f);
}

TEST_F(MeshEmittorTest, AModelNeverDrawnThrowsItsPiecesAlongTheNormalsOfTheirCorners)
{
    // The models are not prepared for drawing, so they hold no normals of their own; each piece
    // still leaves along its face (and carries it as its vertex normals).
    const struct {
        const char* what;
        Vector a, b, c;
        Vector normal;
    } cases[] = {
        {"facing +z", Vector(0, 0, 0), Vector(3, 0, 0), Vector(0, 3, 0), Vector(0, 0, 1)},
        {"facing -x", Vector(0, 0, 0), Vector(0, 0, 3), Vector(0, 3, 0), Vector(-1, 0, 0)},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string name = "rock" + std::to_string(n++);
        Actor& rock = model(name);
        addTriangle(rock, c.a, c.b, c.c);
        ASSERT_EQ(rock.getTriangle(0)->getNormal().length(), 0.0f) << c.what;
        MeshEmittor& e = emittor("pieces" + name, name, true);

        Random::seed(11);
        RingBuffer<Particle>* ring = e.emit(0.0);
        ASSERT_EQ(ring->size(), 1) << c.what;
        const Particle& p = *(*ring)[0];
        Random::seed(11);
        float u[3];
        for (float& value : u)
            value = static_cast<float>(Random::next()) * (1.0f / 32767.0f);
        const double toRadians = 0.017453292705555557;
        const float s = (2 * u[0] - 1) * 3.0f + 10.0f;
        const double azimuth = (2 * u[1] - 1) * 180.0f * toRadians;
        const double elevation = (2 * u[2] - 1) * 30.0f * toRadians;
        const Vector push(static_cast<float>(std::cos(azimuth) * std::cos(elevation)),
                          static_cast<float>(std::sin(elevation)),
                          static_cast<float>(std::sin(azimuth) * std::cos(elevation)));
        expectVector(p.velocity, (push + c.normal) * (0.5f * s), std::string(c.what) + ", velocity");
        ASSERT_NE(p.triangle, nullptr) << c.what;
        for (int k = 0; k < 3; ++k)
            expectVector(p.triangle->normals[k], c.normal, std::string(c.what) + ", corner " + std::to_string(k));
    }
}

TEST_F(MeshEmittorTest, AnUnknownModelIsLoggedAndChangesNothing)
{
    Actor& rock = model("rock");
    addTriangle(rock, Vector(0, 0, 0), Vector(3, 0, 0), Vector(0, 3, 0));
    addTriangle(rock, Vector(0, 0, 1), Vector(3, 0, 1), Vector(0, 3, 1));
    MeshEmittor& e = emittor("pieces", "rock", false);
    e.emit(0.0);

    LogCapture log;
    manager.stringAction("burst.pieces.loadObject", "ghost");
    EXPECT_TRUE(log.contains("[info] meshemittor::Caught exception: KelvoEngineException::::Factory<Actor>Exception::"
                             "find() - Unable to find component \"ghost\".\n"))
        << log.text();
    EXPECT_EQ(e.getActor(), &rock);
    EXPECT_EQ(e.getTriangleCount(), 2);
    EXPECT_EQ(e.getParticles()->size(), 2);
    EXPECT_EQ(e.getParticles()->getCapacity(), 2);
}

TEST_F(MeshEmittorTest, AnUnknownVisualisationThrowsAndKeepsTheBinding)
{
    Actor& rock = model("rock");
    addTriangle(rock, Vector(0, 0, 0), Vector(3, 0, 0), Vector(0, 3, 0));
    MeshEmittor& e = emittor("pieces", "rock", true);
    ParticleVisualisation* bound = manager.findVisualisation("shards");
    EXPECT_THROW(manager.stringAction("burst.pieces.bindTriangleVisualisation", "dust"), ComponentNotFoundException);
    EXPECT_EQ(e.getBoundVisualisation(), bound);
}

TEST_F(MeshEmittorTest, WithoutTrianglesItWaitsAndALaterSmallerModelStartsAtItsFirstTriangle)
{
    Actor& empty = model("empty");
    Actor& big = model("big");
    for (int i = 0; i < 3; ++i)
        addTriangle(big, Vector(3.0f * i, 0, 0), Vector(3.0f * i + 3, 0, 0), Vector(3.0f * i, 3, 0));
    Actor& small = model("small");
    addTriangle(small, Vector(0, 0, 6), Vector(3, 0, 6), Vector(0, 3, 6));

    manager.stringAction("burst.createMeshEmittor", "pieces");
    MeshEmittor& e = *dynamic_cast<MeshEmittor*>(system->find("pieces"));
    e.setInterval(1.0f);
    manager.stringAction("burst.pieces.enableEmitting", "true");
    // No model yet, then one without triangles: nothing to spawn from, and no backlog either.
    EXPECT_EQ(e.emit(0.0)->size(), 0);
    manager.stringAction("burst.pieces.loadObject", "empty");
    EXPECT_EQ(e.getActor(), &empty);
    EXPECT_EQ(e.emit(5.0)->size(), 0);
    EXPECT_EQ(e.getNextEmission(), 6.0f);

    manager.stringAction("burst.pieces.loadObject", "big");
    EXPECT_EQ(e.emit(6.5)->size(), 1);  // the one due at 6: no catching up since 0
    EXPECT_EQ(e.emit(7.5)->size(), 2);
    EXPECT_EQ(e.getCurrentTriangle(), 2);

    manager.stringAction("burst.pieces.loadObject", "small");
    RingBuffer<Particle>* ring = e.emit(8.5);
    ASSERT_EQ(ring->size(), 1);
    expectVector((*ring)[0]->position, Vector(1, 1, 6), "the small model's triangle");
    EXPECT_EQ(e.getCurrentTriangle(), 0);
}

TEST_F(MeshEmittorTest, AtItsFirstFrameTheBurstDrawsTheModelWhereItWas)
{
    writeJpeg(path("halves.jpg"), 16, 16, 3, [] {
        // Green left half, blue right half.
        std::vector<unsigned char> pixels;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                for (unsigned char c : x < 8 ? std::vector<unsigned char>{0, 255, 0} : std::vector<unsigned char>{0, 0, 255})
                    pixels.push_back(c);
        return pixels;
    }());
    scene.stringAction("textureManager.createTexture", "halves");
    scene.stringAction("textureManager.halves.loadTexture", "halves.jpg");

    Actor& rock = model("rock");
    addSurface(rock, "red", RGBA(1, 0, 0, 1));
    addSurface(rock, "print", RGBA(1, 1, 1, 1)).addTexture(scene.getTextureManager().find("halves"));
    // A red square from (-3, -1) to (-1, 1) whose two triangles share its diagonal, and a triangle
    // with the image across it, left to right.
    const int a = rock.addPoint(Vector(-3, -1, 0));
    const int b = rock.addPoint(Vector(-1, -1, 0));
    const int c = rock.addPoint(Vector(-1, 1, 0));
    const int d = rock.addPoint(Vector(-3, 1, 0));
    rock.getTriangle(rock.addTriangle(a, b, c))->setSurfaceName("red");
    rock.getTriangle(rock.addTriangle(a, c, d))->setSurfaceName("red");
    const int p = rock.addPoint(Vector(1, -1, 0));
    const int q = rock.addPoint(Vector(3, -1, 0));
    const int r = rock.addPoint(Vector(2, 1, 0));
    const int printed = rock.addTriangle(p, q, r);
    rock.getTriangle(printed)->setSurfaceName("print");
    rock.setTriangleTextureCoordinate(printed, p, UV(0.0f, 0.5f));
    rock.setTriangleTextureCoordinate(printed, q, UV(1.0f, 0.5f));
    rock.setTriangleTextureCoordinate(printed, r, UV(0.5f, 0.5f));

    emittor("pieces", "rock", true);
    manager.stringAction("burst.addParticleVisualisation", "shards");
    scene.setViewState();
    scene.render(0.0);
    // The first step of the motion covers the time since 0: at 0 no piece has moved yet.
    manager.update(0.0);

    struct Probe {
        double x, y;
        Pixel colour;
    } probes[] = {
        {-2.0, 0.0, RED},   {-2.6, -0.6, RED}, {-1.4, 0.6, RED}, {-1.9, 0.1, RED}, {-2.1, -0.1, RED},
        {-2.6, 0.6, RED},   {-1.4, -0.6, RED}, {-3.3, 0.0, GREY}, {-2.0, 1.3, GREY}, {1.5, -0.7, GREEN},
        {2.5, -0.7, BLUE},  {2.0, 1.3, GREY},  {0.0, 0.0, GREY},
    };
    for (const Probe& probe : probes) {
        const Pixel got = readPixel(eyeToWindowX(probe.x), eyeToWindowY(probe.y));
        EXPECT_TRUE(closeColour(got, probe.colour, 12))
            << "(" << probe.x << ", " << probe.y << "): " << describe(got) << " instead of " << describe(probe.colour);
    }
    Surface* current = scene.getCurrentSurface();
    ASSERT_NE(current, nullptr);
    current->disable();
}
