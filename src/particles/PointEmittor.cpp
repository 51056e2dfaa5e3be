#include "PointEmittor.h"

PointEmittor::PointEmittor() : position(0.0f, 1.0f, 0.0f)
{
    addStringAction("enableEmitting", &ParticleEmittor::enableEmitting);
}

RingBuffer<Particle>* PointEmittor::emit(double time)
{
    if (getLifeMode() == 1)
        expireByAge(time, true);
    else if (getLifeMode() == 2)
        expireByDistance(position);
    spawnDue(time);
    return getParticles();
}

std::unique_ptr<Particle> PointEmittor::makeParticle(double time)
{
    std::unique_ptr<Particle> particle(new Particle());
    particle->position = position;
    launch(*particle, time);
    return particle;
}
