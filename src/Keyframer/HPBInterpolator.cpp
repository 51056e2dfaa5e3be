#include "keyframer/HPBInterpolator.h"

HPBInterpolator::HPBInterpolator(float framesPerSecond) : TCBVectorInterpolator(framesPerSecond) {}

void HPBInterpolator::addKey(float frame, float h, float p, float b)
{
    addKey(frame, Vector(h, p, b));
}

void HPBInterpolator::addKey(float frame, float h, float p, float b, float tension, float continuity, float bias)
{
    addKey(frame, Vector(h, p, b), tension, continuity, bias);
}
