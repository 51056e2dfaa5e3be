#include "Trace.h"

Trace::Trace(ParticleSystem* owner) : owner(owner) {}

Trace::~Trace() = default;

void Trace::renderAll(RingBuffer<Particle>* ring)
{
    for (int i = 0; i < ring->size(); ++i)
        renderParticle((*ring)[i]);
}
