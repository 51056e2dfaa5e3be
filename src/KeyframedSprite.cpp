#include "KeyframedSprite.h"

namespace {
const float TRACK_FPS = 24.0f;
}

KeyframedSprite::KeyframedSprite()
    : AnimatedSprite(), rotationTrack(TRACK_FPS), positionTrack(TRACK_FPS), alphaTrack(TRACK_FPS),
      scaleTrack(TRACK_FPS)
{
    alphaTrack.setDefaultValue(1.0f);
    scaleTrack.setDefaultValue(Vector(1.0f, 1.0f, 1.0f));
}

void KeyframedSprite::setRotationTrack(const TCBFloatInterpolator& track)
{
    rotationTrack = track;
}

void KeyframedSprite::setPositionTrack(const TCBVectorInterpolator& track)
{
    positionTrack = track;
}

void KeyframedSprite::setAlphaTrack(const TCBFloatInterpolator& track)
{
    alphaTrack = track;
}

void KeyframedSprite::setScaleTrack(const TCBVectorInterpolator& track)
{
    scaleTrack = track;
}

void KeyframedSprite::render(double time)
{
    const float t = static_cast<float>(time);
    setPosition(positionTrack.interpolateValue(t));
    setRotation(rotationTrack.interpolateValue(t));
    setAlpha(alphaTrack.interpolateValue(t));
    setScale(scaleTrack.interpolateValue(t));
    AnimatedSprite::render(time);
}
