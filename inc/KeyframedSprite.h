#ifndef KELVO_KEYFRAMEDSPRITE_H
#define KELVO_KEYFRAMEDSPRITE_H

#include "AnimatedSprite.h"
#include "keyframer/TCBFloatInterpolator.h"
#include "keyframer/TCBVectorInterpolator.h"

// An AnimatedSprite whose position, rotation, alpha and scale follow four TCB tracks, evaluated at
// the time passed to render. Without keys a track gives its default: position (0, 0, 0),
// rotation 0, alpha 1, scale (1, 1, 1).
class KeyframedSprite : public AnimatedSprite {
public:
    KeyframedSprite();

    // Each replaces the member track with a copy of the given one.
    void setRotationTrack(const TCBFloatInterpolator& track);  // degrees
    void setPositionTrack(const TCBVectorInterpolator& track);
    void setAlphaTrack(const TCBFloatInterpolator& track);
    void setScaleTrack(const TCBVectorInterpolator& track);

    // Sets the four values from the tracks at time, then draws as an AnimatedSprite.
    void render(double time);

private:
    TCBFloatInterpolator rotationTrack;
    TCBVectorInterpolator positionTrack;
    TCBFloatInterpolator alphaTrack;
    TCBVectorInterpolator scaleTrack;
};

#endif
