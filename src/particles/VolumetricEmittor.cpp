#include "VolumetricEmittor.h"

VolumetricEmittor::VolumetricEmittor()
{
    addStringAction("enableEmitting", &ParticleEmittor::enableEmitting);
}

RingBuffer<Particle>* VolumetricEmittor::emit(double time)
{
    if (getLifeMode() == 1)
        expireByAge(time, false);
    else if (getLifeMode() == 2)
        expireByDistance(reference);
    spawnDue(time);
    return getParticles();
}

void VolumetricEmittor::setVolume(const Vector& minimum, const Vector& maximum)
{
    this->minimum = minimum;
    this->maximum = maximum;
    reference = (maximum - minimum) / 2.0f;
}

std::unique_ptr<Particle> VolumetricEmittor::makeParticle(double time)
{
    std::unique_ptr<Particle> particle(new Particle());
    // One draw per axis, x first, before the launch draws.
    for (int axis = 0; axis < 3; ++axis)
        particle->position[axis] = uniform() * (maximum[axis] - minimum[axis]) + minimum[axis];
    launch(*particle, time);
    return particle;
}
