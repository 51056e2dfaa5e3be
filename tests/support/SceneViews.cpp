#include "SceneViews.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

#include "Camera.h"
#include "GLEnvironment.h"
#include "ResourceLoader.h"

namespace {
// Pixels per scene unit in the plane z = 0 under the 45-degree projection at distance 10.
const double PIXELS_PER_UNIT = 240.0 / (10.0 * std::tan(22.5 * 3.14159265358979 / 180.0));

void unlitMeshState(Environment& scene)
{
    scene.setLightingEnabled(false);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    clearToBlack();
}

void expectNoGLError()
{
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}
}

void enterClipSpace()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
}

void enterMeshView(Environment& scene)
{
    enterClipSpace();
    unlitMeshState(scene);
}

void enterMeshView(Environment& scene, float x0, float y0, float x1, float y1)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(x0, x1, y0, y1, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    unlitMeshState(scene);
}

void leaveMeshView()
{
    glDisable(GL_TEXTURE_2D);
    expectNoGLError();
}

void MeshViewTest::SetUp()
{
    drainGLErrors();
    enterMeshView(scene);
}

void MeshViewTest::TearDown()
{
    leaveMeshView();
}

void MeshViewFolderTest::SetUp()
{
    TempDirTest::SetUp();
    ResourceLoader::setResourcePath(temp->path() + "/");
    drainGLErrors();
    enterMeshView(scene);
}

void MeshViewFolderTest::TearDown()
{
    leaveMeshView();
    ResourceLoader::setResourcePath("");
    TempDirTest::TearDown();
}

void clearToBlack()
{
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

int clipToWindowX(float x)
{
    return static_cast<int>((x + 1.0f) * 320.0f);
}

int clipToWindowY(float y)
{
    return static_cast<int>((y + 1.0f) * 240.0f);
}

int eyeToWindowX(double x)
{
    return static_cast<int>(std::lround(320.0 + x * PIXELS_PER_UNIT));
}

int eyeToWindowY(double y)
{
    return static_cast<int>(std::lround(240.0 + y * PIXELS_PER_UNIT));
}

void EyeSceneTest::SetUp()
{
    TempDirTest::SetUp();
    ResourceLoader::setResourcePath("");
    drainGLErrors();
    scene.setName("space");
    scene.stringAction("cameraController.createHpbCamera", "eye");
    scene.stringAction("cameraController.setCamera", "eye");
    scene.stringAction("setBackgroundColor", "#404040");
}

Camera& EyeSceneTest::eye()
{
    return *scene.getCameraController().find("eye");
}

void leaveLitScene()
{
    GLint maxLights = 0;
    glGetIntegerv(GL_MAX_LIGHTS, &maxLights);
    for (GLint i = 0; i < maxLights; ++i)
        glDisable(GL_LIGHT0 + i);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    expectNoGLError();
}
