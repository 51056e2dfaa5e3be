#include "KeyframedActor.h"

#include <GL/gl.h>

#include "Actor.h"
#include "GLMatrixScope.h"
#include "Keyframer.h"
#include "Log.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

KeyframedActor::KeyframedActor() : actor(nullptr), keyframer(nullptr)
{
    // The placement comes from the keyframer only.
    transformEnabled = false;
}

KeyframedActor::~KeyframedActor() = default;

void KeyframedActor::setActor(Actor* actor)
{
    this->actor = actor;
}

void KeyframedActor::setKeyframer(Keyframer* keyframer)
{
    this->keyframer = keyframer;
}

void KeyframedActor::setBoneKeyframer(const std::string& bone, Keyframer* keyframer)
{
    boneKeyframers[bone] = keyframer;
}

void KeyframedActor::render(double time)
{
    const float t = static_cast<float>(time);
    glMatrixMode(GL_MODELVIEW);
    const GLMatrixScope matrix;
    Matrix m;
    if (keyframer) {
        m = keyframer->getMatrix(t);
        m.glMultMatrix();
    }
    if (Log::getInstance()->getLevel() >= LogLevel::frame)
        KELVO_LOG(LogLevel::frame) << "render(\"" << name
                            << "\") - position x: " << static_cast<double>(m.get(12))
                            << ", y: " << static_cast<double>(m.get(13)) << ", z: " << static_cast<double>(m.get(14))
                            << logEnd;
    if (actor) {
        // Only the bones' orientations change; their positions stay the rest positions.
        for (const auto& entry : boneKeyframers) {
            if (!entry.second)
                continue;
            Bone* bone = actor->findBone(entry.first);
            if (!bone)
                continue;
            const Vector hpb = entry.second->getHpb(t);
            bone->setOrientation(Quaternion::fromHpb(hpb.x, hpb.y, hpb.z));
        }
        actor->render(time);
    }
}
