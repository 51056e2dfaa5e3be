#ifndef KELVO_SPHEREVISUALISATION_H
#define KELVO_SPHEREVISUALISATION_H

#include <memory>

#include "Action.inl"
#include "ParticleVisualisation.h"

class Environment;
class Sphere;
class Surface;

// Draws every particle as a lit sphere whose radius is the particle's size, all in one copper
// coloured, glowing material. The sphere's geometry is recorded once into a display list at its
// first draw. Answers no action.
class SphereVisualisation : public ParticleVisualisation, public Action<SphereVisualisation> {
public:
    // owner: the scene whose lighting switch and current surface the sphere uses; not owned, and it
    // must not be null. Needs a current OpenGL context (the surface asks the driver about texture
    // units).
    explicit SphereVisualisation(Environment* owner);
    ~SphereVisualisation() override;

    void renderAt(Particle* particle, const Vector& position) override;
    void renderParticle(Particle* particle) override;
    void renderAll(RingBuffer<Particle>* ring) override;

private:
    // The unit sphere scaled by radius (scene units) around centre; the modelview matrix is left as
    // it was found.
    void drawSphere(const Vector& centre, float radius);

    std::unique_ptr<Sphere> sphere;    // radius 1 at the origin of the current matrix
};

#endif
