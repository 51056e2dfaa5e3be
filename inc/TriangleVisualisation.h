#ifndef KELVO_TRIANGLEVISUALISATION_H
#define KELVO_TRIANGLEVISUALISATION_H

#include "Action.inl"
#include "ParticleVisualisation.h"

// Draws the triangle each particle carries, placed at the particle: the piece of a model a mesh
// emitter broke off, with its normals, texture coordinates and surface, or a random one made at
// the particle's first draw. A triangle's surface stays the scene's current surface after it is
// drawn. Answers no action.
class TriangleVisualisation : public ParticleVisualisation, public Action<TriangleVisualisation> {
public:
    TriangleVisualisation();

    // Draws nothing: a triangle is only drawn where its particle is.
    void renderAt(Particle* particle, const Vector& position) override;
    void renderParticle(Particle* particle) override;
    void renderAll(RingBuffer<Particle>* ring) override;

    // Gives particle a new triangle with one corner at the particle and two at random directions
    // at the particle's size from it (four draws of the engine's generator); zero normals, no
    // texture coordinates, no surface.
    static void createTriangle(Particle* particle);
};

#endif
