#ifndef KELVO_TRACKCAMERA_H
#define KELVO_TRACKCAMERA_H

#include "Camera.h"

class Keyframer;

// A camera driven by a keyframer's position, rotation and roll tracks and, with a target
// keyframer, turned to look at the target's position (the 3D Studio loader's cameras).
class TrackCamera : public Camera {
public:
    TrackCamera();
    ~TrackCamera() override;

    // Initialises itself on the first call; time in seconds.
    void render(double time) override;

    // Neither keyframer is owned: both belong to the scene's keyframer controller. Null drops one.
    void setPositionKeyframer(Keyframer* keyframer);
    void setTargetKeyframer(Keyframer* keyframer);

private:
    Keyframer* positionKeyframer;  // not owned; drives position, rotation and roll
    Keyframer* targetKeyframer;    // not owned; its position is the point looked at
};

#endif
