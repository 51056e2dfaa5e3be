#include "TrackCamera.h"

#include <cmath>

#include "Keyframer.h"
#include "Log.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {
// A quarter turn in radians, as the 3D Studio cameras were aimed with.
const double QUARTER_TURN = 1.5707963435;
}

TrackCamera::TrackCamera() : positionKeyframer(nullptr), targetKeyframer(nullptr)
{
}

TrackCamera::~TrackCamera() = default;

void TrackCamera::setPositionKeyframer(Keyframer* keyframer)
{
    positionKeyframer = keyframer;
}

void TrackCamera::setTargetKeyframer(Keyframer* keyframer)
{
    targetKeyframer = keyframer;
}

void TrackCamera::render(double time)
{
    if (!initialized) {
        KELVO_LOG(LogLevel::info) << "render() - Not initialized. Initializing.." << logEnd;
        CommonObject::initialize();
    }
    const float t = static_cast<float>(time);
    if (positionKeyframer != nullptr) {
        position = positionKeyframer->getPosition(t);
        if (targetKeyframer == nullptr)
            orientation = positionKeyframer->getRotation(t);
        roll = positionKeyframer->getRoll(t);
    }
    if (targetKeyframer != nullptr) {
        // Without a position keyframer the camera aims from the position its loader gave it.
        const Vector target = targetKeyframer->getPosition(t);
        const Vector d = target - position;
        const float pitchAngle = static_cast<float>(std::atan2(d.y, std::sqrt(d.z * d.z + d.x * d.x)));  // radians
        const float yawAngle = static_cast<float>(std::atan2(d.z, d.x));                                  // radians
        const Quaternion pitchTurn(pitchAngle, 1.0f, 0.0f, 0.0f);
        // Yaw is measured from +x; the camera's rest direction is -z, a quarter turn away.
        const Quaternion yawTurn(static_cast<float>(-yawAngle - QUARTER_TURN), 0.0f, 1.0f, 0.0f);
        orientation = yawTurn * pitchTurn;
        if (Log::getInstance()->getLevel() >= LogLevel::frame)
            KELVO_LOG(LogLevel::frame) << "render(\"" << name
                                << "\") - target x: " << target.x << ", y: " << target.y << ", z: " << target.z
                                << logEnd;
    }
    Camera::render(time);
}
