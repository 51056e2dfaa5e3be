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
#include "KeyframedMesh.h"
#include "Keyframer.h"
#include "Pixels.h"
#include "ResourceLoader.h"
#include "SceneViews.h"
#include "Surface.h"
#include "TestSupport.h"
#include "ThreeDSScenes.h"
#include "ThreeDSWriter.h"
#include "Triangle.h"

using namespace _3dsChunk;

// Meshes of 3D Studio files in a scene on the shared window: their points, faces, materials and
// placement, and the frames the scene draws of them through the file's camera.
namespace {
const float FPS = 24.0f;  // the keyframer controller's frame rate

struct MeshParts {
    std::string vertices;      // the vertex list
    std::string faceChunks;    // sub-chunks of the face list
    std::string beforeFaces;   // chunks between the vertex and face lists (mapping, matrix)
};

// A square of side 2 in the file's xz plane around (cx, 0, cz), which the engine's camera sees
// face on: two faces, corners 0 1 2 and 0 2 3.
std::string squareVertices(float cx = 0.0f, float cz = 0.0f)
{
    ThreeDSWriter w;
    w.chunk(VERTEX_LIST).u16(4);
    w.vec(cx - 1, 0, cz - 1).vec(cx + 1, 0, cz - 1).vec(cx + 1, 0, cz + 1).vec(cx - 1, 0, cz + 1);
    w.end();
    return w.bytes();
}

std::string squareFaces(const std::string& subChunks = "")
{
    ThreeDSWriter w;
    w.chunk(FACE_LIST).u16(2).u16(0).u16(1).u16(2).u16(7).u16(0).u16(2).u16(3).u16(7).raw(subChunks).end();
    return w.bytes();
}

std::string meshObject(const std::string& name, const std::string& body)
{
    ThreeDSWriter w;
    w.chunk(OBJECT_BLOCK).str(name).chunk(TRI_MESH).raw(body).end().end();
    return w.bytes();
}

std::string faceMaterial(const std::string& name, std::initializer_list<uint16_t> faces)
{
    ThreeDSWriter w;
    w.chunk(FACE_MATERIAL).str(name).u16(static_cast<uint16_t>(faces.size()));
    for (uint16_t face : faces)
        w.u16(face);
    w.end();
    return w.bytes();
}

std::string material(const std::string& name, const std::string& body)
{
    ThreeDSWriter w;
    w.chunk(MATERIAL).chunk(MATERIAL_NAME).str(name).end().raw(body).end();
    return w.bytes();
}

std::string textureMap(const std::string& file)
{
    ThreeDSWriter w;
    w.chunk(TEXTURE_MAP).chunk(MAP_FILENAME).str(file).end().end();
    return w.bytes();
}

std::string mappingCoordinates(const std::vector<std::pair<float, float>>& uvs, int16_t count)
{
    ThreeDSWriter w;
    w.chunk(MAPPING_COORDINATES).s16(count);
    for (const auto& uv : uvs)
        w.f32(uv.first).f32(uv.second);
    w.end();
    return w.bytes();
}

// The mesh matrix: the object's axes as rows, then its origin, all in the file's frame.
std::string meshMatrix(const float axes[9], float tx, float ty, float tz)
{
    ThreeDSWriter w;
    w.chunk(MESH_MATRIX);
    for (int i = 0; i < 9; ++i)
        w.f32(axes[i]);
    w.vec(tx, ty, tz).end();
    return w.bytes();
}

const float IDENTITY_AXES[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

// A camera ten units in front of the file's xz plane, looking at its origin: the engine's camera
// at (0, 0, 10) looking down -z.
std::string cameraObject()
{
    ThreeDSWriter w;
    w.chunk(OBJECT_BLOCK).str("Cam").chunk(CAMERA).vec(0, -10, 0).vec(0, 0, 0).f32(0).f32(35).end().end();
    return w.bytes();
}

class ThreeDSLoaderMeshTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath("");
        drainGLErrors();
        environment = std::make_unique<Environment>();
        environment->setName("stage");
    }
    void TearDown() override
    {
        leaveLitScene();
        TempDirTest::TearDown();
    }

    std::string load(const std::string& bytes)
    {
        writeFile("scene.3ds", bytes);
        try {
            _3dsLoader loader;
            loader.load("scene.3ds", environment.get());
        } catch (const _3dsLoaderException& e) {
            return e.getMessage();
        }
        return "";
    }

    KeyframedMesh* mesh(const std::string& name) { return environment->getKeyframedMeshes().find(name); }

    // As the controller renders the scene, through the file's camera.
    void frame(double time)
    {
        environment->getCameraController().setCamera("Cam");
        environment->setViewState();
        environment->render(time);
    }

    std::unique_ptr<Environment> environment;
};

void expectNear(const Vector& actual, const Vector& expected, const std::string& what)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5f) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-5f) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-5f) << what;
}

bool drawnAt(int x, int y)
{
    return !nearColour(readPixel(x, y), 0, 0, 0, 2);
}
}

TEST_F(ThreeDSLoaderMeshTest, PointsAndFacesMakeTheMeshInTheEnginesAxes)
{
    ASSERT_EQ(load(inMain(editor(meshObject("Square", squareVertices() + squareFaces())))), "");
    ASSERT_EQ(environment->getKeyframedMeshes().size(), 1);
    KeyframedMesh* square = mesh("Square");
    EXPECT_EQ(square->getName(), "Square");
    ASSERT_EQ(square->getPoints().size(), 4u);
    expectNear(square->getPointVector(0), Vector(-1, -1, 0), "point 0");
    expectNear(square->getPointVector(2), Vector(1, 1, 0), "point 2");
    ASSERT_EQ(square->getTriangleCount(), 2);
    // Started at the third corner, in the same winding; numbered by the face's place in the list.
    EXPECT_EQ(square->getTriangle(0)->getPoints(), (Triangle::PointIndices{2, 0, 1}));
    EXPECT_EQ(square->getTriangle(1)->getPoints(), (Triangle::PointIndices{3, 0, 2}));
    EXPECT_EQ(square->getTriangle(0)->getPolygonIndex(), 0);
    EXPECT_EQ(square->getTriangle(1)->getPolygonIndex(), 1);
    EXPECT_EQ(square->getKeyframer(), nullptr);
    // Faces without a material chunk draw with a default surface of the mesh's own.
    EXPECT_EQ(square->getTriangle(0)->getSurfaceName(), "");
    EXPECT_EQ(square->getSurfaces().size(), 1);
    EXPECT_TRUE(square->getSurfaces().exists(""));
}

// The default surface comes exactly when a face is left without a name, however often the
// material chunks name the others.
TEST_F(ThreeDSLoaderMeshTest, TheDefaultSurfaceComesWhenAFaceIsLeftUnnamed)
{
    struct Case {
        const char* what;
        std::string materials;
        bool defaultSurface;
    } cases[] = {
        {"one face of two named", faceMaterial("Red", {0}), true},
        {"both named by one chunk", faceMaterial("Red", {0, 1}), false},
        {"one face named twice, the other never", faceMaterial("Red", {1}) + faceMaterial("Blue", {1}), true},
        {"both named, one of them again", faceMaterial("Red", {0, 1}) + faceMaterial("Blue", {0}), false},
    };
    for (const Case& c : cases) {
        environment.reset(new Environment());
        ASSERT_EQ(load(inMain(editor(material("Red", "") + material("Blue", "") +
                                     meshObject("Square", squareVertices() + squareFaces(c.materials))))),
                  "")
            << c.what;
        EXPECT_EQ(mesh("Square")->getSurfaces().exists(""), c.defaultSurface) << c.what;
    }
}

TEST_F(ThreeDSLoaderMeshTest, FaceMaterialsNameTheFacesAndCopyTheSurfaceIntoTheMesh)
{
    LogCapture log;
    ASSERT_EQ(load(inMain(editor(material("Red", "") + material("Blue", "") +
                                 meshObject("Square", squareVertices() +
                                                          squareFaces(faceMaterial("Red", {0, 1}) +
                                                                      faceMaterial("Missing", {0}) +
                                                                      faceMaterial("Blue", {1})))))),
              "");
    KeyframedMesh* square = mesh("Square");
    EXPECT_EQ(square->getTriangle(0)->getSurfaceName(), "Red") << "an unknown material leaves the face as it was";
    EXPECT_EQ(square->getTriangle(1)->getSurfaceName(), "Blue");
    Factory<Surface>& own = square->getSurfaces();
    ASSERT_EQ(own.size(), 2);
    EXPECT_NE(own.find("Red"), environment->getSurfaces().find("Red")) << "a copy, not the scene's surface";
    EXPECT_EQ(own.find("Red")->getName(), "Red");
    EXPECT_EQ(log.errors(), 1);
    EXPECT_TRUE(log.contains("[error] 3dsloader::readFaceMaterial() - Unable to find Surface/Material \"Missing\" "
                             "from the environment library. KelvoEngineException::::Factory<Surface>Exception::find() "
                             "- Unable to find component \"Missing\".\n"))
        << log.text();
}

TEST_F(ThreeDSLoaderMeshTest, SmoothingGroupsGoToTheFacesInOrder)
{
    ThreeDSWriter smoothings;
    smoothings.chunk(SMOOTHINGS).u32(1).u32(0xFFFFFFFFu).end();
    ASSERT_EQ(load(inMain(editor(meshObject("Square", squareVertices() + squareFaces(smoothings.bytes()))))), "");
    EXPECT_EQ(mesh("Square")->getTriangle(0)->getSmoothingGroup(), 1);
    EXPECT_EQ(mesh("Square")->getTriangle(1)->getSmoothingGroup(), -1);
}

TEST_F(ThreeDSLoaderMeshTest, MappingCoordinatesAreClampedToTheTexture)
{
    const float nan = std::nanf("");
    ASSERT_EQ(load(inMain(editor(meshObject(
                  "Square", squareVertices() +
                                mappingCoordinates({{1.5f, -0.25f}, {0.25f, 0.75f}, {nan, 2.0f}, {0.0f, 1.0f}}, 4) +
                                squareFaces())))),
              "");
    KeyframedMesh* square = mesh("Square");
    square->initializeTextureCoordinates();
    const TextureCoordinateMap map = square->getTextureCoordinateMap();
    const TextureCoordinate first = map.getTriangleTextureCoordinates(0);
    struct Case {
        int point;
        float u, v;
    } cases[] = {{0, 1.0f, 0.0f}, {1, 0.25f, 0.75f}, {2, 0.0f, 1.0f}};
    for (const Case& c : cases) {
        EXPECT_EQ(first.getCoordinate(c.point).u, c.u) << "point " << c.point;
        EXPECT_EQ(first.getCoordinate(c.point).v, c.v) << "point " << c.point;
    }
}

TEST_F(ThreeDSLoaderMeshTest, ANegativeMappingCountReadsNoCoordinates)
{
    ASSERT_EQ(load(inMain(editor(meshObject("Square", squareVertices() + mappingCoordinates({}, -3) + squareFaces())))),
              "");
    KeyframedMesh* square = mesh("Square");
    LogCapture quiet;
    square->initializeTextureCoordinates();
    EXPECT_EQ(square->getTextureCoordinateMap().count(), 0);
}

TEST_F(ThreeDSLoaderMeshTest, TheMeshMatrixMovesThePointsIntoTheMeshsOwnFrame)
{
    // The object's X along the file's y, its Y along the file's -x, its origin at (2, 0, 0).
    const float turned[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};
    ThreeDSWriter point;
    point.chunk(VERTEX_LIST).u16(1).vec(3, 0, 1).end();
    ASSERT_EQ(load(inMain(editor(meshObject("Turned", point.bytes() + meshMatrix(turned, 2, 0, 0))))), "");
    expectNear(mesh("Turned")->getPointVector(0), Vector(0, 1, 1), "world (3, 1, 0) in the mesh's frame");
}

TEST_F(ThreeDSLoaderMeshTest, AMeshWithoutKeyframerIsDrawnWhereItsMatrixPlacesIt)
{
    // Points around the origin of the world, the mesh's origin two units to the right: drawn at the
    // world's origin only when the matrix moves them back.
    ASSERT_EQ(load(inMain(editor(cameraObject() +
                                 meshObject("Square", squareVertices() + meshMatrix(IDENTITY_AXES, 2, 0, 0) +
                                                          squareFaces())))),
              "");
    expectNear(mesh("Square")->getPointVector(0), Vector(-3, -1, 0), "local point 0");
    frame(0.0);
    EXPECT_TRUE(drawnAt(320, 240)) << describe(readPixel(320, 240));
    EXPECT_FALSE(drawnAt(100, 240)) << describe(readPixel(100, 240));
}

TEST_F(ThreeDSLoaderMeshTest, AnObjectNodeMovesItsMeshOverTime)
{
    const std::string animation = keyframerData(
        frames(0, 10) + chunkOf(OBJECT_TRACK, nodeId(0) + nodeName("Square") +
                                                  positionKeys({{0, 0, {}, 0, 0, 0}, {10, 0, {}, 3, 0, 0}})));
    ASSERT_EQ(load(inMain(editor(cameraObject() + meshObject("Square", squareVertices() + squareFaces())) + animation)),
              "");
    ASSERT_NE(mesh("Square")->getKeyframer(), nullptr);
    EXPECT_EQ(mesh("Square")->getKeyframer()->getName(), "Square");
    frame(0.0);
    EXPECT_TRUE(drawnAt(320, 240));
    frame(10.0 / FPS);
    EXPECT_FALSE(drawnAt(320, 240)) << "moved three units to the right";
    EXPECT_TRUE(drawnAt(500, 240));
}

TEST_F(ThreeDSLoaderMeshTest, ALitMaterialShowsItsDiffuseColour)
{
    ASSERT_EQ(load(inMain(editor(material("Red", chunkOf(MATERIAL_DIFFUSE, colourByte(255, 0, 0)) +
                                                     chunkOf(MATERIAL_AMBIENT, colourByte(255, 0, 0))) +
                                 cameraObject() + lightObject("Lamp", 0, -10, 0, colourFloat(1, 1, 1)) +
                                 meshObject("Square", squareVertices() + squareFaces(faceMaterial("Red", {0, 1})))))),
              "");
    frame(0.0);
    const Pixel p = readPixel(320, 240);
    EXPECT_GT(p.r, 100) << describe(p);
    EXPECT_LT(p.g, 30) << describe(p);
    EXPECT_LT(p.b, 30) << describe(p);
}

TEST_F(ThreeDSLoaderMeshTest, WithoutLightsAMaterialShowsItsDiffuseColour)
{
    ASSERT_EQ(load(inMain(editor(material("Red", chunkOf(MATERIAL_DIFFUSE, colourByte(255, 0, 0))) + cameraObject() +
                                 meshObject("Square", squareVertices() + squareFaces(faceMaterial("Red", {0, 1})))))),
              "");
    ASSERT_EQ(environment->getLights().size(), 0);
    frame(0.0);
    EXPECT_TRUE(nearColour(readPixel(320, 240), 255, 0, 0, 2)) << describe(readPixel(320, 240));
}

TEST_F(ThreeDSLoaderMeshTest, ATexturedMaterialShowsItsImage)
{
    writeJpeg(path("grass.jpg"), 16, 16, 3, solidPixels(16, 16, {40, 200, 60}));
    ASSERT_EQ(load(inMain(editor(material("Grass", textureMap("GRASS.TGA")) + cameraObject() +
                                 meshObject("Square", squareVertices() +
                                                          mappingCoordinates({{0, 0}, {1, 0}, {1, 1}, {0, 1}}, 4) +
                                                          squareFaces(faceMaterial("Grass", {0, 1})))))),
              "");
    frame(0.0);
    EXPECT_TRUE(nearColour(readPixel(320, 240), 40, 200, 60, 8)) << describe(readPixel(320, 240));
}

TEST_F(ThreeDSLoaderMeshTest, MalformedMeshChunksEndTheLoad)
{
    ThreeDSWriter badFace;
    badFace.chunk(FACE_LIST).u16(1).u16(0).u16(1).u16(4).u16(0).end();
    ThreeDSWriter manyPoints;
    manyPoints.chunk(VERTEX_LIST).u16(500).vec(0, 0, 0).end();
    ThreeDSWriter shortSmoothings;
    shortSmoothings.chunk(SMOOTHINGS).u32(1).raw("xy").end();
    struct Case {
        const char* name;
        std::string mesh;
        const char* detail;
    } cases[] = {
        {"a face naming a point the mesh lacks", squareVertices() + badFace.bytes(),
         "face 0 of mesh \"Square\" names point 4, which the mesh does not have"},
        {"more points than the chunk holds", manyPoints.bytes(),
         "a vertex list at byte 55 declares 500 points where 12 bytes remain in its chunk"},
        {"a material naming a face the mesh lacks", squareVertices() + squareFaces(faceMaterial("Red", {0, 5})),
         "material \"Red\" names face 5, which mesh \"Square\" does not have"},
        {"smoothing groups for fewer faces than the mesh has", squareVertices() + squareFaces(shortSmoothings.bytes()),
         "smoothing groups at byte 133 for the 2 faces of mesh \"Square\" where 6 bytes remain in their chunk"},
    };
    for (const Case& c : cases) {
        environment = std::make_unique<Environment>();
        EXPECT_EQ(load(inMain(editor(material("Red", "") + meshObject("Square", c.mesh)))),
                  std::string("KelvoEngineException::::3dsLoaderException::read3ds() - Read error. Scene file may be "
                              "corrupted. File \"scene.3ds\": ") +
                      c.detail + ".")
            << c.name;
    }
}

TEST_F(ThreeDSLoaderMeshTest, AMeshNameAlreadyInTheSceneEndsTheLoad)
{
    try {
        load(inMain(editor(meshObject("Square", "") + meshObject("Square", ""))));
        ADD_FAILURE() << "no exception";
    } catch (const ComponentAlreadyExistsException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::Factory<KeyframedMesh>Exception::create() - Unable to "
                                  "create new component. Component \"Square\" already exists in this factory!.");
    }
}
