#ifndef KELVO_POINTEMITTOR_H
#define KELVO_POINTEMITTOR_H

#include "Action.inl"
#include "ParticleEmittor.h"

// Spawns every particle at one point, which is also the reference point of life mode 2.
// Action: "enableEmitting".
class PointEmittor : public ParticleEmittor, public Action<PointEmittor> {
public:
    PointEmittor();

    RingBuffer<Particle>* emit(double time) override;

    void setPosition(const Vector& position) { this->position = position; }
    Vector getPosition() const { return position; }

protected:
    std::unique_ptr<Particle> makeParticle(double time) override;

private:
    Vector position;
};

#endif
