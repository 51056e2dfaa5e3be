#ifndef KELVO_SCENEVIEWS_H
#define KELVO_SCENEVIEWS_H

#include "Environment.h"
#include "TestSupport.h"

class Camera;

// The views the GL tests draw in on the shared 640 × 480 window, and the state they leave.

// Unlit flat drawing straight in clip coordinates: identity projection and modelview (the -1..1
// square is the whole window), lighting, depth test and blending off.
void enterClipSpace();

// The same for drawing a scene's meshes and actors: the scene's lighting off too, face culling
// off, texturing on, and the window cleared to black.
void enterMeshView(Environment& scene);
// The same with the box from (x0, y0) to (x1, y1) filling the window instead of the -1..1 square
// (an orthographic projection, z from -100 to 100).
void enterMeshView(Environment& scene, float x0, float y0, float x1, float y1);
// Texturing off again, and no GL error left pending (checked).
void leaveMeshView();

// Fixture: each test draws in the mesh view for a 3D scene of its own (never initialised), after
// the GL errors earlier tests left are drained, and leaves none pending.
class MeshViewTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    Environment scene;
};

// The same in a temporary working folder of its own that is also the resource folder.
class MeshViewFolderTest : public TempDirTest {
protected:
    void SetUp() override;
    void TearDown() override;

    Environment scene;
};

// The window cleared to black.
void clearToBlack();

// The window pixel column and row of a clip-space x and y.
int clipToWindowX(float x);
int clipToWindowY(float y);

// The window pixel column and row of the point (x, y, 0) seen by a camera at (0, 0, 10) looking
// down -z with the 45-degree perspective of a 3D scene.
int eyeToWindowX(double x);
int eyeToWindowY(double y);

// Fixture: each test runs in a temporary working folder of its own that is also the resource
// folder, after the GL errors earlier tests left are drained, with a 3D scene named "space" of a
// grey (#404040) background whose current camera is an HPB camera "eye", standing at the origin
// and looking down -z until a test moves it.
class EyeSceneTest : public TempDirTest {
protected:
    void SetUp() override;

    Camera& eye();  // owned by the scene's camera controller

    Environment scene;
};

// What a lit 3D scene's frame left on switched off again: every light, lighting, depth test and
// texturing; and no GL error left pending (checked).
void leaveLitScene();

#endif
