#include "PredefinedPathCreation.h"

#include "PathState.h"

PredefinedPathCreation::PredefinedPathCreation() : lastSample(0.0f), sampleInterval(SAMPLE_INTERVAL), nextPath(0) {}

void PredefinedPathCreation::addPath(const TCBVectorInterpolator& path)
{
    paths.push_back(path);
}

void PredefinedPathCreation::step(double time, RingBuffer<Particle>* ring)
{
    const bool sampling = takeSample(time, lastSample, sampleInterval);
    const int pathCount = static_cast<int>(paths.size());

    for (int i = 0; i < ring->size(); ++i) {
        Particle& p = *(*ring)[i];
        // Made once per particle, at its first step; the only allocation besides trail points.
        if (!p.pathState) {
            p.pathState.reset(new PathState(nextPath, 0.0f));
            ++nextPath;
            if (nextPath >= pathCount)
                nextPath = 0;
        }
        if (!p.alive)
            continue;
        PathState& state = *p.pathState;
        const float age = static_cast<float>(time - p.birthTime);
        if (sampling)
            recordTrail(p);
        if (state.path >= 0 && state.path < pathCount) {
            const Vector v = paths[state.path].interpolateValue(age);
            p.position += v * (age - state.lastAge);
        }
        state.lastAge = age;
    }
}
