#include "LineTrace.h"

#include <GL/gl.h>

LineTrace::LineTrace(ParticleSystem* owner) : Trace(owner)
{
}

void LineTrace::renderParticle(Particle* particle)
{
    const RingBuffer<Vector>& trail = particle->trail;
    glBegin(GL_LINE_STRIP);
    for (int i = 0; i < trail.size(); ++i)
        glVertex3f(trail[i]->x, trail[i]->y, trail[i]->z);
    glVertex3f(particle->position.x, particle->position.y, particle->position.z);
    glEnd();
}
