#ifndef KELVO_VOLUMETRICEMITTOR_H
#define KELVO_VOLUMETRICEMITTOR_H

#include "Action.inl"
#include "ParticleEmittor.h"

// Spawns particles at uniform points of an axis-aligned box. Under life mode 1 its particles keep
// energy 1: the faded energy is only tested, never stored. Action: "enableEmitting".
class VolumetricEmittor : public ParticleEmittor, public Action<VolumetricEmittor> {
public:
    VolumetricEmittor();

    RingBuffer<Particle>* emit(double time) override;

    // The box's corners; life mode 2 then measures from (maximum - minimum) / 2, half the box's
    // extent (not its centre).
    void setVolume(const Vector& minimum, const Vector& maximum);
    Vector getReference() const { return reference; }

protected:
    std::unique_ptr<Particle> makeParticle(double time) override;

private:
    Vector minimum;
    Vector maximum;
    Vector reference;
};

#endif
