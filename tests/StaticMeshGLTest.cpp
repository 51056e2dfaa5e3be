#include <gtest/gtest.h>

#include <GL/gl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Environment.h"
#include "GLEnvironment.h"
#include "OGLDynamicObject.h"
#include "SceneViews.h"
#include "StaticMesh.h"
#include "Surface.h"
#include "TestSupport.h"
#include "ViewStateCheck.h"

// Display-list meshes on the shared window, drawn straight in clip coordinates (the -1..1 square is
// the whole window) and read back from the back buffer.
namespace {
class StaticMeshTest : public MeshViewTest {
protected:
    // A green square from (-0.25, -0.25) to (0.25, 0.25) around the mesh's origin.
    void build(StaticMesh& mesh)
    {
        surface = mesh.getSurfaces().store("green", std::make_unique<Surface>(&scene));
        surface->getMaterial().setColor(RGBA(0, 1, 0, 1));
        mesh.addTriangle(Vector(-0.25f, -0.25f, 0), Vector(0.25f, -0.25f, 0), Vector(0.25f, 0.25f, 0));
        mesh.addTriangle(Vector(-0.25f, -0.25f, 0), Vector(0.25f, 0.25f, 0), Vector(-0.25f, 0.25f, 0));
        mesh.setSurfaceName("green");
    }

    static bool greenAt(int x, int y) { return closeColour(readPixel(x, y), {0, 255, 0}, 0); }
    static bool blackAt(int x, int y) { return closeColour(readPixel(x, y), {0, 0, 0}, 0); }

    Surface* surface = nullptr;  // the mesh's
};

// The smallest object drawn anew every frame.
class Dot : public OGLDynamicObject {
public:
    void render(double) override { checkInitialized(); }
};
}

TEST_F(StaticMeshTest, FirstRenderRecordsTheListOnceAndLaterFramesReplayIt)
{
    StaticMesh mesh(&scene);
    build(mesh);
    EXPECT_EQ(mesh.getDisplayList(), 0u);
    LogCapture log;
    mesh.render(0.0);
    EXPECT_TRUE(log.contains("[info] oglobject::render() - Display list not initialized. Initializing..\n"))
        << log.text();
    const unsigned int list = mesh.getDisplayList();
    EXPECT_NE(list, 0u);
    EXPECT_TRUE(glIsList(list));
    EXPECT_TRUE(greenAt(320, 240));

    log.clear();
    clearToBlack();
    mesh.render(1.0);
    EXPECT_EQ(log.text(), "") << "the second frame only replays";
    EXPECT_EQ(mesh.getDisplayList(), list);
    EXPECT_TRUE(greenAt(320, 240));
}

TEST_F(StaticMeshTest, OwnerThatInitializesTheMeshAvoidsTheLine)
{
    StaticMesh mesh(&scene);
    build(mesh);
    mesh.initialize();
    LogCapture log;
    mesh.render(0.0);
    EXPECT_FALSE(log.contains("Display list not initialized")) << log.text();
    EXPECT_TRUE(greenAt(320, 240));
}

TEST_F(StaticMeshTest, ListHoldsLocalGeometryAndTheTransformIsAppliedAroundIt)
{
    StaticMesh mesh(&scene);
    build(mesh);
    mesh.setPosition(Vector(0.5f, 0.5f, 0.0f));
    mesh.render(0.0);
    // Moved to the upper right quarter: centred at window (480, 360).
    EXPECT_TRUE(greenAt(480, 360));
    EXPECT_TRUE(blackAt(320, 240));

    // Moving the mesh needs no new list.
    clearToBlack();
    mesh.setPosition(Vector(-0.5f, -0.5f, 0.0f));
    mesh.render(0.0);
    EXPECT_TRUE(greenAt(160, 120));
    EXPECT_TRUE(blackAt(480, 360));

    // The list alone draws at the origin.
    clearToBlack();
    glCallList(mesh.getDisplayList());
    EXPECT_TRUE(greenAt(320, 240));
    EXPECT_TRUE(blackAt(160, 120));

    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
}

TEST_F(StaticMeshTest, ChangesShowOnlyAfterTheListIsRecordedAgain)
{
    StaticMesh mesh(&scene);
    build(mesh);
    mesh.render(0.0);
    surface->getMaterial().setColor(RGBA(0, 0, 1, 1));
    clearToBlack();
    mesh.render(0.0);
    EXPECT_TRUE(greenAt(320, 240)) << "still the recorded colour";
    mesh.initialize();
    clearToBlack();
    mesh.render(0.0);
    EXPECT_TRUE(closeColour(readPixel(320, 240), {0, 0, 255}, 0));
}

TEST_F(StaticMeshTest, GeometryOrSurfaceChangedAfterRecordingIsRecordedAgainOnTheNextRender)
{
    // Each change, made after the first frame, shows on the second; the first frame is the green
    // square around the middle.
    struct Case {
        const char* what;
        std::function<void(StaticMesh&)> change;
        int x, y;  // a window pixel that changes
        Pixel before, after;
    } cases[] = {
        {"a triangle added",
         [](StaticMesh& m) {
             const int t = m.addTriangle(Vector(0.5f, 0.5f, 0), Vector(0.9f, 0.5f, 0), Vector(0.9f, 0.9f, 0));
             m.getTriangle(t)->setSurfaceName("green");
         },
         576, 384, {0, 0, 0}, {0, 255, 0}},
        // The square's upper right corner, in its first triangle, pulled out to (0.9, 0.9).
        {"a corner moved", [](StaticMesh& m) { m.setPoint(2, Vector(0.9f, 0.9f, 0)); }, 480, 312, {0, 0, 0},
         {0, 255, 0}},
        {"another surface named",
         [&](StaticMesh& m) {
             m.getSurfaces().store("blue", std::make_unique<Surface>(&scene))->getMaterial().setColor(RGBA(0, 0, 1, 1));
             m.setSurfaceName("blue");
         },
         320, 240, {0, 255, 0}, {0, 0, 255}},
    };
    for (const Case& c : cases) {
        StaticMesh mesh(&scene);
        build(mesh);
        clearToBlack();
        mesh.render(0.0);
        EXPECT_TRUE(closeColour(readPixel(c.x, c.y), c.before, 0)) << c.what << ": " << describe(readPixel(c.x, c.y));
        c.change(mesh);
        clearToBlack();
        mesh.render(0.0);
        EXPECT_TRUE(closeColour(readPixel(c.x, c.y), c.after, 0)) << c.what << ": " << describe(readPixel(c.x, c.y));
        EXPECT_TRUE(glIsList(mesh.getDisplayList())) << c.what;
    }
}

TEST_F(StaticMeshTest, FailedRecordingLeavesNoListAndTheTransformSwitchedOn)
{
    StaticMesh mesh(&scene);
    mesh.setName("broken");
    build(mesh);
    mesh.getTriangle(1)->setSurfaceName("none");
    try {
        mesh.initialize();
        FAIL() << "a triangle names no surface";
    } catch (OGLObjectException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::OGLObjectException::initialize() - Failed to compile a "
                                  "display list. RenderPrimitives error:KelvoEngineException::::MeshException::render("
                                  "\"broken\") - Failed to render triangles. KelvoEngineException::::Factory<Surface>"
                                  "Exception::find() - Unable to find component \"none\".");
    }
    EXPECT_EQ(mesh.getDisplayList(), 0u);
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR)) << "the list was closed";

    // Repaired, it records on its next render and is still placed by its transform.
    mesh.getTriangle(1)->setSurfaceName("green");
    mesh.setPosition(Vector(0.5f, 0.5f, 0.0f));
    mesh.render(0.0);
    EXPECT_TRUE(greenAt(480, 360));
    EXPECT_TRUE(blackAt(320, 240));
}

TEST_F(StaticMeshTest, ToStringAddsTheListLine)
{
    StaticMesh mesh(&scene);
    mesh.setName("box");
    build(mesh);
    mesh.initialize();
    EXPECT_EQ(mesh.toString(), "CommonObject::toString() - box\n Mesh::toString() - 2 triangles.\n"
                               "                    1 surfaces.\nOGLObject::toString() - Drawing using display list no " +
                                   std::to_string(mesh.getDisplayList()) + ".");
}

TEST(OGLDynamicObject, RenderOfAnObjectNobodyInitializedIsReportedAsAnError)
{
    Dot dot;
    LogCapture log;
    dot.render(0.0);
    EXPECT_EQ(log.text(), "[error] ogldynamicobject::render() - Not initialized.\n");
    EXPECT_EQ(log.errors(), 1);
    log.clear();
    dot.initialize();
    dot.render(0.0);
    EXPECT_EQ(log.text(), "");
}
