#include <gtest/gtest.h>

#include <GL/gl.h>

#include <memory>
#include <string>

#include "Environment.h"
#include "GLEnvironment.h"
#include "KeyframedMesh.h"
#include "Keyframer.h"
#include "Log.h"
#include "Pixels.h"
#include "SceneViews.h"
#include "Surface.h"
#include "TestSupport.h"

// Keyframed meshes on the shared window, drawn unlit straight in clip coordinates (the -1..1
// square is the whole window): placed by their stored matrix or moved along their keyframer.
namespace {
class KeyframedMeshTest : public MeshViewTest {
protected:
    void SetUp() override
    {
        MeshViewTest::SetUp();
        mesh.reset(new KeyframedMesh(&scene));
        mesh->setName("box");
        // A green square 0.2 wide around the mesh's origin.
        surface = mesh->getSurfaces().store("green", std::make_unique<Surface>(&scene));
        surface->getMaterial().setColor(RGBA(0, 1, 0, 1));
        mesh->addTriangle(Vector(-0.1f, -0.1f, 0), Vector(0.1f, -0.1f, 0), Vector(0.1f, 0.1f, 0));
        mesh->addTriangle(Vector(-0.1f, -0.1f, 0), Vector(0.1f, 0.1f, 0), Vector(-0.1f, 0.1f, 0));
        mesh->setSurfaceName("green");
    }

    // The frame at time: cleared, the mesh drawn; true when the square's centre is at clip (x, y)
    // and nothing is drawn at the window's centre unless that is where it is.
    bool drawnAt(double time, float x, float y)
    {
        clearToBlack();
        mesh->render(time);
        const int wx = clipToWindowX(x), wy = clipToWindowY(y);
        const bool atCentre = wx == 320 && wy == 240;
        return closeColour(readPixel(wx, wy), {0, 255, 0}, 0) &&
               (atCentre || closeColour(readPixel(320, 240), {0, 0, 0}, 0));
    }

    Surface* surface = nullptr;  // the mesh's
    std::unique_ptr<KeyframedMesh> mesh;
};

Matrix translation(float x, float y, float z)
{
    Matrix m;
    m.setTranslation(Vector(x, y, z));
    return m;
}
}

TEST_F(KeyframedMeshTest, WithoutAKeyframerTheStoredMatrixPlacesItAtEveryTime)
{
    EXPECT_TRUE(drawnAt(0.0, 0.0f, 0.0f)) << "the identity draws it where its points are";
    mesh->setMatrix(translation(0.5f, 0.5f, 0.0f));
    EXPECT_TRUE(drawnAt(0.0, 0.5f, 0.5f));
    EXPECT_TRUE(drawnAt(7.5, 0.5f, 0.5f));
    // Its own position is not applied.
    mesh->setPosition(Vector(-0.5f, 0.0f, 0.0f));
    EXPECT_TRUE(drawnAt(1.0, 0.5f, 0.5f));
}

TEST_F(KeyframedMeshTest, KeyframerMovesItAlongItsKeysWhateverTheMatrix)
{
    // 24 frames a second: from x = -0.5 at frame 0 to x = 0.5 at frame 24, one second later.
    Keyframer* keyframer = scene.getKeyframerController().createKeyframer();
    keyframer->addPositionKey(0.0f, Vector(-0.5f, 0.0f, 0.0f), 0.0f, 0.0f, 0.0f);
    keyframer->addPositionKey(24.0f, Vector(0.5f, 0.0f, 0.0f), 0.0f, 0.0f, 0.0f);
    keyframer->setPositionRange(0.0f, 24.0f);
    mesh->setMatrix(translation(0.0f, 0.5f, 0.0f));
    mesh->setKeyframer(keyframer);
    EXPECT_TRUE(drawnAt(0.0, -0.5f, 0.0f));
    EXPECT_TRUE(drawnAt(1.0, 0.5f, 0.0f));
    const Vector halfway = keyframer->getPosition(0.5f);
    EXPECT_GT(halfway.x, -0.4f);
    EXPECT_LT(halfway.x, 0.4f);
    EXPECT_TRUE(drawnAt(0.5, halfway.x, 0.0f));

    mesh->setKeyframer(nullptr);
    EXPECT_TRUE(drawnAt(1.0, 0.0f, 0.5f)) << "back on the stored matrix";
}

TEST_F(KeyframedMeshTest, FirstRenderPreparesItOnceWithOneWarning)
{
    LogCapture log;
    mesh->render(0.0);
    EXPECT_EQ(log.text(), "[warning] keyframedmesh::render(\"box\") - Not initialized. Initalizing..\n"
                          "[warning] mesh::initializeTextureCoordinates(\"box\") - Mesh has no texture coordinates! "
                          "Texturing will be disabled.\n");
    EXPECT_NE(mesh->getDisplayList(), 0u);
    log.clear();
    mesh->render(0.1);
    EXPECT_EQ(log.text(), "");
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
}

TEST_F(KeyframedMeshTest, FrameDebugLineGivesThePlacementsTranslation)
{
    mesh->render(0.0);
    mesh->setMatrix(translation(0.5f, -0.25f, 2.0f));
    LogCapture log;
    Log::getInstance()->setLevel(LogLevel::frame);
    mesh->render(0.0);
    EXPECT_EQ(log.text(), "[debug_fdraw] keyframedmesh::render(\"box\") - position x: 0.5, y: -0.25, z: 2\n");
}

TEST_F(KeyframedMeshTest, ToStringTellsWhetherItHasAKeyframer)
{
    mesh->initialize();
    const std::string base = "CommonObject::toString() - box\n Mesh::toString() - 2 triangles.\n"
                             "                    1 surfaces.\nOGLObject::toString() - Drawing using display list no " +
                             std::to_string(mesh->getDisplayList()) + ". KeyframedMesh object. ";
    EXPECT_EQ(mesh->toString(), base + "\n");
    mesh->setKeyframer(scene.getKeyframerController().createKeyframer());
    EXPECT_EQ(mesh->toString(), base + "Keyframer ok.\n");
}
