#ifndef KELVO_PATHCREATION_H
#define KELVO_PATHCREATION_H

#include "Particle.h"
#include "RingBuffer.h"

// A particle system's motion strategy: moves the particles of one emitter's ring once per frame
// and records their trails.
class PathCreation {
public:
    virtual ~PathCreation() = default;

    // time in seconds; called once per emitter each frame, after the emitter's emit().
    virtual void step(double time, RingBuffer<Particle>* ring) = 0;

protected:
    // Seconds between two trail samples.
    static constexpr float SAMPLE_INTERVAL = 0.01f;

    // True when this step records the trails: more than sampleInterval after lastSample, which
    // then moves to time.
    static bool takeSample(double time, float& lastSample, float sampleInterval)
    {
        if (!(time - lastSample > sampleInterval))
            return false;
        lastSample = static_cast<float>(time);
        return true;
    }

    // Appends the particle's position to its trail; a full trail loses its oldest point.
    static void recordTrail(Particle& particle)
    {
        particle.trail.push(std::unique_ptr<Vector>(new Vector(particle.position)));
    }
};

#endif
