#include "ParticleEmittor.h"

#include <cmath>

#include "Log.h"
#include "Random.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {
const int DEFAULT_CAPACITY = 10;
// The single-precision value nearest to 1 / 32767: a generator value times it spans 0..1.
const float RANDOM_SCALE = 1.0f / 32767.0f;
}

ParticleEmittor::ParticleEmittor()
    : particles(new RingBuffer<Particle>(DEFAULT_CAPACITY)),
      emitting(false),
      maxDistanceSquared(4.0f),
      decay(0.1f),
      speed(10.0f),
      speedRange(3.0f),
      elevation(90.0f),
      elevationRange(30.0f),
      azimuth(0.0f),
      azimuthRange(180.0f),
      interval(1.0f),
      mass(3.0f),
      massRange(0.3f),
      size(0.3f),
      sizeRange(0.2f),
      lifeMode(1),
      nextEmission(-1.0f),
      noRecycle(0),
      colour()
{
}

ParticleEmittor::~ParticleEmittor() = default;

void ParticleEmittor::enableEmitting(const std::string& value)
{
    if (value == "true")
        emitting = true;
    else if (value == "false")
        emitting = false;
    else
        KELVO_LOG(LogLevel::info) << "Value " << value
                            << " not understood. Only values \"true\" and \"false\" approved." << logEnd;
}

void ParticleEmittor::setMaxParticles(int capacity)
{
    particles.reset(new RingBuffer<Particle>(capacity));
}

void ParticleEmittor::setInterval(float seconds)
{
    // A negative interval would move the next spawn back each time and never end the spawning loop.
    interval = seconds < 0.0f ? 0.0f : seconds;
}

float ParticleEmittor::uniform()
{
    return static_cast<float>(Random::next()) * RANDOM_SCALE;
}

void ParticleEmittor::removeThroughIndex(int index)
{
    for (int k = 0; k <= index; ++k)
        particles->popFront();
}

void ParticleEmittor::expireByAge(double time, bool storeEnergy)
{
    RingBuffer<Particle>& ring = *particles;
    for (int i = ring.size() - 1; i >= 0; --i) {
        Particle& p = *ring[i];
        const double base = storeEnergy ? 1.0 : static_cast<double>(p.energy);
        const double e = base - (time - p.birthTime) * static_cast<double>(decay);
        if (storeEnergy)
            p.energy = static_cast<float>(e);
        // Written as !(e > 0) so that a NaN energy ends the particle too.
        if (!(e > 0.0)) {
            removeThroughIndex(i);
            return;
        }
    }
}

void ParticleEmittor::expireByDistance(const Vector& reference)
{
    RingBuffer<Particle>& ring = *particles;
    // A maximum distance of 0 would divide by zero: every particle is then spent at once.
    const bool noRange = !(maxDistanceSquared > 0.0f);
    const float q = noRange ? 0.0f : 1.0f / maxDistanceSquared;
    for (int i = ring.size() - 1; i >= 0; --i) {
        Particle& p = *ring[i];
        const float e = noRange ? 0.0f : (maxDistanceSquared - (reference - p.position).length(true)) * q;
        p.energy = e;
        if (!(e > 0.0f)) {
            removeThroughIndex(i);
            return;
        }
    }
}

void ParticleEmittor::spawnDue(double time)
{
    if (!emitting || !canSpawn()) {
        nextEmission = static_cast<float>(time + interval);
        return;
    }
    RingBuffer<Particle>& ring = *particles;
    for (;;) {
        if (interval != 0.0f) {
            if (!(nextEmission < time))
                break;
        } else if (ring.isFull()) {
            break;
        }
        if (ring.isFull()) {
            if (noRecycle)
                break;
            ring.popFront();
        }
        ring.push(makeParticle(time));
        const float previous = nextEmission;
        nextEmission += interval;
        // An interval below the float spacing at nextEmission leaves it where it was: without this
        // the loop would never reach the time. The rest of the backlog is dropped.
        if (interval != 0.0f && !(nextEmission > previous)) {
            nextEmission = static_cast<float>(time + interval);
            break;
        }
    }
}

void ParticleEmittor::launch(Particle& particle, double time) const
{
    const float s = (2.0f * uniform() - 1.0f) * speedRange + speed;
    const double a = ((2.0f * uniform() - 1.0f) * azimuthRange + azimuth) * DEGREES_TO_RADIANS;
    const double b = ((2.0f * uniform() - 1.0f) * elevationRange + elevation) * DEGREES_TO_RADIANS;
    particle.velocity = Vector(static_cast<float>(std::cos(b) * std::cos(a)), static_cast<float>(std::sin(b)),
                               static_cast<float>(std::cos(b) * std::sin(a))) *
                        s;
    particle.energy = 1.0f;
    particle.mass = uniform() * massRange + mass;
    particle.size = uniform() * sizeRange + size;
    particle.colour = colour;
    particle.birthTime = time;
    particle.alive = true;
}
