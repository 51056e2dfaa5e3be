#include "KeyframedMesh.h"

#include <GL/gl.h>

#include "GLMatrixScope.h"
#include "Keyframer.h"
#include "Log.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

KeyframedMesh::KeyframedMesh(Environment* owner) : StaticMesh(owner), keyframer(nullptr)
{
    // The placement comes from the keyframer or the stored matrix only.
    transformEnabled = false;
}

KeyframedMesh::~KeyframedMesh() = default;

void KeyframedMesh::setMatrix(const Matrix& m)
{
    localMatrix = m;
}

void KeyframedMesh::setKeyframer(Keyframer* keyframer)
{
    this->keyframer = keyframer;
}

void KeyframedMesh::render(double time)
{
    if (!initialized) {
        KELVO_LOG(LogLevel::warning) << "render(\"" << name
                     << "\") - Not initialized. Initalizing.." << logEnd;
        StaticMesh::initialize();
    }
    const Matrix m = keyframer ? keyframer->getMatrix(static_cast<float>(time)) : localMatrix;
    if (Log::getInstance()->getLevel() >= LogLevel::frame)
        KELVO_LOG(LogLevel::frame) << "render(\"" << name
                            << "\") - position x: " << static_cast<double>(m.get(12))
                            << ", y: " << static_cast<double>(m.get(13)) << ", z: " << static_cast<double>(m.get(14))
                            << logEnd;
    glMatrixMode(GL_MODELVIEW);
    const GLMatrixScope matrix;
    m.glMultMatrix();
    StaticMesh::render(0.0);
}

std::string KeyframedMesh::toString() const
{
    return StaticMesh::toString() + " KeyframedMesh object. " + (keyframer ? "Keyframer ok.\n" : "\n");
}
