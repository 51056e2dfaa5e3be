#include "Particle.h"

#include "ParticleTriangle.h"
#include "PathState.h"

Particle::Particle()
    : lastStep(0.0f), alive(true), trail(TRAIL_LENGTH), energy(1.0f), mass(0.0f), size(0.0f), birthTime(0.0)
{
}

// Defined here, where the owned records are complete types.
Particle::~Particle() = default;
