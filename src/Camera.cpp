#include "Camera.h"

#include <GL/gl.h>
#include <GL/glu.h>

void Camera::setPerspective(float fovy, float aspect, float zNear, float zFar)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fovy, aspect, zNear, zFar);
}
