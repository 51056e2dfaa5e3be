#ifndef KELVO_PREDEFINEDPATHCREATION_H
#define KELVO_PREDEFINEDPATHCREATION_H

#include <vector>

#include "Action.inl"
#include "PathCreation.h"
#include "keyframer/TCBVectorInterpolator.h"

// Each particle follows one of a list of keyframed velocity curves (units per second, sampled at
// the particle's age in seconds); new particles take the curves in turn. Unlike the physical
// strategy it measures each particle's own age, so it moves the particles of every emitter of a
// system. Answers no action.
class PredefinedPathCreation : public PathCreation, public Action<PredefinedPathCreation> {
public:
    PredefinedPathCreation();

    // Keeps a copy: keys, frame rate, range and looping.
    void addPath(const TCBVectorInterpolator& path);

    // Particles stepped while there is no path get path 0 and stay where they are until one is added.
    void step(double time, RingBuffer<Particle>* ring) override;

private:
    float lastSample;      // seconds: time of the last trail sample
    float sampleInterval;  // seconds
    std::vector<TCBVectorInterpolator> paths;
    int nextPath;          // index of the path the next new particle gets
};

#endif
