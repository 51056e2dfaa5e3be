#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "3dsLoader.h"
#include "Actor.h"
#include "CameraController.h"
#include "HostileFiles.h"
#include "KeyframedMesh.h"
#include "lwloader/LWLoader.h"

#include "Environment.h"
#include "GLEnvironment.h"
#include "JpegWriter.h"
#include "Mesh.h"
#include "ResourceLoader.h"
#include "SceneViews.h"
#include "Surface.h"
#include "TestSupport.h"
#include "Texture.h"
#include "VectorCheck.h"
#include "ViewStateCheck.h"

// Meshes on the shared window: their geometry, normals and texture coordinates worked out by hand,
// and what they draw read back from the back buffer.
namespace {
class MeshTest : public MeshViewFolderTest {
protected:
    void SetUp() override
    {
        MeshViewFolderTest::SetUp();
        writeJpeg(path("red.jpg"), 8, 8, 3, solidPixels(8, 8, {255, 0, 0}));
    }

    // A surface of the mesh's library, by name, of one colour.
    Surface* addSurface(Mesh& mesh, const std::string& name, const RGBA& colour)
    {
        Surface* surface = mesh.getSurfaces().store(name, std::make_unique<Surface>(&scene));
        surface->setName(name);
        surface->getMaterial().setColor(colour);
        return surface;
    }

    // Two triangles covering the square from (x0, y0) to (x1, y1) at z = 0, facing +z, with the
    // surface named surface; the points 0..3 run counter-clockwise from the lower left.
    static void addSquare(Mesh& mesh, float x0, float y0, float x1, float y1, const std::string& surface)
    {
        const int a = mesh.addPoint(Vector(x0, y0, 0));
        const int b = mesh.addPoint(Vector(x1, y0, 0));
        const int c = mesh.addPoint(Vector(x1, y1, 0));
        const int d = mesh.addPoint(Vector(x0, y1, 0));
        mesh.getTriangle(mesh.addTriangle(a, b, c))->setSurfaceName(surface);
        mesh.getTriangle(mesh.addTriangle(a, c, d))->setSurfaceName(surface);
    }
};
}

TEST_F(MeshTest, PolygonTrianglesFollowTrianglesStoredAndReplacedInAnyOrder)
{
    // Each step stores a triangle of the given polygon under the given index (-1: the next free
    // one), then the triangles of polygons 3, 4 and -1 are looked up.
    struct Step {
        int index;
        int polygon;
        std::vector<int> ofThree, ofFour, ofNone;
    } steps[] = {
        {-1, 3, {0}, {}, {}},
        {5, 3, {0, 5}, {}, {}},
        {2, 3, {0, 2, 5}, {}, {}},        // below the last: kept in order
        {2, 4, {0, 5}, {2}, {}},          // replaced: it leaves polygon 3
        {-1, -1, {0, 5}, {2}, {1}},
        {5, 5, {0}, {2}, {1}},
        {0, 4, {}, {0, 2}, {1}},
        {0, 4, {}, {0, 2}, {1}},          // stored again: listed once
    };
    Mesh mesh(&scene);
    for (int p = 0; p < 3; ++p)
        mesh.addPoint(Vector(static_cast<float>(p), 0, 0));
    int step = 0;
    for (const Step& s : steps) {
        if (s.index < 0) {
            mesh.addTriangle(0, 1, 2, s.polygon);
        } else {
            Triangle triangle(Triangle::PointIndices{0, 1, 2});
            triangle.setPolygonIndex(s.polygon);
            mesh.setTriangle(s.index, triangle);
        }
        EXPECT_EQ(mesh.getPolygonTriangles(3), s.ofThree) << "step " << step;
        EXPECT_EQ(mesh.getPolygonTriangles(4), s.ofFour) << "step " << step;
        EXPECT_EQ(mesh.getPolygonTriangles(-1), s.ofNone) << "step " << step;
        ++step;
    }
}

TEST_F(MeshTest, FreeIndicesSkipThoseStoredExplicitly)
{
    Mesh mesh(&scene);
    mesh.setPoint(0, Vector(1, 0, 0));
    mesh.setPoint(1, Vector(0, 1, 0));
    EXPECT_EQ(mesh.addPoint(Vector(0, 0, 1)), 2);
    EXPECT_EQ(mesh.addPoint(Vector(0, 0, 2)), 3);
    expectVector(mesh.getPointVector(1), Vector(0, 1, 0), "explicit point kept", 1e-6);

    Triangle explicitTriangle(Triangle::PointIndices{0, 1, 2});
    explicitTriangle.setPolygonIndex(7);
    mesh.setTriangle(0, explicitTriangle);
    EXPECT_EQ(mesh.addTriangle(1, 2, 3, 7), 1);
    EXPECT_EQ(mesh.addTriangle(Triangle::PointIndices{0, 2, 3}, 8), 2);
    EXPECT_EQ(mesh.getTriangleCount(), 3);
    EXPECT_EQ(mesh.getPolygonTriangles(7), std::vector<int>({0, 1}));
    EXPECT_EQ(mesh.getPointTriangles(2), std::set<int>({0, 1, 2}));
    EXPECT_TRUE(mesh.getPointTriangles(9).empty());
    EXPECT_EQ(mesh.getTriangle(5), nullptr);

    // Three positions make three new points and their triangle.
    EXPECT_EQ(mesh.addTriangle(Vector(0, 0, 0), Vector(1, 0, 0), Vector(0, 1, 0)), 3);
    EXPECT_EQ(mesh.getPoints().size(), 7u);
    EXPECT_EQ(mesh.getTriangle(3)->getPoints(), (Triangle::PointIndices{4, 5, 6}));
    EXPECT_EQ(mesh.getTriangle(3)->getPolygonIndex(), -1);

    try {
        mesh.getPoint(42);
        FAIL() << "no point 42";
    } catch (MeshException& e) {
        EXPECT_NE(e.getMessage().find("has no point 42."), std::string::npos) << e.getMessage();
    }
}

TEST_F(MeshTest, VertexNormalsAverageTheFaceNormalsOfSharingSmoothingGroups)
{
    // Triangle 0 in the plane z = 0 (face normal +z) and triangle 1 in the plane y = 0 (face normal
    // +y) share the edge from point 0 to point 1.
    struct Case {
        const char* what;
        int group0, group1;
        Vector shared0, shared1;  // at point 0, in triangle 0 and in triangle 1
    } cases[] = {
        {"both smooth everywhere", -1, -1, Vector(0, 0.5f, 0.5f), Vector(0, 0.5f, 0.5f)},
        {"different groups", 1, 2, Vector(0, 0, 1), Vector(0, 1, 0)},
        {"a shared bit", 3, 2, Vector(0, 0.5f, 0.5f), Vector(0, 0.5f, 0.5f)},
        {"group 0 among smooth neighbours", 0, -1, Vector(0, 0, 1), Vector(0, 1, 0)},
    };
    for (const Case& c : cases) {
        Mesh mesh(&scene);
        mesh.addPoint(Vector(0, 0, 0));
        mesh.addPoint(Vector(1, 0, 0));
        mesh.addPoint(Vector(0, 1, 0));
        mesh.addPoint(Vector(0, 0, 1));
        mesh.addTriangle(0, 1, 2);
        mesh.addTriangle(0, 3, 1);
        mesh.getTriangle(0)->setSmoothingGroup(c.group0);
        mesh.getTriangle(1)->setSmoothingGroup(c.group1);
        mesh.calcFaceNormals();
        mesh.calcVertexNormals();
        expectVector(mesh.getTriangle(0)->getNormal(), Vector(0, 0, 1), c.what, 1e-6);
        expectVector(mesh.getTriangle(1)->getNormal(), Vector(0, 1, 0), c.what, 1e-6);
        const TriangleNormalMap normals = mesh.getTriangleNormalMap();
        expectVector(normals.getPointNormals(0).getNormal(0), c.shared0, std::string(c.what) + ", point 0 of 0", 1e-6);
        expectVector(normals.getPointNormals(0).getNormal(1), c.shared0, std::string(c.what) + ", point 1 of 0", 1e-6);
        expectVector(normals.getPointNormals(1).getNormal(0), c.shared1, std::string(c.what) + ", point 0 of 1", 1e-6);
        // Unshared corners keep their own face normal.
        expectVector(normals.getPointNormals(0).getNormal(2), Vector(0, 0, 1), c.what, 1e-6);
        expectVector(normals.getPointNormals(1).getNormal(3), Vector(0, 1, 0), c.what, 1e-6);
    }
}

TEST_F(MeshTest, DegenerateTrianglesGetAnUpNormalAndOneWarning)
{
    Mesh mesh(&scene);
    mesh.setName("bent");
    mesh.addTriangle(Vector(0, 0, 0), Vector(1, 0, 0), Vector(2, 0, 0));  // collinear
    mesh.addTriangle(0, 0, 1);                                            // a point twice
    mesh.addTriangle(Vector(0, 0, 0), Vector(0, 1, 0), Vector(0, 0, 1));
    LogCapture log;
    mesh.calcFaceNormals();
    EXPECT_EQ(log.text(), "[warning] mesh::calcFaceNormals(\"bent\") - 2 zero face normals detected. Possibly "
                          "defected mesh.\n");
    expectVector(mesh.getTriangle(0)->getNormal(), Vector(0, 0, 1), "collinear", 1e-6);
    expectVector(mesh.getTriangle(1)->getNormal(), Vector(0, 0, 1), "repeated point", 1e-6);
    expectVector(mesh.getTriangle(2)->getNormal(), Vector(1, 0, 0), "a real one", 1e-6);
}

TEST_F(MeshTest, PerPointCoordinatesFillOnlyWhatCornersDoNotHave)
{
    Mesh mesh(&scene);
    addSquare(mesh, -1, -1, 1, 1, "s");
    // Triangle 0 has all its corners; triangle 1 has point 3 only.
    mesh.setTriangleTextureCoordinate(0, 0, UV(0.1f, 0.1f));
    mesh.setTriangleTextureCoordinate(0, 1, UV(0.2f, 0.2f));
    mesh.setTriangleTextureCoordinate(0, 2, UV(0.3f, 0.3f));
    mesh.setTriangleTextureCoordinate(1, 3, UV(0.4f, 0.4f));
    for (int point = 0; point < 4; ++point)
        mesh.setPointTextureCoordinate(point, UV(0.9f, 0.9f));
    mesh.initializeTextureCoordinates();
    EXPECT_TRUE(mesh.isTextured());
    const TextureCoordinateMap map = mesh.getTextureCoordinateMap();
    EXPECT_FLOAT_EQ(map.getTriangleTextureCoordinates(0).getCoordinate(0).u, 0.1f) << "complete: kept";
    EXPECT_FLOAT_EQ(map.getTriangleTextureCoordinates(1).getCoordinate(3).u, 0.4f) << "the corner's own";
    EXPECT_FLOAT_EQ(map.getTriangleTextureCoordinates(1).getCoordinate(0).u, 0.9f) << "filled from the point";
    EXPECT_FLOAT_EQ(map.getTriangleTextureCoordinates(1).getCoordinate(2).u, 0.9f) << "filled from the point";

    // Spread once: the per-point coordinates are gone after it.
    Mesh outside(&scene);
    addSquare(outside, -1, -1, 1, 1, "s");
    outside.setPointTextureCoordinate(0, UV(1.5f, 0.5f));
    EXPECT_THROW(outside.initializeTextureCoordinates(), TextureCoordinateException);
}

TEST_F(MeshTest, OneTriangleWithoutCoordinatesSwitchesTexturingOffForTheMesh)
{
    struct Case {
        const char* what;
        bool allCoordinates;
        Pixel centre;  // the white material times the red texture, or the material alone
    } cases[] = {{"every triangle has coordinates", true, {255, 0, 0}},
                 {"one triangle without", false, {255, 255, 255}}};
    for (const Case& c : cases) {
        Mesh mesh(&scene);
        mesh.setName("card");
        Surface* surface = addSurface(mesh, "s", RGBA(1, 1, 1, 1));
        surface->addTexture("red.jpg");
        addSquare(mesh, -1, -1, 1, 1, "s");
        for (int point = 0; point < 4; ++point)
            mesh.setTriangleTextureCoordinate(0, point == 3 ? 2 : point, UV(0.5f, 0.5f));
        if (c.allCoordinates)
            for (int point : {0, 2, 3})
                mesh.setTriangleTextureCoordinate(1, point, UV(0.5f, 0.5f));
        // A coordinate that the texture's red would not cover, were it sent anyway.
        glTexCoord2f(0.5f, 0.5f);
        LogCapture log;
        glClear(GL_COLOR_BUFFER_BIT);
        mesh.render(0.0);
        EXPECT_EQ(mesh.isTextured(), c.allCoordinates) << c.what;
        EXPECT_EQ(log.contains("[warning] mesh::initializeTextureCoordinates(\"card\") - Mesh has no texture "
                               "coordinates! Texturing will be disabled.\n"),
                  !c.allCoordinates)
            << c.what << "\n"
            << log.text();
        // Both triangles: below and above the diagonal.
        EXPECT_TRUE(closeColour(readPixel(480, 120), c.centre)) << c.what;
        EXPECT_TRUE(closeColour(readPixel(160, 360), c.centre)) << c.what;
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << c.what << ": texturing on after the mesh";
        EXPECT_EQ(scene.getCurrentSurface(), nullptr) << c.what;
    }
}

TEST_F(MeshTest, PlanarMappingProjectsThePointsThroughTheSurfacesCentreAndSize)
{
    Mesh mesh(&scene);
    Surface* surface = addSurface(mesh, "s", RGBA(1, 1, 1, 1));
    surface->setTextureCenter(Vector(0, 0, 0));
    surface->setTextureSize(Vector(2, 2, 2));
    addSquare(mesh, -1, -1, 1, 1, "s");
    mesh.calcPlanarMapping("s", 2);
    const TextureCoordinateMap range = mesh.getTextureCoordinateMap();
    EXPECT_FLOAT_EQ(range.getMin().u, 0.0f);
    EXPECT_FLOAT_EQ(range.getMax().u, 1.0f);
    EXPECT_FLOAT_EQ(range.getMin().v, 0.0f);
    EXPECT_FLOAT_EQ(range.getMax().v, 1.0f);
    mesh.initializeTextureCoordinates();
    ASSERT_TRUE(mesh.isTextured());
    const TextureCoordinate corners = mesh.getTextureCoordinateMap().getTriangleTextureCoordinates(0);
    EXPECT_FLOAT_EQ(corners.getCoordinate(0).u, 0.0f) << "x = -1";
    EXPECT_FLOAT_EQ(corners.getCoordinate(1).u, 1.0f) << "x = 1";
    EXPECT_FLOAT_EQ(corners.getCoordinate(2).v, 1.0f) << "y = 1";

    // Axis 0 takes u from z and v from y.
    Mesh side(&scene);
    Surface* sideSurface = addSurface(side, "s", RGBA(1, 1, 1, 1));
    sideSurface->setTextureCenter(Vector(0, 0, 1));
    sideSurface->setTextureSize(Vector(1, 4, 4));
    side.addTriangle(Vector(0, 0, -1), Vector(0, 2, 3), Vector(0, -2, 3));
    side.calcPlanarMapping("s", 0);
    side.initializeTextureCoordinates();
    const TextureCoordinate sideCorners = side.getTextureCoordinateMap().getTriangleTextureCoordinates(0);
    EXPECT_FLOAT_EQ(sideCorners.getCoordinate(0).u, 0.0f);
    EXPECT_FLOAT_EQ(sideCorners.getCoordinate(0).v, 0.5f);
    EXPECT_FLOAT_EQ(sideCorners.getCoordinate(1).u, 1.0f);
    EXPECT_FLOAT_EQ(sideCorners.getCoordinate(1).v, 1.0f);
}

TEST_F(MeshTest, PlanarMappingRefusesAnUnknownAxisAZeroSizeAndAMissingSurface)
{
    Mesh mesh(&scene);
    mesh.setName("m");
    Surface* surface = addSurface(mesh, "s", RGBA(1, 1, 1, 1));
    addSquare(mesh, -1, -1, 1, 1, "s");
    mesh.setTriangleTextureCoordinate(0, 0, UV(0.5f, 0.5f));
    surface->setTextureSize(Vector(2, 0, 2));  // no height: v would divide by 0 on axis 2
    struct Case {
        int axis;
        const char* message;
    } cases[] = {
        {2, "calcPlanarMapping(\"m\") - Surface \"s\" has a texture size of 0 in the projection plane."},
        {3, "calcPlanarMapping(\"m\") - No projection axis 3; the axis is 0, 1 or 2."},
        {-1, "calcPlanarMapping(\"m\") - No projection axis -1; the axis is 0, 1 or 2."},
    };
    for (const Case& c : cases) {
        try {
            mesh.calcPlanarMapping("s", c.axis);
            FAIL() << c.axis;
        } catch (MeshException& e) {
            EXPECT_EQ(e.getMessage(), std::string("KelvoEngineException::::MeshException::") + c.message);
        }
        EXPECT_TRUE(mesh.getTextureCoordinateMap().hasTriangle(0)) << "nothing changed";
    }
    // Axis 1 maps (x, z), which both have a size.
    mesh.calcPlanarMapping("s", 1);
    EXPECT_THROW(mesh.calcPlanarMapping("none", 2), ComponentNotFoundException);
}

TEST_F(MeshTest, SphericalMappingMovesACornerAcrossTheSeamAndClampsIt)
{
    Mesh mesh(&scene);
    addSurface(mesh, "globe", RGBA(1, 1, 1, 1));
    addSurface(mesh, "other", RGBA(1, 1, 1, 1));
    const double turn = 2.0 * 3.14159265358979;
    // u = atan2(x, z) / 2pi + 0.5: 0.95 and 0.02 lie on the two sides of the seam behind the origin;
    // straight up gives u 0.5 and v 1.
    const Vector a(static_cast<float>(std::sin(0.45 * turn)), 0, static_cast<float>(std::cos(0.45 * turn)));
    const Vector b(static_cast<float>(std::sin(-0.48 * turn)), 0, static_cast<float>(std::cos(-0.48 * turn)));
    const int globe = mesh.addTriangle(a * 3.0f, b * 3.0f, Vector(0, 2, 0));
    mesh.getTriangle(globe)->setSurfaceName("globe");
    const int other = mesh.addTriangle(Vector(0, 0, 1), Vector(1, 0, 1), Vector(0, 1, 1));
    mesh.getTriangle(other)->setSurfaceName("other");
    mesh.setTriangleTextureCoordinate(other, 3, UV(0.5f, 0.5f));

    mesh.calcSphericalMapping("globe");
    const TextureCoordinateMap map = mesh.getTextureCoordinateMap();
    EXPECT_FALSE(map.hasTriangle(other)) << "every triangle's coordinates are replaced";
    const TextureCoordinate corners = map.getTriangleTextureCoordinates(globe);
    EXPECT_NEAR(corners.getCoordinate(0).u, 0.95f, 1e-5);
    EXPECT_FLOAT_EQ(corners.getCoordinate(1).u, 1.0f) << "0.02 moved to 1.02, then clamped";
    EXPECT_NEAR(corners.getCoordinate(2).u, 0.5f, 1e-6);
    EXPECT_NEAR(corners.getCoordinate(0).v, 0.5f, 1e-6);
    EXPECT_FLOAT_EQ(corners.getCoordinate(2).v, 1.0f);
}

TEST_F(MeshTest, BoundingBoxSpansTheCornersOfTheTrianglesOnly)
{
    Mesh mesh(&scene);
    Vector min(9, 9, 9), max(9, 9, 9);
    mesh.getBoundingBox(min, max);
    expectVector(min, Vector(), "no triangles", 1e-6);
    expectVector(max, Vector(), "no triangles", 1e-6);
    mesh.addPoint(Vector(-50, 50, 50));  // used by no triangle
    mesh.addTriangle(Vector(1, 2, 3), Vector(-1, 5, 0), Vector(2, -2, 4));
    mesh.getBoundingBox(min, max);
    expectVector(min, Vector(-1, -2, 0), "min", 1e-6);
    expectVector(max, Vector(2, 5, 4), "max", 1e-6);
}

TEST_F(MeshTest, ToStringCountsTrianglesAndSurfaces)
{
    Mesh mesh(&scene);
    mesh.setName("box");
    addSurface(mesh, "s", RGBA(1, 1, 1, 1));
    for (int i = 0; i < 12; ++i)
        mesh.addTriangle(Vector(0, 0, 0), Vector(1, 0, 0), Vector(0, 1, 0));
    EXPECT_EQ(mesh.toString(), "CommonObject::toString() - box\n Mesh::toString() - 12 triangles.\n"
                               "                    1 surfaces.");
}

TEST_F(MeshTest, RenderDrawsEachTriangleWithItsSurfaceAtTheMeshesPlace)
{
    Mesh mesh(&scene);
    addSurface(mesh, "green", RGBA(0, 1, 0, 1));
    addSurface(mesh, "blue", RGBA(0, 0, 1, 1));
    addSquare(mesh, -0.5f, -0.5f, 0.0f, 0.0f, "green");
    mesh.getTriangle(1)->setSurfaceName("blue");
    mesh.setPosition(Vector(0.5f, 0.5f, 0.0f));
    float before[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    mesh.render(0.0);
    // The square is moved by (0.5, 0.5) to the window's centre quarter: (0, 0) to (0.5, 0.5).
    EXPECT_TRUE(closeColour(readPixel(440, 260), {0, 255, 0}, 0)) << "below the diagonal";
    EXPECT_TRUE(closeColour(readPixel(340, 340), {0, 0, 255}, 0)) << "above the diagonal";
    EXPECT_TRUE(closeColour(readPixel(200, 200), {0, 0, 0}, 0)) << "where it was without the move";
    float after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(after[i], before[i]) << i;
    EXPECT_EQ(scene.getCurrentSurface(), nullptr);
}

TEST_F(MeshTest, MissingSurfaceFailsTheRenderAndLeavesTheMatrixAndSurfaceAsTheyWere)
{
    Mesh mesh(&scene);
    mesh.setName("m");
    addSurface(mesh, "s", RGBA(1, 1, 1, 1));
    addSquare(mesh, -1, -1, 1, 1, "s");
    mesh.getTriangle(1)->setSurfaceName("gone");
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    try {
        mesh.render(0.0);
        FAIL() << "no surface gone";
    } catch (MeshException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::MeshException::render(\"m\") - Failed to render triangles. "
                                  "KelvoEngineException::::Factory<Surface>Exception::find() - Unable to find "
                                  "component \"gone\".");
    }
    GLint after = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &after);
    EXPECT_EQ(after, depth);
    EXPECT_EQ(scene.getCurrentSurface(), nullptr);
}

TEST_F(MeshTest, EmptyMeshWarnsAndDrawsNothing)
{
    Mesh mesh(&scene);
    mesh.setName("void");
    LogCapture log;
    mesh.render(0.0);
    EXPECT_TRUE(log.contains("[warning] mesh::render() - Mesh \"void\" has no triangles!\n")) << log.text();
}

TEST_F(MeshTest, MetalSurfaceGetsTheReflectionMapAtInitialization)
{
    writeJpeg(path("sky1env.jpg"), 8, 8, 3, solidPixels(8, 8, {0, 0, 255}));
    Mesh mesh(&scene);
    Surface* metal = addSurface(mesh, "metal", RGBA(1, 1, 1, 1));
    addSquare(mesh, -1, -1, 1, 1, "metal");
    LogCapture log;
    mesh.initialize();
    EXPECT_TRUE(log.contains("[info] mesh::initialize() - Metal surface found.\n")) << log.text();
    ASSERT_TRUE(scene.getTextureManager().exists("metalenv"));
    Texture* reflection = scene.getTextureManager().find("metalenv");
    EXPECT_NE(reflection->getTextureId(), 0u);
    ASSERT_EQ(metal->getTextures().size(), 1u);
    EXPECT_EQ(metal->getTextures()[0], reflection);
}

namespace {
// A corner's vertex normal as a walk over every triangle of its point works it out: the way each
// corner once took, kept here as the reference the engine's must match bit for bit.
Vector walkedVertexNormal(const Mesh& mesh, const Triangle& triangle, int point)
{
    Vector sum;
    int count = 0;
    for (int other : mesh.getPointTriangles(point)) {
        const Triangle* neighbour = mesh.getTriangles().findValue(other);
        if (neighbour && (neighbour->getSmoothingGroup() & triangle.getSmoothingGroup()) != 0) {
            sum += neighbour->getNormal();
            ++count;
        }
    }
    return count > 0 ? sum / static_cast<float>(count) : triangle.getNormal();
}

// Works out the mesh's normals and compares every corner's with the walk's; the corners compared.
int expectWalkedVertexNormals(Mesh& mesh, const std::string& what)
{
    mesh.calcFaceNormals();
    mesh.calcVertexNormals();
    const TriangleNormalMap normals = mesh.getTriangleNormalMap();
    int corners = 0;
    int differing = 0;
    for (const auto& entry : mesh.getTriangles()) {
        const PointNormalMap* found = normals.findPointNormals(entry.first);
        if (!found) {
            ADD_FAILURE() << what << ": triangle " << entry.first << " has no vertex normals";
            continue;
        }
        for (int corner = 0; corner < 3; ++corner) {
            const int point = entry.second.getPoint(corner);
            const Vector expected = walkedVertexNormal(mesh, entry.second, point);
            const Vector actual = found->getNormal(point);
            ++corners;
            if (actual.x != expected.x || actual.y != expected.y || actual.z != expected.z) {
                if (++differing <= 3)
                    ADD_FAILURE() << what << ": triangle " << entry.first << ", point " << point << ": ("
                                  << actual.x << ", " << actual.y << ", " << actual.z << ") instead of ("
                                  << expected.x << ", " << expected.y << ", " << expected.z << ")";
            }
        }
    }
    EXPECT_EQ(differing, 0) << what;
    return corners;
}

std::vector<std::string> modelFiles(const std::string& folder, const std::vector<std::string>& extensions)
{
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    if (!fs::is_directory(folder))
        return files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && std::find(extensions.begin(), extensions.end(),
                                                 entry.path().extension().string()) != extensions.end())
            files.push_back(fs::relative(entry.path(), folder).string());
    std::sort(files.begin(), files.end());
    return files;
}
}

TEST_F(MeshTest, VertexNormalsOfEverySharedModelAreThoseOfAWalkOverEachCornersTriangles)
{
    if (sharedDir().empty())
        GTEST_SKIP() << "../shared/models is absent: no third-party models to compare the normals of";
    LogCapture quiet;  // missing textures and unsupported projections
    int meshes = 0;
    int corners = 0;
    const std::string studio = sharedDir() + "/models/3DS/";
    ResourceLoader::setResourcePath(studio);
    for (const std::string& file : modelFiles(studio, {".3ds", ".3DS"})) {
        Environment environment;
        try {
            _3dsLoader loader;
            loader.load(file, &environment);
        } catch (const Exception& e) {
            ADD_FAILURE() << file << ": " << e.getMessage();
            continue;
        }
        for (const auto& entry : environment.getKeyframedMeshes().getComponents()) {
            corners += expectWalkedVertexNormals(*entry.second, file + " " + entry.first);
            ++meshes;
        }
    }
    const std::string lightwave = sharedDir() + "/models/LWO/";
    ResourceLoader::setResourcePath(lightwave);
    int objects = 0;
    for (const std::string& file : modelFiles(lightwave, {".lwo"})) {
        Actor actor(nullptr);
        try {
            LWLoader loader(&actor, nullptr);
            loader.loadObject(file);
            loader.fillObject(&actor);
        } catch (const Exception&) {
            continue;  // a projection or a kind of file the engine does not read
        }
        corners += expectWalkedVertexNormals(actor, file);
        ++objects;
    }
    EXPECT_GE(meshes, 10);
    EXPECT_GE(objects, 10);
    EXPECT_GT(corners, 10000);
}

TEST_F(MeshTest, VertexNormalsWhereManySmoothingGroupsMeetAreThoseOfTheWalk)
{
    // A fan of triangles around point 0, their groups made of one to three bits each, some shared
    // with the neighbours, some not: up to 64 different groups meet at the centre.
    struct Case {
        const char* what;
        int triangles;
        int (*group)(int triangle);
    } cases[] = {
        {"one group", 40, [](int) { return 1; }},
        {"smooth everywhere and no group", 40, [](int t) { return t % 3 == 0 ? 0 : -1; }},
        {"a bit each, shared around", 64, [](int t) { return 1 << (t % 32) | 1 << ((t + 1) % 32); }},
        {"64 groups of up to three bits", 64, [](int t) { return (t + 1) | 1 << (t % 5 + 20) | (t % 2) << 31; }},
    };
    for (const Case& c : cases) {
        Mesh mesh(&scene);
        mesh.addPoint(Vector(0, 0, 1));
        for (int t = 0; t <= c.triangles; ++t) {
            const float angle = static_cast<float>(t) * 0.1f;
            mesh.addPoint(Vector(std::cos(angle), std::sin(angle), 0.1f * static_cast<float>(t % 4)));
        }
        for (int t = 0; t < c.triangles; ++t)
            mesh.getTriangle(mesh.addTriangle(0, t + 1, t + 2))->setSmoothingGroup(c.group(t));
        EXPECT_EQ(expectWalkedVertexNormals(mesh, c.what), 3 * c.triangles);
    }
}

TEST_F(MeshTest, TheFirstFrameOfAMeshTakesProcessorTimeInProportionToItsTrianglesAroundAPoint)
{
    // A 3D Studio mesh loaded and drawn once through its camera: its display list is compiled,
    // and its normals worked out, at that first frame.
    struct Case {
        const char* what;
        bool rim;
        bool groupPerFace;
    } cases[] = {
        {"faces over three points", false, false},
        {"a cone", true, false},
        {"faces over three points, a group each", false, true},
    };
    const auto seconds = [&](const std::string& bytes) {
        writeFile("fan.3ds", bytes);
        double least = 1e9;
        for (int run = 0; run < 3; ++run) {
            Environment environment;
            const double start = threadCpuSeconds();
            _3dsLoader loader;
            loader.load("fan.3ds", &environment);
            environment.getCameraController().setCamera("Cam");
            environment.setViewState();
            environment.render(0.0);
            least = std::min(least, threadCpuSeconds() - start);
            const KeyframedMesh* fan = environment.getKeyframedMeshes().find("Fan");
            EXPECT_EQ(fan->getTriangleNormalMap().size(), fan->getTriangleCount()) << "normals at the first frame";
        }
        leaveMeshView();
        enterMeshView(scene);
        return least;
    };
    for (const Case& c : cases) {
        LogCapture quiet;
        const double small = seconds(sharedPointFaces3ds(16383, c.rim, c.groupPerFace));
        const double large = seconds(sharedPointFaces3ds(65532, c.rim, c.groupPerFace));
        EXPECT_LT(large, readerSecondsLimit()) << c.what;
        EXPECT_LT(large, FOUR_TIMES_INPUT_GROWTH_LIMIT * small) << c.what << ": " << small << " s for 16,383 faces, " << large
                                    << " s for 65,532";
    }
}
