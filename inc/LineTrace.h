#ifndef KELVO_LINETRACE_H
#define KELVO_LINETRACE_H

#include "Trace.h"

// Draws each particle's trail as one line strip from its oldest recorded position to where the
// particle is now, with the colour and line width the scene and the visualisations left current.
// A particle without trail points draws no line. Made by the system's "createLineTrace".
class LineTrace : public Trace {
public:
    explicit LineTrace(ParticleSystem* owner);  // not owned

    void renderParticle(Particle* particle) override;
};

#endif
