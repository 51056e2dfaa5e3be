#ifndef KELVO_HPBCAMERA_H
#define KELVO_HPBCAMERA_H

#include "Camera.h"

class Keyframer;

// A camera driven by a keyframer's position and heading/pitch/bank track (the XML scene
// loader's cameras). Without a keyframer it only translates by its position.
class HpbCamera : public Camera {
public:
    HpbCamera();
    ~HpbCamera() override;

    // Initialises itself on the first call; time in seconds.
    void render(double time) override;

    // Not owned: keyframers belong to the scene's keyframer controller. Null drops it.
    void setKeyframer(Keyframer* keyframer);

private:
    // Degrees, as applied at the last render.
    float heading;
    float pitch;
    float bank;
    Keyframer* keyframer;  // not owned
};

#endif
