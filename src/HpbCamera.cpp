#include "HpbCamera.h"

#include <GL/gl.h>

#include "Keyframer.h"
#include "Log.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {
// Radians to degrees as the scene files' cameras were authored against: a little short of
// 180/π (57.29577951308232).
const double DEGREES_PER_RADIAN = 57.29577890375322;
}

HpbCamera::HpbCamera() : heading(0.0f), pitch(0.0f), bank(0.0f), keyframer(nullptr)
{
}

HpbCamera::~HpbCamera() = default;

void HpbCamera::setKeyframer(Keyframer* keyframer)
{
    this->keyframer = keyframer;
}

void HpbCamera::render(double time)
{
    if (!initialized) {
        KELVO_LOG(LogLevel::info) << "render() - Not initialized. Initializing.." << logEnd;
        CommonObject::initialize();
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (keyframer != nullptr) {
        const float t = static_cast<float>(time);
        position = keyframer->getPosition(t);
        const Vector hpb = keyframer->getHpb(t);  // radians
        heading = static_cast<float>(hpb.x * DEGREES_PER_RADIAN);
        pitch = static_cast<float>(hpb.y * DEGREES_PER_RADIAN);
        bank = static_cast<float>(hpb.z * DEGREES_PER_RADIAN);
        glRotatef(bank, 0.0f, 0.0f, 1.0f);
        glRotatef(pitch, 1.0f, 0.0f, 0.0f);
        glRotatef(heading, 0.0f, 1.0f, 0.0f);
    }
    glTranslatef(-position.x, -position.y, -position.z);
}
