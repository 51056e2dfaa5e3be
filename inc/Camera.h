#ifndef KELVO_CAMERA_H
#define KELVO_CAMERA_H

class Camera {
public:
    // Loads the perspective projection and leaves GL_PROJECTION as the current matrix mode.
    // fovy in degrees; zNear and zFar are distances in front of the eye.
    static void setPerspective(float fovy, float aspect, float zNear, float zFar);
};

#endif
