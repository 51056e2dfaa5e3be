#include "Light.h"

#include <GL/gl.h>

#include "Environment.h"
#include "Keyframer.h"
#include "Log.h"
#include "Matrix.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {
const float NO_SPOT_CUTOFF = 180.0f;  // degrees: OpenGL's value for a light that is not a spot light
}

LightException::LightException(const std::string& message)
{
    addSource("LightException");
    appendMessage(message);
}

Light::Light(Environment* owner)
    : position{0.0f, 0.0f, 0.0f, 1.0f}, target{0.0f, 0.0f, 0.0f}, ambient(0.0f, 0.0f, 0.0f, 1.0f),
      diffuse(1.0f, 1.0f, 1.0f, 1.0f), specular(1.0f, 1.0f, 1.0f, 1.0f), spotDirection{0.0f, 0.0f, -1.0f},
      spotExponent(0.0f), spotCutoff(NO_SPOT_CUTOFF), lightId(0), keyframer(nullptr), targetKeyframer(nullptr),
      initialised(false), owner(owner)
{
}

void Light::setName(const std::string& name)
{
    this->name = name;
}

std::string Light::getName() const
{
    return name;
}

void Light::setPosition(float x, float y, float z, float w)
{
    position[0] = x;
    position[1] = y;
    position[2] = z;
    position[3] = w;
    restPosition.set(x, y, z);
}

void Light::setAmbient(float r, float g, float b, float a)
{
    ambient.set(r, g, b, a);
}

void Light::setDiffuse(float r, float g, float b, float a)
{
    diffuse.set(r, g, b, a);
}

void Light::setSpecular(float r, float g, float b, float a)
{
    specular.set(r, g, b, a);
}

void Light::setSpotDirection(float x, float y, float z)
{
    spotDirection[0] = x;
    spotDirection[1] = y;
    spotDirection[2] = z;
}

void Light::setTarget(float x, float y, float z)
{
    target[0] = x;
    target[1] = y;
    target[2] = z;
}

void Light::setSpotExponent(float exponent)
{
    spotExponent = exponent;
}

void Light::setSpotCutoff(float degrees)
{
    spotCutoff = degrees;
}

void Light::setKeyframer(Keyframer* keyframer)
{
    this->keyframer = keyframer;
}

void Light::setTargetKeyframer(Keyframer* keyframer)
{
    targetKeyframer = keyframer;
}

void Light::initialize()
{
    lightId = owner->reserveLightIndex();
    if (lightId < 0) {
        const char* message = "initialize() - Unable to reserve light index number.";
        KELVO_LOG(LogLevel::error) << message << logEnd;
        throw LightException(message);
    }
    initialised = true;
}

void Light::enable(double time)
{
    if (!initialised) {
        KELVO_LOG(LogLevel::info) << "enable() - Not initialized. Initializing.." << logEnd;
        initialize();
    }
    const float t = static_cast<float>(time);
    const GLenum light = static_cast<GLenum>(lightId);

    // w stays as set: a keyframed light is still a point or a directional light as it was made.
    if (keyframer) {
        const Matrix m = keyframer->getMatrix(t);
        position[0] = m.get(12);
        position[1] = m.get(13);
        position[2] = m.get(14);
    } else {
        position[0] = restPosition.x;
        position[1] = restPosition.y;
        position[2] = restPosition.z;
    }
    glLightfv(light, GL_POSITION, position);
    glLightfv(light, GL_AMBIENT, ambient.data());
    glLightfv(light, GL_DIFFUSE, diffuse.data());
    glLightfv(light, GL_SPECULAR, specular.data());
    glLightf(light, GL_SPOT_CUTOFF, spotCutoff);

    if (spotCutoff != NO_SPOT_CUTOFF) {
        if (targetKeyframer) {
            const Matrix m = targetKeyframer->getMatrix(t);
            target[0] = m.get(12);
            target[1] = m.get(13);
            target[2] = m.get(14);
            // Not normalised: OpenGL normalises the spot direction itself.
            spotDirection[0] = target[0] - position[0];
            spotDirection[1] = target[1] - position[1];
            spotDirection[2] = target[2] - position[2];
        }
        glLightfv(light, GL_SPOT_DIRECTION, spotDirection);
        glLightf(light, GL_SPOT_EXPONENT, spotExponent);
    }
    glEnable(light);
}

void Light::disable()
{
    // A light that never took a number has nothing to switch off (0 names no OpenGL light).
    if (initialised)
        glDisable(static_cast<GLenum>(lightId));
}
