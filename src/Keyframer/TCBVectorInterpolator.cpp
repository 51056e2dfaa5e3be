#include "keyframer/TCBVectorInterpolator.h"

#include "keyframer/TCBSpline.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

TCBVectorInterpolator::TCBVectorInterpolator(float framesPerSecond) : TCBInterpolator<Vector>(framesPerSecond) {}

void TCBVectorInterpolator::addKey(float frame, const Vector& value)
{
    addKey(TCBKey<Vector>(frame, value));
}

void TCBVectorInterpolator::addKey(float frame, const Vector& value, float tension, float continuity, float bias)
{
    addKey(TCBKey<Vector>(frame, value, tension, continuity, bias));
}

Vector TCBVectorInterpolator::interpolate(const Vector values[4], float u, float tension, float continuity,
                                          float bias) const
{
    if (frameDebugLogged())
        KELVO_LOG(LogLevel::frame) << "interpolate() - vector calc data. u: "
                            << static_cast<double>(u) << ",  t: " << static_cast<double>(tension)
                            << ", c: " << static_cast<double>(continuity) << ", b: " << static_cast<double>(bias)
                            << logEnd;
    return Vector(tcbSpline(values[0].x, values[1].x, values[2].x, values[3].x, u, tension, continuity, bias),
                  tcbSpline(values[0].y, values[1].y, values[2].y, values[3].y, u, tension, continuity, bias),
                  tcbSpline(values[0].z, values[1].z, values[2].z, values[3].z, u, tension, continuity, bias));
}
