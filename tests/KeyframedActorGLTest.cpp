#include <gtest/gtest.h>

#include <GL/gl.h>

#include <memory>
#include <string>
#include <vector>

#include "Actor.h"
#include "Environment.h"
#include "GLEnvironment.h"
#include "KeyframedActor.h"
#include "KeyframedMesh.h"
#include "Keyframer.h"
#include "Log.h"
#include "Pixels.h"
#include "SceneViews.h"
#include "Surface.h"
#include "TestSupport.h"

// Keyframed actors on the shared window: an actor with two bones, each holding a square, placed by
// the object keyframer and turned bone by bone; then the 3D scene drawing keyframed meshes and
// actors through its camera.
namespace {
const float HALF_PI = 1.5707964f;

// arm: from (-0.5, 0), 0.3 along x, holding a green square around (-0.3, 0.2); leg: from
// (0.5, 0), holding a red square around (0.7, 0.2). Drawn unlit in clip coordinates.
class KeyframedActorTest : public MeshViewTest {
protected:
    void SetUp() override
    {
        MeshViewTest::SetUp();
        actor.reset(new Actor(&scene));
        actor->setName("robot.lwo");
        addBoneWithSquare("arm", Vector(-0.5f, 0, 0), "green", RGBA(0, 1, 0, 1));
        addBoneWithSquare("leg", Vector(0.5f, 0, 0), "red", RGBA(1, 0, 0, 1));
        keyed.setName("Keyframed robot");
        keyed.setActor(actor.get());
    }

    void addBoneWithSquare(const std::string& bone, const Vector& pivot, const std::string& surface,
                           const RGBA& colour)
    {
        actor->getSurfaces().store(surface, std::make_unique<Surface>(&scene))->getMaterial().setColor(colour);
        actor->setBoneName(actor->addBone(pivot, Vector(0.3f, 0, 0)), bone);
        int points[4];
        const Vector corners[4] = {Vector(0.15f, 0.15f, 0), Vector(0.25f, 0.15f, 0), Vector(0.25f, 0.25f, 0),
                                   Vector(0.15f, 0.25f, 0)};
        for (int i = 0; i < 4; ++i) {
            points[i] = actor->addPoint(pivot + corners[i]);
            actor->addPointWeight(points[i], bone, 1.0f);
        }
        for (int t : actor->addPolygon(points, 4, -1))
            actor->getTriangle(t)->setSurfaceName(surface);
    }

    void frame(double time)
    {
        clearToBlack();
        keyed.render(time);
    }

    static bool colourAt(float x, float y, const Pixel& colour)
    {
        return closeColour(readPixel(clipToWindowX(x), clipToWindowY(y)), colour, 0);
    }

    // A keyframer holding one heading, pitch and bank key (radians) for all times.
    Keyframer* turn(float bank)
    {
        Keyframer* keyframer = scene.getKeyframerController().createKeyframer();
        keyframer->addHpbKey(0.0f, 0.0f, 0.0f, bank, 0.0f, 0.0f, 0.0f);
        return keyframer;
    }

    std::unique_ptr<Actor> actor;
    KeyframedActor keyed;
};

const Pixel GREEN = {0, 255, 0};
const Pixel RED = {255, 0, 0};
const Pixel BLACK = {0, 0, 0};
}

TEST_F(KeyframedActorTest, WithoutKeyframersTheActorIsDrawnUntransformedAtPositionZero)
{
    keyed.setPosition(Vector(0.5f, 0.5f, 0.0f));  // not applied
    LogCapture log;
    Log::getInstance()->setLevel(LogLevel::frame);
    frame(0.0);
    EXPECT_TRUE(log.contains("[debug_fdraw] keyframedactor::render(\"Keyframed robot\") - position x: 0, y: 0, z: 0\n"))
        << log.text();
    EXPECT_TRUE(colourAt(-0.3f, 0.2f, GREEN));
    EXPECT_TRUE(colourAt(0.7f, 0.2f, RED));
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
}

TEST_F(KeyframedActorTest, ObjectKeyframerPlacesTheWholeActor)
{
    Keyframer* keyframer = scene.getKeyframerController().createKeyframer();
    keyframer->addPositionKey(0.0f, Vector(0.0f, 0.0f, 0.0f), 0.0f, 0.0f, 0.0f);
    keyframer->addPositionKey(24.0f, Vector(0.0f, -0.5f, 0.0f), 0.0f, 0.0f, 0.0f);
    keyframer->setPositionRange(0.0f, 24.0f);
    keyed.setKeyframer(keyframer);
    frame(0.0);
    EXPECT_TRUE(colourAt(-0.3f, 0.2f, GREEN));
    // Halfway through the keys it is on its way down.
    const float y = keyframer->getPosition(0.5f).y;
    EXPECT_LT(y, -0.1f);
    EXPECT_GT(y, -0.4f);
    frame(0.5);
    EXPECT_TRUE(colourAt(-0.3f, 0.2f + y, GREEN));
    frame(1.0);
    EXPECT_TRUE(colourAt(-0.3f, -0.3f, GREEN));
    EXPECT_TRUE(colourAt(0.7f, -0.3f, RED));
    EXPECT_TRUE(colourAt(-0.3f, 0.2f, BLACK));
}

TEST_F(KeyframedActorTest, BoneKeyframersTurnTheirBonesByName)
{
    // A bank of a quarter turn, as OpenGL applies it, takes (0.2, 0.2) about the pivot to
    // (-0.2, 0.2); minus a quarter turn to (0.2, -0.2).
    Vector v(0.2f, 0.2f, 0.0f);
    v.transform(Matrix(Quaternion::fromHpb(0.0f, 0.0f, HALF_PI)));
    EXPECT_NEAR(v.x, -0.2f, 1e-6);
    EXPECT_NEAR(v.y, 0.2f, 1e-6);

    keyed.setBoneKeyframer("leg", turn(-HALF_PI));
    keyed.setBoneKeyframer("arm", turn(HALF_PI));
    keyed.setBoneKeyframer("tail", turn(1.0f));  // the actor has no tail: nothing changes
    frame(0.0);
    EXPECT_TRUE(colourAt(-0.7f, 0.2f, GREEN));
    EXPECT_TRUE(colourAt(0.7f, -0.2f, RED));
    EXPECT_TRUE(colourAt(-0.3f, 0.2f, BLACK));
    EXPECT_TRUE(colourAt(0.7f, 0.2f, BLACK));

    // A second keyframer for a bone replaces the first.
    keyed.setBoneKeyframer("arm", turn(0.0f));
    EXPECT_EQ(keyed.getBoneKeyframers().size(), 3u);
    frame(0.0);
    EXPECT_TRUE(colourAt(-0.3f, 0.2f, GREEN));
    EXPECT_TRUE(colourAt(0.7f, -0.2f, RED));
}

TEST_F(KeyframedActorTest, BoneWithoutAKeyframerKeepsItsOrientation)
{
    // A bone element without channels leaves a null track behind.
    keyed.setBoneKeyframer("leg", turn(-HALF_PI));
    frame(0.0);
    keyed.setBoneKeyframer("leg", nullptr);
    frame(0.0);
    EXPECT_TRUE(colourAt(0.7f, -0.2f, RED));
    EXPECT_TRUE(colourAt(-0.3f, 0.2f, GREEN));
}

TEST_F(KeyframedActorTest, WithoutAnActorNothingIsDrawn)
{
    KeyframedActor empty;
    glClear(GL_COLOR_BUFFER_BIT);
    empty.render(0.0);
    EXPECT_TRUE(colourAt(-0.3f, 0.2f, BLACK));
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
}

TEST(EnvironmentKeyframed, SceneDrawsKeyframedMeshesThenKeyframedActorsEachInNameOrder)
{
    drainGLErrors();
    Environment scene;
    scene.setName("stage");
    scene.getCameraController().createHpbCamera("eye");
    scene.getCameraController().setCamera("eye");
    Surface green(&scene);
    green.getMaterial().setColor(RGBA(0, 1, 0, 1));
    // Two meshes, b left and a right of the view's centre, 5 units in front of the eye.
    for (const auto& placement : {std::make_pair("b", -1.0f), std::make_pair("a", 1.0f)}) {
        KeyframedMesh* mesh = scene.getKeyframedMeshes().create(placement.first, &scene);
        mesh->getSurfaces().store("green", std::make_unique<Surface>(green));
        mesh->addTriangle(Vector(-0.3f, -0.3f, 0), Vector(0.3f, -0.3f, 0), Vector(0.3f, 0.3f, 0));
        mesh->addTriangle(Vector(-0.3f, -0.3f, 0), Vector(0.3f, 0.3f, 0), Vector(-0.3f, 0.3f, 0));
        mesh->setSurfaceName("green");
        Matrix m;
        m.setTranslation(Vector(placement.second, 0.0f, -5.0f));
        mesh->setMatrix(m);
    }
    Actor* actor = scene.getActors().store("robot.lwo", std::make_unique<Actor>(&scene));
    actor->setName("robot.lwo");
    KeyframedActor* keyed = scene.getKeyframedActors().store("Keyframed robot", std::make_unique<KeyframedActor>());
    keyed->setName("Keyframed robot");
    keyed->setActor(actor);

    LogCapture log;
    Log::getInstance()->setLevel(LogLevel::frame);
    scene.setViewState();
    scene.render(0.0);
    const std::string text = log.text();
    EXPECT_TRUE(log.contains("\" has 1 cameras, 2 meshes, 1 actors, 1 keyframed actors, 0 lights, ")) << text;
    const auto a = text.find("keyframedmesh::render(\"a\") - position x: 1, y: 0, z: -5\n");
    const auto b = text.find("keyframedmesh::render(\"b\") - position x: -1, y: 0, z: -5\n");
    const auto k = text.find("keyframedactor::render(\"Keyframed robot\") - position");
    ASSERT_NE(a, std::string::npos) << text;
    ASSERT_NE(b, std::string::npos) << text;
    ASSERT_NE(k, std::string::npos) << text;
    EXPECT_LT(a, b);
    EXPECT_LT(b, k);
    // 1 unit at 5 in front of a 45-degree view lies 0.483 of the half height off centre:
    // y = 240, x = 320 +- 0.483 * 240 = 320 +- 116.
    EXPECT_TRUE(closeColour(readPixel(436, 240), {0, 255, 0}, 0)) << describe(readPixel(436, 240));
    EXPECT_TRUE(closeColour(readPixel(204, 240), {0, 255, 0}, 0)) << describe(readPixel(204, 240));
    EXPECT_TRUE(closeColour(readPixel(320, 240), {0, 0, 0}, 0)) << describe(readPixel(320, 240));

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}
