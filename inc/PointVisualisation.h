#ifndef KELVO_POINTVISUALISATION_H
#define KELVO_POINTVISUALISATION_H

#include "ParticleVisualisation.h"

// Draws every particle as one point, with the colour, point size and texturing the scene left
// current. Answers no action.
class PointVisualisation : public ParticleVisualisation {
public:
    PointVisualisation();

    void renderAt(Particle* particle, const Vector& position) override;
    void renderParticle(Particle* particle) override;
    // One batch of points, oldest particle first.
    void renderAll(RingBuffer<Particle>* ring) override;
};

#endif
