#include "keyframer/TCBFloatInterpolator.h"

#include "keyframer/TCBSpline.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

TCBFloatInterpolator::TCBFloatInterpolator(float framesPerSecond) : TCBInterpolator<float>(framesPerSecond) {}

void TCBFloatInterpolator::addKey(float frame, float value)
{
    addKey(TCBKey<float>(frame, value));
}

void TCBFloatInterpolator::addKey(float frame, float value, float tension, float continuity, float bias)
{
    addKey(TCBKey<float>(frame, value, tension, continuity, bias));
}

float TCBFloatInterpolator::interpolate(const float values[4], float u, float tension, float continuity,
                                        float bias) const
{
    if (frameDebugLogged())
        KELVO_LOG(LogLevel::frame) << "interpolate() calc data. u: "
                            << static_cast<double>(u) << ", k0: " << static_cast<double>(values[0])
                            << ", k1: " << static_cast<double>(values[1]) << ", k2: " << static_cast<double>(values[2])
                            << ", k3: " << static_cast<double>(values[3]) << ",  t: " << static_cast<double>(tension)
                            << ", c: " << static_cast<double>(continuity) << ", b: " << static_cast<double>(bias)
                            << logEnd;
    return tcbSpline(values[0], values[1], values[2], values[3], u, tension, continuity, bias);
}
