#ifndef KELVO_POINTTRACE_H
#define KELVO_POINTTRACE_H

#include "Trace.h"

// Draws each particle's trail as points, oldest first, with the colour and point size the scene
// and the visualisations left current. Nothing creates it but its owner's code.
class PointTrace : public Trace {
public:
    explicit PointTrace(ParticleSystem* owner);  // not owned

    void renderParticle(Particle* particle) override;
};

#endif
