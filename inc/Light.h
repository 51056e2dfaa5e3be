#ifndef KELVO_LIGHT_H
#define KELVO_LIGHT_H

#include <string>

#include "Exception.h"
#include "RGBA.h"
#include "Vector.h"

class Environment;
class Keyframer;

class LightException : public Exception {
public:
    explicit LightException(const std::string& message);
};

// One OpenGL point or spot light of a 3D scene. It takes its OpenGL light number from the scene at
// its first enable and keeps it for the run; every frame the scene enables it after the camera, so
// the position is stored in eye coordinates of that frame's view. Lights live in the scene's
// factory for the whole run.
class Light {
public:
    explicit Light(Environment* owner);  // owner: the scene that hands out light numbers; not owned

    void setName(const std::string& name);
    std::string getName() const;

    // w = 0 makes a directional light; (x, y, z) is also the position used without a keyframer.
    void setPosition(float x, float y, float z, float w);
    void setAmbient(float r, float g, float b, float a);
    void setDiffuse(float r, float g, float b, float a);
    void setSpecular(float r, float g, float b, float a);
    void setSpotDirection(float x, float y, float z);
    void setTarget(float x, float y, float z);
    void setSpotExponent(float exponent);
    void setSpotCutoff(float degrees);  // exactly 180 means not a spot light
    // Neither is owned: keyframers belong to the scene's keyframer controller. Null drops one.
    void setKeyframer(Keyframer* keyframer);
    void setTargetKeyframer(Keyframer* keyframer);

    // Reserves the light number. The scene's EnvironmentException passes through when it has none
    // left; throws LightException for a negative number.
    void initialize();
    // Once per frame (time in playback seconds): initialises on the first call, sends the current
    // parameters and switches the light on. Allocates nothing after the first call.
    void enable(double time);
    void disable();

    bool isInitialized() const { return initialised; }
    int getLightId() const { return lightId; }  // GL_LIGHT0 + n once initialised, else 0
    const float* getPosition() const { return position; }  // x, y, z, w as last sent
    const float* getSpotDirection() const { return spotDirection; }

private:
    std::string name;
    float position[4];     // x, y, z, w as sent to GL_POSITION
    Vector restPosition;   // the position while there is no keyframer
    float target[3];       // spot target point
    RGBA ambient;
    RGBA diffuse;
    RGBA specular;
    float spotDirection[3];
    float spotExponent;
    float spotCutoff;       // degrees
    int lightId;            // OpenGL light enumerator; 0 until initialised
    Keyframer* keyframer;   // not owned; its translation is the position
    Keyframer* targetKeyframer;  // not owned; its translation is the spot target
    bool initialised;
    Environment* owner;     // not owned
};

#endif
