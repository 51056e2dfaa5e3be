#include "PhysicalPathCreation.h"

PhysicalPathCreation::PhysicalPathCreation()
    : lastSample(0.0f), sampleInterval(SAMPLE_INTERVAL), wind(), gravity(0.0f, -9.8f, 0.0f), lastTime(0.0)
{
}

void PhysicalPathCreation::step(double time, RingBuffer<Particle>* ring)
{
    const double dt = time - lastTime;
    lastTime = time;
    const bool sampling = takeSample(time, lastSample, sampleInterval);

    for (int i = 0; i < ring->size(); ++i) {
        Particle& p = *(*ring)[i];
        if (!p.alive)
            continue;
        if (sampling)
            recordTrail(p);
        p.lastStep = static_cast<float>(dt);
        p.position += p.velocity * p.lastStep;
        p.velocity += gravity * p.lastStep;
        // A massless particle ignores the wind rather than gaining an infinite (or, without wind,
        // a not-a-number) velocity.
        if (p.mass != 0.0f)
            p.velocity += (wind / p.mass) * p.lastStep;
    }
}
