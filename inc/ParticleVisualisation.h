#ifndef KELVO_PARTICLEVISUALISATION_H
#define KELVO_PARTICLEVISUALISATION_H

#include "FactoryObject.h"
#include "Particle.h"
#include "RingBuffer.h"
#include "Vector.h"

// Draws the particles of a ring. Visualisations are kept by name in the particle manager and
// shared: every particle system draws each frame through each visualisation in its list. They draw
// in world coordinates with the scene's camera already in place.
class ParticleVisualisation : public FactoryObject {
public:
    // Announces itself on standard output.
    ParticleVisualisation();
    ~ParticleVisualisation() override;
    ParticleVisualisation(const ParticleVisualisation&) = delete;
    ParticleVisualisation& operator=(const ParticleVisualisation&) = delete;

    // particle at position (world coordinates) instead of where it is now.
    virtual void renderAt(Particle* particle, const Vector& position) = 0;
    virtual void renderParticle(Particle* particle) = 0;
    // Once per frame per emitter, after the ring's particles have moved and collided.
    virtual void renderAll(RingBuffer<Particle>* ring) = 0;
};

#endif
