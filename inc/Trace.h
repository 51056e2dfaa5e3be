#ifndef KELVO_TRACE_H
#define KELVO_TRACE_H

#include "Action.inl"
#include "FactoryObject.h"
#include "Particle.h"
#include "RingBuffer.h"

class ParticleSystem;

// Draws what the particles of a system leave behind: their trails. A particle system has at most
// one trace, drawn after its visualisations each frame. Answers no action; its name is the one the
// system registered it under.
class Trace : public Action<Trace>, public FactoryObject {
public:
    // owner: the system that draws through this trace; not owned.
    explicit Trace(ParticleSystem* owner);
    ~Trace() override;
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;

    // renderParticle for every particle of the ring, oldest first, alive or not.
    virtual void renderAll(RingBuffer<Particle>* ring);
    virtual void renderParticle(Particle* particle) = 0;

    ParticleSystem* getOwner() const { return owner; }

private:
    ParticleSystem* owner;
};

#endif
