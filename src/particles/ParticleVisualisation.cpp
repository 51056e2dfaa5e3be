#include "ParticleVisualisation.h"

#include <cstdio>

ParticleVisualisation::ParticleVisualisation()
{
    // Straight to standard output, past the log and its levels.
    std::fputs("ParticleVisualisation constructor\n", stdout);
}

ParticleVisualisation::~ParticleVisualisation() = default;
