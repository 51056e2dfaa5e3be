#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "Actor.h"
#include "Environment.h"
#include "GLEnvironment.h"
#include "Log.h"
#include "Pixels.h"
#include "SceneViews.h"
#include "Surface.h"
#include "TestSupport.h"
#include "VectorCheck.h"

// Skeletal actors on the shared window, drawn unlit straight in clip coordinates (the -1..1 square
// is the whole window): their bones, the split of their triangles by bone weights, and where the
// rigid, per-bone and skinned parts land as the bones turn.
namespace {
const float HALF_PI = 1.5707964f;

class ActorTest : public MeshViewTest {
protected:
    void addSurface(Actor& actor, const std::string& name, const RGBA& colour)
    {
        Surface* surface = actor.getSurfaces().store(name, std::make_unique<Surface>(&scene));
        surface->setName(name);
        surface->getMaterial().setColor(colour);
        surfaces.push_back(surface);
    }

    // A quad of four new points of one surface, each point weighted by weights.
    void addQuad(Actor& actor, const Vector corners[4], const std::string& surface,
                 const std::vector<std::pair<std::string, float>>& weights)
    {
        int points[4];
        for (int i = 0; i < 4; ++i) {
            points[i] = actor.addPoint(corners[i]);
            for (const auto& w : weights)
                actor.addPointWeight(points[i], w.first, w.second);
        }
        for (int triangle : actor.addPolygon(points, 4, static_cast<int>(actor.getTriangleCount())))
            actor.getTriangle(triangle)->setSurfaceName(surface);
    }

    // A lit 8 x 8 grid on two bones end to end along x, every point weighted to both, so every
    // triangle is skinned: rows of two surfaces, the left and right halves' cells in the smoothing
    // groups given (0: flat), the child bone turned so that the grid bends and the lighting varies
    // across it. The skinned frame must show the pixels of the blended mesh drawn by Mesh::render.
    static std::vector<unsigned char> windowPixels()
    {
        std::vector<unsigned char> pixels(640 * 480 * 4);
        glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    void expectSkinnedFrameShowsItsMeshsPixels(int leftGroup, int rightGroup)
    {
        Actor actor(&scene);
        actor.setName("bent");
        addSurface(actor, "warm", RGBA(1.0f, 0.6f, 0.2f, 1));
        addSurface(actor, "cool", RGBA(0.2f, 0.6f, 1.0f, 1));
        actor.setBoneName(actor.addBone(Vector(-0.8f, 0, 0), Vector(0.8f, 0, 0)), "upper");
        actor.setBoneName(actor.addBone(Vector(0, 0, 0), Vector(0.8f, 0, 0)), "lower");
        actor.findBone("lower")->setParent(actor.findBone("upper"));
        actor.findBone("upper")->addChild(actor.findBone("lower"));
        int points[9][9];
        for (int y = 0; y <= 8; ++y)
            for (int x = 0; x <= 8; ++x) {
                const float px = -0.8f + 0.2f * static_cast<float>(x);
                const float py = -0.8f + 0.2f * static_cast<float>(y);
                points[y][x] = actor.addPoint(Vector(px, py, 0.6f * (px * px + py * py)));
                const float lower = 0.15f + 0.7f * static_cast<float>(x) / 8.0f;
                actor.addPointWeight(points[y][x], "upper", 1.0f - lower);
                actor.addPointWeight(points[y][x], "lower", lower);
            }
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const int quad[4] = {points[y][x], points[y][x + 1], points[y + 1][x + 1], points[y + 1][x]};
                for (int t : actor.addPolygon(quad, 4, y * 8 + x)) {
                    actor.getTriangle(t)->setSurfaceName(y % 2 == 0 ? "warm" : "cool");
                    actor.getTriangle(t)->setSmoothingGroup(x < 4 ? leftGroup : rightGroup);
                }
            }
        actor.findBone("lower")->setOrientation(Quaternion(0.6f, 0.3f, 1.0f, 0.2f));

        scene.setLightingEnabled(true);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        const GLfloat light[4] = {0.5f, 0.8f, 1.0f, 0.0f};
        glLightfv(GL_LIGHT0, GL_POSITION, light);
        glEnable(GL_DEPTH_TEST);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        actor.render(0.0);
        ASSERT_EQ(actor.getSkinnedMesh().getTriangleCount(), actor.getTriangleCount());
        const std::vector<unsigned char> drawn = windowPixels();

        // The same frame with the blended mesh drawn by Mesh::render, its normals made by the mesh.
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        for (Bone* bone : actor.getRootBones())
            bone->render(0.0);
        Mesh& skin = actor.getSkinnedMesh();
        skin.calcFaceNormals();
        skin.calcVertexNormals();
        glPushMatrix();
        glLoadIdentity();
        skin.render(0.0);
        glPopMatrix();
        const std::vector<unsigned char> expected = windowPixels();

        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHT0);
        glDisable(GL_LIGHTING);
        int lit = 0;
        for (std::size_t i = 0; i < expected.size(); i += 4)
            if (expected[i] != 0 || expected[i + 1] != 0 || expected[i + 2] != 0)
                ++lit;
        EXPECT_GT(lit, 10000) << "the grid covers a good part of the window";
        int differing = 0;
        for (std::size_t i = 0; i < expected.size(); ++i)
            if (drawn[i] != expected[i])
                ++differing;
        EXPECT_EQ(differing, 0);
    }

    static bool colourAt(float x, float y, const Pixel& colour)
    {
        return closeColour(readPixel(clipToWindowX(x), clipToWindowY(y)), colour, 0);
    }
    // A one-pixel line through (x, y) lights one of the pixels around it, whichever way the
    // rasteriser rounds.
    static bool lineAt(float x, float y)
    {
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (closeColour(readPixel(clipToWindowX(x) + dx, clipToWindowY(y) + dy), {255, 255, 255}, 0))
                    return true;
        return false;
    }

    std::vector<Surface*> surfaces;  // the actors' own, in the order they were added
};

const Pixel RED = {255, 0, 0};
const Pixel GREEN = {0, 255, 0};
const Pixel BLUE = {0, 0, 255};
const Pixel BLACK = {0, 0, 0};

// The rotation these tests turn bones by: read as OpenGL reads it (the conjugate), it takes x to
// -y and y to x, a quarter turn clockwise on the screen.
Quaternion quarterClockwise()
{
    return Quaternion(HALF_PI, 0.0f, 0.0f, 1.0f);
}
}

TEST_F(ActorTest, QuadFansBackwardsIntoTwoTrianglesAndShortPolygonsMakeNone)
{
    Actor actor(&scene);
    for (int i = 0; i < 4; ++i)
        actor.addPoint(Vector(static_cast<float>(i), static_cast<float>(i * i), 0.0f));
    const int quad[4] = {0, 1, 2, 3};
    EXPECT_EQ(actor.addPolygon(quad, 4, 7), (std::vector<int>{0, 1}));
    EXPECT_EQ(actor.getTriangle(0)->getPoints(), (Triangle::PointIndices{0, 3, 2}));
    EXPECT_EQ(actor.getTriangle(1)->getPoints(), (Triangle::PointIndices{0, 2, 1}));
    EXPECT_EQ(actor.getPolygonTriangles(7), (std::vector<int>{0, 1}));

    EXPECT_TRUE(actor.addPolygon(quad, 2, 8).empty());
    EXPECT_TRUE(actor.addPolygon(quad, 1, 9).empty());
    EXPECT_EQ(actor.getTriangleCount(), 2);
}

TEST_F(ActorTest, AConcavePolygonDrawsItsOwnShapeAndNothingOutsideIt)
{
    // An L of three 0.5-wide squares, its notch at the top right, begun at the notch's lower
    // corner: the fan from there would cover the notch with a triangle wound the other way.
    Actor actor(&scene);
    addSurface(actor, "red", RGBA(1, 0, 0, 1));
    const Vector corners[6] = {Vector(0.5f, 0, 0),     Vector(0, 0, 0),      Vector(0, 0.5f, 0),
                               Vector(-0.5f, 0.5f, 0), Vector(-0.5f, -0.5f, 0), Vector(0.5f, -0.5f, 0)};
    int points[6];
    for (int i = 0; i < 6; ++i)
        points[i] = actor.addPoint(corners[i]);
    const std::vector<int> made = actor.addPolygon(points, 6, 3);
    ASSERT_EQ(made.size(), 4u);
    EXPECT_EQ(actor.getPolygonTriangles(3), made);
    float area = 0.0f;
    for (int index : made) {
        actor.getTriangle(index)->setSurfaceName("red");
        const Triangle::PointIndices& p = actor.getTriangle(index)->getPoints();
        const Vector a = actor.getPointVector(p[0]), b = actor.getPointVector(p[1]), c = actor.getPointVector(p[2]);
        // Wound against the polygon, which runs anticlockwise: every triangle clockwise on screen.
        const float twice = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        EXPECT_LT(twice, 0.0f) << "triangle " << index << " faces against the polygon";
        area += std::fabs(twice) / 2.0f;
    }
    EXPECT_NEAR(area, 0.75f, 1e-6f);

    actor.render(0.0);
    EXPECT_TRUE(colourAt(0.15f, 0.15f, BLACK)) << "the notch stays empty: " << describe(readPixel(clipToWindowX(0.15f), clipToWindowY(0.15f)));
    for (const auto& inside : {std::make_pair(-0.25f, 0.25f), std::make_pair(-0.25f, -0.25f), std::make_pair(0.25f, -0.25f)})
        EXPECT_TRUE(colourAt(inside.first, inside.second, RED))
            << inside.first << ", " << inside.second << ": " << describe(readPixel(clipToWindowX(inside.first), clipToWindowY(inside.second)));
}

TEST_F(ActorTest, BonesAreNamedFromOneCounterUntilTheActorNamesThem)
{
    Actor first(&scene), second(&scene);
    const int a = first.addBone(Vector(), Vector(1, 0, 0));
    const int b = second.addBone(Vector(), Vector(1, 0, 0));
    const int c = first.addBone(Vector(), Vector(1, 0, 0));
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(c, 1);
    const std::string name = first.getBone(0)->getName();
    ASSERT_EQ(name.compare(0, 5, "dummy"), 0) << name;
    const int n = std::stoi(name.substr(5));
    EXPECT_EQ(second.getBone(0)->getName(), "dummy" + std::to_string(n + 1));
    EXPECT_EQ(first.getBone(1)->getName(), "dummy" + std::to_string(n + 2));

    first.setBoneName(1, "arm");
    EXPECT_EQ(first.getBone(1)->getName(), "arm");
    EXPECT_EQ(first.findBone("arm"), first.getBone(1));
    EXPECT_EQ(first.findBone("leg"), nullptr);
    EXPECT_EQ(first.getBone(2), nullptr);
    EXPECT_EQ(first.getBone(5), nullptr);
    EXPECT_EQ(first.getBone(-1), nullptr);

    LogCapture log;
    first.setBoneName(5, "tail");
    EXPECT_EQ(log.warnings(), 1) << "no bone 5 to name";
    EXPECT_EQ(first.findBone("tail"), nullptr);
}

TEST_F(ActorTest, ChildBoneIsPlacedFromItsParentsEndPointToItsOwnStart)
{
    struct Case {
        const char* what;
        Vector childStart;
        Vector position;
    } cases[] = {
        {"starts at the parent's end", Vector(1, 2, 0), Vector(0, 0, 0)},
        {"starts one unit beyond along x", Vector(2, 2, 0), Vector(1, 0, 0)},
    };
    for (const Case& c : cases) {
        Bone parent(Vector(1, 0, 0), Vector(0, 2, 0));
        parent.setName("upper");
        Bone child(c.childStart, Vector(1, 0, 0));
        child.setName("lower");
        LogCapture log;
        Log::getInstance()->setLevel(LogLevel::debug);
        child.setParent(&parent);
        EXPECT_EQ(log.text(), "[debug] bone::setParent() - Parent for \"lower\" is \"upper\".\n") << c.what;
        expectVector(child.getPosition(), c.position, c.what);
        EXPECT_EQ(child.getParent(), &parent);
    }
}

TEST_F(ActorTest, MeshOfAChildStartingBeyondItsParentsEndIsDrawnWhereTheModelPutsIt)
{
    // upper ends at (0.3, 0); lower starts 0.2 further on, at (0.5, 0), and holds a green square
    // around (0.65, 0.35).
    Actor actor(&scene);
    addSurface(actor, "green", RGBA(0, 1, 0, 1));
    actor.setBoneName(actor.addBone(Vector(0, 0, 0), Vector(0.3f, 0, 0)), "upper");
    actor.setBoneName(actor.addBone(Vector(0.5f, 0, 0), Vector(0.3f, 0, 0)), "lower");
    actor.findBone("lower")->setParent(actor.findBone("upper"));
    actor.findBone("upper")->addChild(actor.findBone("lower"));
    const Vector held[4] = {Vector(0.6f, 0.3f, 0), Vector(0.7f, 0.3f, 0), Vector(0.7f, 0.4f, 0),
                            Vector(0.6f, 0.4f, 0)};
    addQuad(actor, held, "green", {{"lower", 1.0f}});
    actor.render(0.0);
    EXPECT_TRUE(colourAt(0.65f, 0.35f, GREEN)) << describe(readPixel(clipToWindowX(0.65f), clipToWindowY(0.35f)));
    EXPECT_TRUE(colourAt(0.25f, 0.35f, BLACK)) << "not shifted back by twice the gap";
}

TEST_F(ActorTest, BoneThatWouldBeDrawnBelowItselfIsRefused)
{
    Bone a(Vector(), Vector(1, 0, 0)), b(Vector(1, 0, 0), Vector(1, 0, 0));
    a.addChild(&b);
    LogCapture log;
    b.addChild(&a);
    a.addChild(&a);
    EXPECT_EQ(log.warnings(), 2) << log.text();
    EXPECT_TRUE(b.getChildren().empty());
    EXPECT_EQ(a.getChildren(), (std::vector<Bone*>{&b}));
    a.render(0.0);  // ends
}

TEST_F(ActorTest, TrianglesGoToTheRigidBaseMeshABonesMeshOrTheSkinnedMeshByTheirBones)
{
    Actor actor(&scene);
    actor.setName("robot");
    addSurface(actor, "paint", RGBA(1, 1, 1, 1));
    actor.setBoneName(actor.addBone(Vector(1, 0, 0), Vector(1, 0, 0)), "a");
    actor.setBoneName(actor.addBone(Vector(2, 0, 0), Vector(1, 0, 0)), "b");
    // Points 0..8, three triangles: weighted {a}, {a}, {}; {a}, {b}, {}; and nothing at all.
    for (int i = 0; i < 9; ++i)
        actor.addPoint(Vector(static_cast<float>(i % 3), static_cast<float>(i / 3), 0.0f) + Vector(0, 0, 1));
    for (int t = 0; t < 3; ++t)
        actor.getTriangle(actor.addTriangle(3 * t, 3 * t + 1, 3 * t + 2))->setSurfaceName("paint");
    actor.addPointWeight(0, "a", 1.0f);
    actor.addPointWeight(1, "a", 0.5f);
    actor.addPointWeight(3, "a", 1.0f);
    actor.addPointWeight(4, "b", 1.0f);
    actor.addPointWeight(6, "a", 0.05f);  // below 0.1: cleaned away

    LogCapture log;
    Log::getInstance()->setLevel(LogLevel::debug);
    actor.initialize();
    const std::string text = log.text();
    EXPECT_TRUE(log.contains("[debug] actor::cpPolToBones() - Point 1: (1.00, 0.00, 1.00) has weights:  [a, 1.00]\n"))
        << text;
    EXPECT_TRUE(log.contains("[debug] actor::cpPolToBones() - Point 2: (2.00, 0.00, 1.00) has weights: \n")) << text;
    EXPECT_TRUE(log.contains("[debug] actor::addToBones() - Triangle 0: Rigid, Attach to a\n")) << text;
    EXPECT_TRUE(log.contains("[debug] actor::addToBones() - Triangle 1: Skinned, bound to [a 1.00] [b 1.00] \n"))
        << text;
    EXPECT_TRUE(log.contains("[debug] actor::addToBones() - Triangle 2: Empty (leave here)\n")) << text;
    EXPECT_TRUE(log.contains("[debug] actor::initialize() - Actor \"robot\" Triangles: 1 skinned, 1 rigid, 3 total.\n"))
        << text;
    EXPECT_TRUE(actor.isPrepared());

    StaticMesh* aMesh = actor.getBoneMesh("a");
    ASSERT_NE(aMesh, nullptr);
    EXPECT_EQ(actor.getBoneMesh("b"), nullptr) << "no triangle is bound to b alone";
    EXPECT_EQ(aMesh->getName(), "aMesh");
    EXPECT_EQ(actor.getStaticMeshes().find("aMesh"), aMesh);
    EXPECT_EQ(actor.findBone("a")->getAttachedMesh(), aMesh);
    EXPECT_EQ(aMesh->getTriangleCount(), 1);
    EXPECT_TRUE(aMesh->hasTriangle(0));
    // Stored relative to a's pivot (1, 0, 0).
    expectVector(aMesh->getPointVector(0), Vector(-1, 0, 1), "point 0 in a's frame");
    expectVector(aMesh->getPointVector(2), Vector(1, 0, 1), "point 2 in a's frame");

    EXPECT_EQ(actor.getSkinnedMesh().getTriangleCount(), 1);
    EXPECT_TRUE(actor.getSkinnedMesh().hasTriangle(1));
    expectVector(actor.getSkinnedMesh().getPointVector(4), Vector(1, 1, 1), "skinned points at rest");
    EXPECT_EQ(actor.getRigidBaseMesh().getTriangleCount(), 1);
    EXPECT_TRUE(actor.getRigidBaseMesh().hasTriangle(2));
    EXPECT_EQ(actor.getRigidBaseMesh().getName(), "rigidbasemesh_robot");

    // Every drawable has its own copy of the surface, with the same material.
    for (Mesh* drawable : {static_cast<Mesh*>(aMesh), &actor.getSkinnedMesh(), &actor.getRigidBaseMesh()}) {
        Surface* copy = drawable->getSurfaces().find("paint");
        ASSERT_NE(copy, nullptr);
        EXPECT_NE(copy, surfaces[0]);
    }
    EXPECT_EQ(actor.getPointWeights().get(6).getWeights().size(), 0u);
    EXPECT_FLOAT_EQ(actor.getPointWeights().get(1).getWeight("a"), 1.0f) << "normalised";
}

TEST_F(ActorTest, TriangleWhoseSurfaceTheActorLacksStopsTheSplit)
{
    Actor actor(&scene);
    actor.getTriangle(actor.addTriangle(Vector(0, 0, 0), Vector(1, 0, 0), Vector(0, 1, 0)))->setSurfaceName("none");
    EXPECT_THROW(actor.initialize(), ComponentNotFoundException);
}

TEST_F(ActorTest, WeightsForABoneTheActorLacksAreIgnored)
{
    // LightWave keeps weight maps for more than bones: one that names no bone binds nothing.
    Actor actor(&scene);
    actor.setName("jelly");
    addSurface(actor, "paint", RGBA(1, 0, 0, 1));
    actor.setBoneName(actor.addBone(Vector(), Vector(1, 0, 0)), "spine");
    const Vector square[4] = {Vector(-0.9f, -0.9f, 0), Vector(-0.6f, -0.9f, 0), Vector(-0.6f, -0.6f, 0),
                              Vector(-0.9f, -0.6f, 0)};
    addQuad(actor, square, "paint", {{"wobble", 1.0f}});
    const Vector other[4] = {Vector(0.6f, 0.6f, 0), Vector(0.9f, 0.6f, 0), Vector(0.9f, 0.9f, 0),
                             Vector(0.6f, 0.9f, 0)};
    addQuad(actor, other, "paint", {{"wobble", 0.5f}, {"spine", 0.5f}});
    LogCapture log;
    actor.render(0.0);
    EXPECT_TRUE(log.contains("[warning] actor::cpPolToBones() - Actor \"jelly\" has no bone \"wobble\"; its weights "
                             "on 8 points are ignored.\n"))
        << log.text();
    EXPECT_EQ(actor.getRigidBaseMesh().getTriangleCount(), 2);
    ASSERT_NE(actor.getBoneMesh("spine"), nullptr);
    EXPECT_EQ(actor.getBoneMesh("spine")->getTriangleCount(), 2);
    EXPECT_FLOAT_EQ(actor.getPointWeights().get(4).getWeight("spine"), 1.0f) << "the rest sums to 1 again";
    EXPECT_TRUE(colourAt(-0.75f, -0.75f, RED));
    EXPECT_TRUE(colourAt(0.75f, 0.75f, RED));
}

TEST_F(ActorTest, BlendMovesARestPointThroughItsBonesFrames)
{
    // a's frame: a pure translation by (0, 0, -5) with its pivot at (1, 0, 0).
    Bone a(Vector(1, 0, 0), Vector(1, 0, 0));
    glTranslatef(-1.0f, 0.0f, -5.0f);
    a.render(0.0);
    glLoadIdentity();
    Bone b(Vector(0, 0, 0), Vector(1, 0, 0));
    b.setOrientation(quarterClockwise());
    b.render(0.0);
    const PointBoneWeightMap::BoneMap bones = {{"a", &a}, {"b", &b}};

    PointBoneWeightMap one;
    one.setWeight("a", 1.0f);
    expectVector(one.blend(Vector(2, 0, 0), bones), Vector(1, 0, -5), "through a alone");

    // b turns (2, 0, 0) to (0, -2, 0): half of each.
    PointBoneWeightMap half;
    half.setWeight("a", 0.5f);
    half.setWeight("b", 0.5f);
    expectVector(half.blend(Vector(2, 0, 0), bones), Vector(0.5f, -1.0f, -2.5f), "half a, half b");

    PointBoneWeightMap unknown;
    unknown.setWeight("c", 1.0f);
    expectVector(unknown.blend(Vector(2, 0, 0), bones), Vector(0, 0, 0), "a bone not in the map adds nothing");
}

// arm: from the origin 0.5 along x; hand: its child from (0.5, 0, 0), 0.3 along x. A red square
// bound to no bone, a green square bound to the hand alone, and a blue triangle skinned between
// them: (0.2, -0.1) on the arm, (0.8, 0) on the hand, (0.5, 0.2) half on each.
class ArmTest : public ActorTest {
protected:
    void SetUp() override
    {
        ActorTest::SetUp();
        actor.reset(new Actor(&scene));
        actor->setName("arm");
        addSurface(*actor, "red", RGBA(1, 0, 0, 1));
        addSurface(*actor, "green", RGBA(0, 1, 0, 1));
        addSurface(*actor, "blue", RGBA(0, 0, 1, 1));
        actor->setBoneName(actor->addBone(Vector(0, 0, 0), Vector(0.5f, 0, 0)), "arm");
        actor->setBoneName(actor->addBone(Vector(0.5f, 0, 0), Vector(0.3f, 0, 0)), "hand");
        arm = actor->findBone("arm");
        hand = actor->findBone("hand");
        hand->setParent(arm);
        arm->addChild(hand);

        const Vector rigid[4] = {Vector(-0.9f, -0.9f, 0), Vector(-0.6f, -0.9f, 0), Vector(-0.6f, -0.6f, 0),
                                 Vector(-0.9f, -0.6f, 0)};
        addQuad(*actor, rigid, "red", {});
        const Vector held[4] = {Vector(0.6f, 0.3f, 0), Vector(0.7f, 0.3f, 0), Vector(0.7f, 0.4f, 0),
                                Vector(0.6f, 0.4f, 0)};
        addQuad(*actor, held, "green", {{"hand", 1.0f}});
        const int p0 = actor->addPoint(Vector(0.2f, -0.1f, 0));
        const int p1 = actor->addPoint(Vector(0.8f, 0.0f, 0));
        const int p2 = actor->addPoint(Vector(0.5f, 0.2f, 0));
        actor->addPointWeight(p0, "arm", 1.0f);
        actor->addPointWeight(p1, "hand", 1.0f);
        actor->addPointWeight(p2, "arm", 0.5f);
        actor->addPointWeight(p2, "hand", 0.5f);
        skinned = {p0, p1, p2};
        actor->getTriangle(actor->addTriangle(p0, p1, p2))->setSurfaceName("blue");
    }

    void frame()
    {
        clearToBlack();
        actor->render(0.0);
    }

    std::unique_ptr<Actor> actor;
    Bone* arm = nullptr;
    Bone* hand = nullptr;
    std::vector<int> skinned;
};

TEST_F(ArmTest, AtRestEveryPartIsWhereTheModelPutsIt)
{
    frame();
    EXPECT_EQ(actor->getRootBones(), (std::list<Bone*>{arm}));
    EXPECT_TRUE(colourAt(-0.75f, -0.75f, RED));
    EXPECT_TRUE(colourAt(0.65f, 0.35f, GREEN)) << describe(readPixel(clipToWindowX(0.65f), clipToWindowY(0.35f)));
    EXPECT_TRUE(colourAt(0.5f, 0.05f, BLUE));
    expectVector(actor->getSkinnedMesh().getPointVector(skinned[2]), Vector(0.5f, 0.2f, 0), "the shared point");
    // The skeleton as white lines along both bones.
    EXPECT_TRUE(lineAt(0.1f, 0.0f));
    EXPECT_FALSE(lineAt(0.9f, 0.0f)) << "the hand ends at 0.8";
}

TEST_F(ArmTest, TurnedHandCarriesItsMeshAndBendsTheSkinnedTriangle)
{
    // The quarter turn the tests use takes x to -y, as OpenGL applies it.
    Vector x(1, 0, 0);
    x.transform(Matrix(quarterClockwise()));
    expectVector(x, Vector(0, -1, 0), "the turn");

    hand->setOrientation(quarterClockwise());
    frame();
    EXPECT_TRUE(colourAt(-0.75f, -0.75f, RED)) << "bound to no bone";
    // The green square's centre (0.65, 0.35) lies (0.15, 0.35) from the hand's pivot (0.5, 0),
    // turned to (0.35, -0.15).
    EXPECT_TRUE(colourAt(0.85f, -0.15f, GREEN)) << describe(readPixel(clipToWindowX(0.85f), clipToWindowY(-0.15f)));
    EXPECT_TRUE(colourAt(0.65f, 0.35f, BLACK));
    // The arm's point stays; the hand's (0.8, 0) turns about (0.5, 0) to (0.5, -0.3); the shared
    // point is the mean of (0.5, 0.2) on the arm and (0.7, 0) on the hand.
    const Mesh& skin = actor->getSkinnedMesh();
    expectVector(skin.getPointVector(skinned[0]), Vector(0.2f, -0.1f, 0), "on the arm");
    expectVector(skin.getPointVector(skinned[1]), Vector(0.5f, -0.3f, 0), "on the hand");
    expectVector(skin.getPointVector(skinned[2]), Vector(0.6f, 0.1f, 0), "half on each");
    EXPECT_TRUE(colourAt(0.4333f, -0.1f, BLUE)) << "the bent triangle's centroid";
    // The hand's line turned away with it (its new place lies under the skinned triangle).
    EXPECT_FALSE(lineAt(0.7f, 0.0f));
}

TEST_F(ArmTest, SkinnedCornerBoundToNoBoneStaysWithTheActor)
{
    // A second skinned triangle whose third corner has no weight at all, drawn with the actor
    // moved 0.3 to the left: that corner moves with the actor, as its bound corners do.
    const int free = actor->addPoint(Vector(0.9f, -0.6f, 0));
    actor->getTriangle(actor->addTriangle(skinned[0], skinned[1], free))->setSurfaceName("blue");
    clearToBlack();
    glPushMatrix();
    glTranslatef(-0.3f, 0.0f, 0.0f);
    actor->render(0.0);
    glPopMatrix();
    const Mesh& skin = actor->getSkinnedMesh();
    expectVector(skin.getPointVector(skinned[0]), Vector(-0.1f, -0.1f, 0), "on the arm");
    expectVector(skin.getPointVector(free), Vector(0.6f, -0.6f, 0), "bound to no bone");
}

TEST_F(ArmTest, TurnedArmCarriesTheHandWithIt)
{
    arm->setOrientation(quarterClockwise());
    frame();
    // The green square's centre (0.65, 0.35) turns about the origin to (0.35, -0.65).
    EXPECT_TRUE(colourAt(0.35f, -0.65f, GREEN)) << describe(readPixel(clipToWindowX(0.35f), clipToWindowY(-0.65f)));
    expectVector(actor->getSkinnedMesh().getPointVector(skinned[1]), Vector(0.0f, -0.8f, 0), "the hand's point");
    EXPECT_TRUE(colourAt(-0.75f, -0.75f, RED));
}

TEST_F(ArmTest, BonesLeaveTheSceneUnlitAndTheMatrixStackAsTheyFoundThem)
{
    // The hand's mesh is drawn after the arm's line: still in its own colour in an unlit scene.
    frame();
    EXPECT_TRUE(colourAt(0.65f, 0.35f, GREEN));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
}

TEST_F(ArmTest, DisabledActorDrawsNothingNotEvenItsSkeleton)
{
    actor->setEnabled(false);
    frame();
    for (const auto& p : {std::make_pair(-0.75f, -0.75f), std::make_pair(0.65f, 0.35f), std::make_pair(0.5f, 0.05f)})
        EXPECT_TRUE(colourAt(p.first, p.second, BLACK)) << p.first << ", " << p.second;
    EXPECT_FALSE(lineAt(0.1f, 0.0f)) << "the arm's line";
    EXPECT_FALSE(actor->isPrepared());
}

TEST_F(ArmTest, AddingABoneAfterwardsPreparesTheActorAgain)
{
    frame();
    EXPECT_TRUE(actor->isPrepared());
    actor->addBone(Vector(-0.5f, 0.5f, 0), Vector(0, 0.3f, 0));
    EXPECT_FALSE(actor->isPrepared());
    EXPECT_EQ(actor->getRootBones().size(), 1u);
    frame();
    EXPECT_TRUE(actor->isPrepared());
    EXPECT_EQ(actor->getRootBones().size(), 2u);
    EXPECT_TRUE(lineAt(-0.5f, 0.6f)) << "the new bone's line";
    EXPECT_TRUE(colourAt(0.65f, 0.35f, GREEN));
}

TEST_F(ArmTest, HierarchyAndToStringDescribeTheSkeleton)
{
    LogCapture log;
    actor->printBoneHierarchy(0);
    EXPECT_EQ(log.text(), "[info] actor::printBoneHierarchy() - Printing bone hierarchy: (1 root bones)\n"
                          "[info] bone::arm\n"
                          "[info] bone::  +hand\n");
    EXPECT_EQ(actor->toString(), "CommonObject::toString() - arm\n Mesh::toString() - 5 triangles.\n"
                                 "                    3 surfaces.\n Actor::toString() - Bone group. 2 bones.");
}

TEST_F(ActorTest, SceneDisablesItsActorsByNameAndCountsThem)
{
    Actor* actor = scene.getActors().store("crate.lwo", std::make_unique<Actor>(&scene));
    actor->setName("crate.lwo");
    LogCapture log;
    scene.stringAction("disableActor", "barrel.lwo");
    EXPECT_EQ(log.text(), "[info] environment::Actor disabling failed: KelvoEngineException::::Factory<Actor>"
                          "Exception::find() - Unable to find component \"barrel.lwo\".\n");
    EXPECT_TRUE(actor->isEnabled());
    scene.stringAction("disableActor", "crate.lwo");
    EXPECT_FALSE(actor->isEnabled());

    log.clear();
    scene.printInfo();
    EXPECT_TRUE(log.contains(" has 0 cameras, 0 meshes, 1 actors, 0 keyframed actors, ")) << log.text();
    scene.getActors().erase("crate.lwo");
}

TEST_F(ActorTest, SkinnedFrameShowsThePixelsOfItsMeshDrawnTriangleByTriangle)
{
    expectSkinnedFrameShowsItsMeshsPixels(1, 2);
}

TEST_F(ActorTest, SkinnedFrameOfFlatTrianglesShowsThePixelsOfItsMesh)
{
    // Flat corners take their own face normals: the corners of one triangle, alike in everything
    // else, must stay three vertices.
    expectSkinnedFrameShowsItsMeshsPixels(0, 0);
}
