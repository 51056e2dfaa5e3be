#include "PointVisualisation.h"

#include <GL/gl.h>

PointVisualisation::PointVisualisation() = default;

void PointVisualisation::renderAt(Particle*, const Vector& position)
{
    glBegin(GL_POINTS);
    glVertex3f(position.x, position.y, position.z);
    glEnd();
}

void PointVisualisation::renderParticle(Particle* particle)
{
    renderAt(particle, particle->position);
}

void PointVisualisation::renderAll(RingBuffer<Particle>* ring)
{
    glBegin(GL_POINTS);
    for (int i = 0; i < ring->size(); ++i) {
        const Vector& p = (*ring)[i]->position;
        glVertex3f(p.x, p.y, p.z);
    }
    glEnd();
}
