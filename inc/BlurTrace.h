#ifndef KELVO_BLURTRACE_H
#define KELVO_BLURTRACE_H

#include "Trace.h"

// Redraws the oldest particle of a ring once at each of its trail points, through every
// visualisation of the owner system, into the screen region right of x 640: outside the engine's
// 640 x 480 window, for a larger drawable to show beside the frame. The region is cleared first;
// the visible frame is left alone. Nothing creates it but its owner's code.
class BlurTrace : public Trace {
public:
    explicit BlurTrace(ParticleSystem* owner);  // not owned

    // Nothing for an empty ring. Afterwards the scissor test is off and the viewport is the
    // engine's window, (0, 0, 640, 480), whatever it was before.
    void renderAll(RingBuffer<Particle>* ring) override;
    // Draws nothing: the trace draws a ring's oldest particle only, in renderAll.
    void renderParticle(Particle* particle) override;

    // The window rectangle covered by the cube of half-edge particle.size around trail point i of
    // particle, under the current modelview, projection and viewport: the least and greatest
    // projected x and y go into lower and upper, their z is not written. Returns false, writing
    // nothing, when the trail has no point i.
    static bool trailScreenRect(const Particle& particle, int i, Vector& lower, Vector& upper);
};

#endif
