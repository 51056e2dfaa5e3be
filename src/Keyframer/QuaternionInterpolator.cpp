#include "keyframer/QuaternionInterpolator.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

QuaternionInterpolator::QuaternionInterpolator(float framesPerSecond) : TCBInterpolator<Quaternion>(framesPerSecond)
{
}

void QuaternionInterpolator::addKey(float frame, const Quaternion& value)
{
    addKey(TCBKey<Quaternion>(frame, value));
}

void QuaternionInterpolator::addKey(float frame, const Quaternion& value, float tension, float continuity,
                                    float bias)
{
    addKey(TCBKey<Quaternion>(frame, value, tension, continuity, bias));
}

Quaternion QuaternionInterpolator::interpolate(const Quaternion values[4], float u, float tension, float continuity,
                                               float bias) const
{
    if (frameDebugLogged())
        KELVO_LOG(LogLevel::frame)
                            << "interpolate() - quaternion rotation calc data. u: " << static_cast<double>(u)
                            << "(INSERT CODE HERE) ,  t: " << static_cast<double>(tension)
                            << ", c: " << static_cast<double>(continuity) << ", b: " << static_cast<double>(bias)
                            << logEnd;
    return values[1].slerp(values[2], u);
}
