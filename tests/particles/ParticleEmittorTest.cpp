#include "PointEmittor.h"

#include <gtest/gtest.h>

#include <cmath>

#include "Random.h"
#include "TestSupport.h"
#include "VolumetricEmittor.h"

namespace {
// A point emitter that counts the particles it makes.
class CountingEmittor : public PointEmittor {
public:
    int made = 0;

protected:
    std::unique_ptr<Particle> makeParticle(double time) override
    {
        ++made;
        return PointEmittor::makeParticle(time);
    }
};

const float RANDOM_SCALE = 1.0f / 32767.0f;
}

TEST(ParticleEmittor, AnEmitterNeverSwitchedOnSpawnsNothingAndItsNextEmissionFollowsTheTime)
{
    CountingEmittor emittor;
    emittor.setInterval(0.5f);
    for (double time : {0.0, 3.0, 100.0}) {
        EXPECT_EQ(emittor.emit(time)->size(), 0);
        EXPECT_FLOAT_EQ(emittor.getNextEmission(), static_cast<float>(time + 0.5));
    }
    EXPECT_EQ(emittor.made, 0);
}

TEST(ParticleEmittor, AnEmitterSwitchedOnBeforeItsFirstCallCatchesUpFromMinusOne)
{
    CountingEmittor emittor;
    emittor.setInterval(0.5f);
    emittor.enableEmitting("true");

    RingBuffer<Particle>* ring = emittor.emit(10.0);
    EXPECT_EQ(emittor.made, 22);  // nextEmission -1.0, -0.5, ..., 9.5
    EXPECT_EQ(ring->size(), 10);
    EXPECT_EQ(emittor.getNextEmission(), 10.0f);
    for (int i = 0; i < ring->size(); ++i)
        EXPECT_EQ((*ring)[i]->birthTime, 10.0);

    emittor.emit(10.2);
    EXPECT_EQ(emittor.made, 23);
    EXPECT_EQ(emittor.getNextEmission(), 10.5f);
    emittor.emit(10.4);
    EXPECT_EQ(emittor.made, 23);
}

TEST(ParticleEmittor, IntervalZeroFillsTheRingAndRefillsOnlyWhatExpiryFrees)
{
    CountingEmittor emittor;
    emittor.setInterval(0.0f);
    emittor.enableEmitting("true");

    RingBuffer<Particle>* ring = emittor.emit(0.0);
    EXPECT_EQ(emittor.made, 10);

    // Decay 0.1 per second: half the energy is gone after 5 seconds, and nothing is refilled.
    emittor.emit(5.0);
    EXPECT_EQ(emittor.made, 10);
    EXPECT_FLOAT_EQ((*ring)[0]->energy, 0.5f);

    // The single-precision decay is a little above 0.1: at 10 seconds the energy is just below 0,
    // so all ten are spent and replaced.
    emittor.emit(10.0);
    EXPECT_EQ(emittor.made, 20);
    EXPECT_EQ(ring->size(), 10);
    EXPECT_EQ((*ring)[0]->birthTime, 10.0);
}

TEST(ParticleEmittor, TheNewestSpentParticleTakesEveryOlderOneWithIt)
{
    PointEmittor emittor;  // at (0, 1, 0), maximum distance 2
    emittor.setInterval(0.0f);
    emittor.setMaxParticles(3);
    emittor.setLifeMode(2);
    emittor.enableEmitting("true");
    RingBuffer<Particle>* ring = emittor.emit(0.0);
    Particle* newest = (*ring)[2];
    (*ring)[1]->position = Vector(0.0f, 3.0f, 0.0f);  // distance 2: energy 0
    newest->position = Vector(1.0f, 1.0f, 0.0f);      // distance 1: energy 0.75
    emittor.enableEmitting("false");

    emittor.emit(1.0);
    ASSERT_EQ(ring->size(), 1);  // the oldest, still at full energy, went with the spent one
    EXPECT_EQ((*ring)[0], newest);
    EXPECT_FLOAT_EQ(newest->energy, 0.75f);
}

TEST(ParticleEmittor, AMaximumDistanceOfZeroSpendsEveryParticleInsteadOfDividingByZero)
{
    PointEmittor emittor;
    emittor.setInterval(0.0f);
    emittor.setLifeMode(2);
    emittor.setMaxDistance(0.0f);
    emittor.enableEmitting("true");
    RingBuffer<Particle>* ring = emittor.emit(0.0);
    ASSERT_EQ(ring->size(), 10);
    emittor.enableEmitting("false");
    emittor.emit(0.1);
    EXPECT_EQ(ring->size(), 0);
}

TEST(ParticleEmittor, AFullRingRecyclesItsOldestUnlessNoRecycleIsSet)
{
    struct Case {
        int noRecycle;
        int made;
        double oldestBirth;
    } cases[] = {{1, 3, 1.0}, {0, 4, 2.0}};
    for (const Case& c : cases) {
        CountingEmittor emittor;
        emittor.setMaxParticles(3);
        emittor.setNoRecycle(c.noRecycle);
        emittor.setLifeMode(0);
        emittor.emit(0.5);  // off: the first spawn is due after 1.5
        emittor.enableEmitting("true");
        for (double time : {1.6, 2.6, 3.6, 4.6})
            emittor.emit(time);
        RingBuffer<Particle>* ring = emittor.getParticles();
        EXPECT_EQ(emittor.made, c.made) << "noRecycle " << c.noRecycle;
        EXPECT_EQ(ring->size(), 3);
        EXPECT_EQ((*ring)[0]->birthTime, c.oldestBirth + 0.6);
    }
}

TEST(ParticleEmittor, EnableEmittingTakesOnlyTrueAndFalse)
{
    PointEmittor emittor;
    LogCapture log;
    emittor.stringAction("enableEmitting", "true");
    EXPECT_TRUE(emittor.isEmitting());
    emittor.stringAction("enableEmitting", "TRUE");
    EXPECT_TRUE(emittor.isEmitting());
    emittor.stringAction("enableEmitting", "false");
    EXPECT_FALSE(emittor.isEmitting());
    emittor.stringAction("enableEmitting", "TRUE");
    EXPECT_FALSE(emittor.isEmitting());
    EXPECT_TRUE(log.contains("[info] particleemittor::Value TRUE not understood. Only values \"true\" and \"false\" "
                             "approved.\n"));
}

TEST(ParticleEmittor, APointEmitterDrawsSpeedAzimuthElevationMassAndSizeInThatOrder)
{
    Random::seed(1234);
    float u[5];
    for (float& value : u)
        value = static_cast<float>(Random::next()) * RANDOM_SCALE;
    Random::seed(1234);

    PointEmittor emittor;
    emittor.setPosition(Vector(1.0f, 2.0f, 3.0f));
    emittor.setColour(0.1f, 0.2f, 0.3f, 0.4f);
    emittor.setLifeMode(0);
    emittor.enableEmitting("true");
    emittor.emit(-0.5);  // nextEmission -1.0 is due
    RingBuffer<Particle>* ring = emittor.getParticles();
    ASSERT_EQ(ring->size(), 1);
    const Particle& p = *(*ring)[0];

    const double degrees = 0.017453292705555557;
    const double s = (2 * u[0] - 1) * 3.0 + 10.0;
    const double a = ((2 * u[1] - 1) * 180.0) * degrees;
    const double b = ((2 * u[2] - 1) * 30.0 + 90.0) * degrees;
    EXPECT_NEAR(p.velocity.x, s * std::cos(b) * std::cos(a), 1e-4);
    EXPECT_NEAR(p.velocity.y, s * std::sin(b), 1e-4);
    EXPECT_NEAR(p.velocity.z, s * std::cos(b) * std::sin(a), 1e-4);
    EXPECT_NEAR(p.mass, u[3] * 0.3 + 3.0, 1e-6);
    EXPECT_NEAR(p.size, u[4] * 0.2 + 0.3, 1e-6);
    EXPECT_EQ(p.position.y, 2.0f);
    EXPECT_EQ(p.energy, 1.0f);
    EXPECT_EQ(p.colour.b, 0.3f);
    EXPECT_EQ(p.birthTime, -0.5);
    EXPECT_TRUE(p.alive);
    EXPECT_EQ(p.trail.getCapacity(), 10);
    EXPECT_EQ(p.trail.size(), 0);
}

TEST(ParticleEmittor, DefaultLaunchValuesStayWithinTheirSpreads)
{
    Random::seed(99);
    PointEmittor emittor;
    emittor.setInterval(0.0f);
    emittor.setMaxParticles(200);
    emittor.enableEmitting("true");
    RingBuffer<Particle>* ring = emittor.emit(0.0);
    ASSERT_EQ(ring->size(), 200);
    for (int i = 0; i < ring->size(); ++i) {
        const Particle& p = *(*ring)[i];
        const float speed = p.velocity.length();
        EXPECT_GE(speed, 7.0f - 1e-4f);
        EXPECT_LE(speed, 13.0f + 1e-4f);
        EXPECT_GE(p.velocity.y / speed, std::cos(30.0 * 3.14159265 / 180.0) - 1e-4);  // within 30 degrees of up
        EXPECT_GE(p.mass, 3.0f);
        EXPECT_LE(p.mass, 3.3f + 1e-6f);
        EXPECT_GE(p.size, 0.3f);
        EXPECT_LE(p.size, 0.5f + 1e-6f);
    }
}

TEST(ParticleEmittor, UnsafeSettingsNeitherHangNorCrash)
{
    CountingEmittor emittor;
    emittor.enableEmitting("true");

    emittor.setMaxParticles(0);
    emittor.setInterval(0.0f);
    EXPECT_EQ(emittor.emit(0.0)->size(), 0);
    emittor.setInterval(0.5f);
    EXPECT_EQ(emittor.emit(2.0)->size(), 0);

    // A negative interval counts as 0: the ring fills at once.
    emittor.setMaxParticles(-1);
    emittor.setMaxParticles(4);
    emittor.setInterval(-1.0f);
    EXPECT_EQ(emittor.getInterval(), 0.0f);
    EXPECT_EQ(emittor.emit(3.0)->size(), 4);

    // An interval below the float spacing of the clock could never advance the next spawn: the
    // call ends after one spawn.
    CountingEmittor fine;
    fine.setInterval(1e-5f);
    fine.emit(100000.0);
    fine.enableEmitting("true");
    fine.emit(100001.0);
    EXPECT_EQ(fine.made, 1);
    EXPECT_GE(fine.getNextEmission(), 100001.0f);
}

TEST(VolumetricEmittor, SpawnsInsideItsBoxAndMeasuresDistanceFromHalfItsExtent)
{
    Random::seed(7);
    VolumetricEmittor emittor;
    emittor.setVolume(Vector(-2.0f, 0.0f, -2.0f), Vector(2.0f, 4.0f, 2.0f));
    EXPECT_EQ(emittor.getReference().x, 2.0f);
    EXPECT_EQ(emittor.getReference().y, 2.0f);
    EXPECT_EQ(emittor.getReference().z, 2.0f);

    emittor.setInterval(0.0f);
    emittor.setMaxParticles(50);
    emittor.enableEmitting("true");
    RingBuffer<Particle>* ring = emittor.emit(0.0);
    ASSERT_EQ(ring->size(), 50);
    for (int i = 0; i < ring->size(); ++i) {
        const Vector& p = (*ring)[i]->position;
        EXPECT_TRUE(p.x >= -2.0f && p.x <= 2.0f && p.y >= 0.0f && p.y <= 4.0f && p.z >= -2.0f && p.z <= 2.0f)
            << p.toString();
    }
}

TEST(VolumetricEmittor, FadingByAgeIsTestedButNotStored)
{
    VolumetricEmittor emittor;
    emittor.setInterval(0.0f);
    emittor.enableEmitting("true");
    RingBuffer<Particle>* ring = emittor.emit(0.0);
    emittor.enableEmitting("false");
    emittor.emit(5.0);
    ASSERT_EQ(ring->size(), 10);
    EXPECT_EQ((*ring)[0]->energy, 1.0f);
    emittor.emit(10.0);
    EXPECT_EQ(ring->size(), 0);
}
