#ifndef KELVO_PARTICLEEMITTOR_H
#define KELVO_PARTICLEEMITTOR_H

#include <memory>
#include <string>

#include "FactoryObject.h"
#include "Particle.h"
#include "RGBA.h"
#include "RingBuffer.h"
#include "Vector.h"

// Makes particles into a fixed-capacity ring it owns. Called once per frame by its particle
// system: emit() expires spent particles, spawns the due ones and hands the ring on for the
// frame's motion, collision and drawing.
class ParticleEmittor : public FactoryObject {
public:
    ParticleEmittor();
    ~ParticleEmittor() override;
    ParticleEmittor(const ParticleEmittor&) = delete;
    ParticleEmittor& operator=(const ParticleEmittor&) = delete;

    // time in seconds. The ring stays the emitter's; callers may change and remove its particles
    // until the next call.
    virtual RingBuffer<Particle>* emit(double time) = 0;

    // "true" or "false"; any other value is logged and ignored.
    void enableEmitting(const std::string& value);
    bool isEmitting() const { return emitting; }

    // Drops every particle; the new ring holds capacity particles (none for 0 or less).
    void setMaxParticles(int capacity);
    // Seconds between spawns; 0 fills the ring at once. A negative interval counts as 0.
    void setInterval(float seconds);
    void setMass(float value) { mass = value; }
    void setMassRange(float value) { massRange = value; }
    void setSize(float value) { size = value; }
    void setSizeRange(float value) { sizeRange = value; }
    void setDecay(float perSecond) { decay = perSecond; }
    // 1 fades by age, 2 by distance from the reference point, anything else never fades.
    void setLifeMode(int mode) { lifeMode = mode; }
    void setNoRecycle(int flag) { noRecycle = flag; }
    void setMaxDistance(float distance) { maxDistanceSquared = distance * distance; }
    void setColour(float r, float g, float b, float a) { colour.set(r, g, b, a); }

    int getNoRecycle() const { return noRecycle; }
    RGBA getColour() const { return colour; }
    float getInterval() const { return interval; }
    float getNextEmission() const { return nextEmission; }
    float getMaxDistanceSquared() const { return maxDistanceSquared; }
    int getLifeMode() const { return lifeMode; }
    RingBuffer<Particle>* getParticles() const { return particles.get(); }

protected:
    // Life mode 1: energy = 1 - age x decay, stored into the particles when storeEnergy is set;
    // otherwise each particle's own energy less age x decay is only tested.
    void expireByAge(double time, bool storeEnergy);
    // Life mode 2: energy = 1 - squared distance from reference / maxDistanceSquared, stored.
    void expireByDistance(const Vector& reference);
    // The spawning step of emit(): while emitting and able to spawn, makes every due particle with
    // makeParticle.
    void spawnDue(double time);
    // A new particle born at time (seconds) at the emitter's spawn point.
    virtual std::unique_ptr<Particle> makeParticle(double time) = 0;
    // Speed, direction, mass, size, colour and birth of a particle spawned at time; five draws.
    void launch(Particle& particle, double time) const;

    // Whether a particle can be made now; while it cannot, spawning goes on as if switched off.
    virtual bool canSpawn() const { return true; }

    float getSpeed() const { return speed; }
    float getSpeedRange() const { return speedRange; }
    float getAzimuthRange() const { return azimuthRange; }
    float getElevationRange() const { return elevationRange; }
    float getMass() const { return mass; }
    float getMassRange() const { return massRange; }
    float getSizeRange() const { return sizeRange; }

    // A draw of the engine's generator scaled to [0, 1].
    static float uniform();
    // 3.141592687 / 180: degrees to radians, slightly above pi / 180 as the launch angles always were.
    static constexpr double DEGREES_TO_RADIANS = 0.017453292705555557;

private:
    // Removes the particle at index and every older one.
    void removeThroughIndex(int index);

    std::unique_ptr<RingBuffer<Particle>> particles;
    bool emitting;
    float maxDistanceSquared;  // units²
    float decay;               // energy per second of age
    float speed;               // units per second
    float speedRange;          // plus or minus
    float elevation;           // degrees above the x-z plane
    float elevationRange;      // degrees, plus or minus
    float azimuth;             // degrees in the x-z plane, from +x towards +z
    float azimuthRange;        // degrees, plus or minus
    float interval;            // seconds
    float mass;                // least spawn mass
    float massRange;           // spread above the least mass
    float size;                // least spawn size, units
    float sizeRange;           // spread above the least size
    int lifeMode;
    float nextEmission;        // seconds
    int noRecycle;             // set: a full ring stops spawning instead of dropping its oldest
    RGBA colour;
};

#endif
