#include "SphereVisualisation.h"

#include <GL/gl.h>

#include "ComponentExceptions.h"
#include "GLMatrixScope.h"
#include "Sphere.h"
#include "Surface.h"

namespace {
const char* const SURFACE_NAME = "ParticleSurface";
const unsigned STEPS = 16;  // latitude and longitude steps of the sphere
}

SphereVisualisation::SphereVisualisation(Environment* owner) : sphere(new Sphere(owner, 1.0f, STEPS, STEPS))
{
    // The render operations place and scale the sphere themselves.
    sphere->setTransformEnabled(false);

    Factory<Surface>& library = sphere->getSurfaces();
    if (library.exists(SURFACE_NAME))
        throw ComponentAlreadyExistsException(library.getFactoryName(),
                                              std::string("create() - Unable to create new component. Component \"") +
                                                  SURFACE_NAME + "\" already exists in this factory!.");
    Surface* surface = library.store(SURFACE_NAME, std::make_unique<Surface>(owner));
    surface->setName(SURFACE_NAME);

    Material& material = surface->getMaterial();
    material.setColor(RGBA(0.8f, 0.5f, 0.4f, 1.0f));
    material.setAmbient(RGBA(0.8f, 0.5f, 0.4f, 1.0f));
    material.setDiffuse(RGBA(0.9f, 0.7f, 0.4f, 1.0f));
    material.setSpecular(RGBA(0.95f, 0.95f, 0.85f, 1.0f));
    material.setEmission(RGBA(0.8f, 0.5f, 0.4f, 1.0f));
    material.setShininess(0.4f);  // 51.2 of OpenGL's 128
    material.setSpecularLevel(0.6f);
    sphere->setSurfaceName(SURFACE_NAME);
}

SphereVisualisation::~SphereVisualisation() = default;

void SphereVisualisation::drawSphere(const Vector& centre, float radius)
{
    const GLMatrixScope matrix(GL_MODELVIEW);
    glTranslatef(centre.x, centre.y, centre.z);
    glScalef(radius, radius, radius);
    sphere->render(0.0);
}

void SphereVisualisation::renderAt(Particle* particle, const Vector& position)
{
    drawSphere(position, particle->size);
}

void SphereVisualisation::renderParticle(Particle* particle)
{
    drawSphere(particle->position, particle->size);
}

void SphereVisualisation::renderAll(RingBuffer<Particle>* ring)
{
    for (int i = 0; i < ring->size(); ++i)
        renderParticle((*ring)[i]);
}
