#ifndef KELVO_PHYSICALPATHCREATION_H
#define KELVO_PHYSICALPATHCREATION_H

#include "Action.inl"
#include "PathCreation.h"
#include "Vector.h"

// Ballistic motion: one Euler step under gravity and wind per call, covering the time since this
// strategy's previous call. A system that steps several emitters with one strategy in a frame
// therefore moves only the first emitter's particles. Answers no action.
class PhysicalPathCreation : public PathCreation, public Action<PhysicalPathCreation> {
public:
    PhysicalPathCreation();

    void step(double time, RingBuffer<Particle>* ring) override;

    // A force: its effect on a particle is divided by the particle's mass.
    void setWind(const Vector& wind) { this->wind = wind; }
    // An acceleration, units per second², the same for every particle.
    void setGravity(const Vector& gravity) { this->gravity = gravity; }

private:
    float lastSample;      // seconds: time of the last trail sample
    float sampleInterval;  // seconds
    Vector wind;
    Vector gravity;
    double lastTime;       // seconds: time of the previous step
};

#endif
