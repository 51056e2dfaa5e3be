#include "PointTrace.h"

#include <GL/gl.h>

PointTrace::PointTrace(ParticleSystem* owner) : Trace(owner)
{
}

void PointTrace::renderParticle(Particle* particle)
{
    const RingBuffer<Vector>& trail = particle->trail;
    glBegin(GL_POINTS);
    for (int i = 0; i < trail.size(); ++i)
        glVertex3f(trail[i]->x, trail[i]->y, trail[i]->z);
    glEnd();
}
