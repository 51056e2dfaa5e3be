#ifndef KELVO_CAMERA_H
#define KELVO_CAMERA_H

#include "CommonObject.h"

// The eye of a 3D scene: loads the modelview matrix the scene is seen with, from a position, an
// orientation and a roll about the viewing axis. The scene's camera controller owns its cameras.
class Camera : public CommonObject {
public:
    Camera();
    ~Camera() override;

    // Replaces the modelview matrix (and leaves GL_MODELVIEW current) once per frame; the plain
    // camera does not use the time.
    void render(double time) override;

    // Loads the perspective projection and leaves GL_PROJECTION as the current matrix mode.
    // fovy in degrees; zNear and zFar are distances in front of the eye.
    static void setPerspective(float fovy, float aspect, float zNear, float zFar);

protected:
    float roll;  // degrees about the viewing axis
};

#endif
