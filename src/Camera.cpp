#include "Camera.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "Log.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

Camera::Camera() : roll(0.0f)
{
}

Camera::~Camera() = default;

void Camera::render(double)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(roll, 0.0f, 0.0f, 1.0f);
    // The orientation's matrix turns the world by the conjugate rotation, the inverse of the
    // camera's own turn, as a view matrix must.
    orientation.glMultMatrix();
    glTranslatef(-position.x, -position.y, -position.z);

    // Per frame: the lines are built only when per-frame debug drawing is logged.
    if (Log::getInstance()->getLevel() >= LogLevel::frame) {
        KELVO_LOG(LogLevel::frame) << "render(\"" << name
                            << "\") - position x: " << position.x << ", y: " << position.y
                            << ", z: " << position.z << logEnd;
        const Vector euler = orientation.toEuler();  // radians
        const double toDegrees = 180.0 * 0.318309882798629;
        KELVO_LOG(LogLevel::frame) << "render(\"" << name
                            << "\") - orientation r: " << euler.x * toDegrees << ", p: " << euler.y * toDegrees
                            << ", y: " << euler.z * toDegrees << logEnd;
    }
}

void Camera::setPerspective(float fovy, float aspect, float zNear, float zFar)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fovy, aspect, zNear, zFar);
}
