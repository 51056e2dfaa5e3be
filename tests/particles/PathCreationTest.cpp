#include "PhysicalPathCreation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "PathState.h"
#include "PredefinedPathCreation.h"

namespace {
Particle* addParticle(RingBuffer<Particle>& ring, const Vector& position, const Vector& velocity, double birthTime = 0.0)
{
    std::unique_ptr<Particle> p(new Particle());
    p->position = position;
    p->velocity = velocity;
    p->mass = 3.0f;
    p->size = 0.3f;
    p->birthTime = birthTime;
    Particle* raw = p.get();
    ring.push(std::move(p));
    return raw;
}

void expectVector(const Vector& actual, float x, float y, float z)
{
    EXPECT_NEAR(actual.x, x, 1e-5f);
    EXPECT_NEAR(actual.y, y, 1e-5f);
    EXPECT_NEAR(actual.z, z, 1e-5f);
}

TCBVectorInterpolator constantPath(const Vector& velocity)
{
    TCBVectorInterpolator path(1.0f);
    path.addKey(0.0f, velocity);
    return path;
}
}

TEST(PhysicalPathCreation, AnEulerStepMovesByTheOldVelocityThenAppliesGravity)
{
    PhysicalPathCreation strategy;
    RingBuffer<Particle> ring(10);
    strategy.step(1.0, &ring);
    Particle* p = addParticle(ring, Vector(), Vector(0.0f, 10.0f, 0.0f));

    strategy.step(1.1, &ring);
    expectVector(p->position, 0.0f, 1.0f, 0.0f);
    expectVector(p->velocity, 0.0f, 9.02f, 0.0f);
    EXPECT_FLOAT_EQ(p->lastStep, 0.1f);
}

TEST(PhysicalPathCreation, WindIsAForceDividedByTheMass)
{
    struct Case {
        float mass;
        float velocityX;  // after 0.5 s of wind (1, 0, 0)
    } cases[] = {{2.0f, 0.25f}, {0.5f, 1.0f}, {0.0f, 0.0f}};  // a massless particle ignores the wind
    for (const Case& c : cases) {
        PhysicalPathCreation strategy;
        strategy.setWind(Vector(1.0f, 0.0f, 0.0f));
        strategy.setGravity(Vector());
        RingBuffer<Particle> ring(10);
        Particle* p = addParticle(ring, Vector(), Vector());
        p->mass = c.mass;
        strategy.step(0.5, &ring);
        expectVector(p->velocity, c.velocityX, 0.0f, 0.0f);
    }
}

TEST(PhysicalPathCreation, TheFirstCallOfAFrameTakesTheWholeStepSoLaterEmittersStandStill)
{
    PhysicalPathCreation strategy;
    strategy.setGravity(Vector());
    RingBuffer<Particle> first(10), second(10);
    Particle* a = addParticle(first, Vector(), Vector(1.0f, 0.0f, 0.0f));
    Particle* b = addParticle(second, Vector(), Vector(1.0f, 0.0f, 0.0f));
    strategy.step(2.0, &first);  // covers 0 .. 2
    strategy.step(2.0, &second);
    expectVector(a->position, 2.0f, 0.0f, 0.0f);
    expectVector(b->position, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(a->trail.size(), 1);
    EXPECT_EQ(b->trail.size(), 0);
}

TEST(PathCreation, TrailsAreSampledMoreThanAHundredthOfASecondApartBeforeTheMove)
{
    struct Step {
        double time;
        int trailSize;
    } steps[] = {{0.005, 0}, {0.011, 1}, {0.02, 1}, {0.0221, 2}};

    PhysicalPathCreation physical;
    physical.setGravity(Vector());
    PredefinedPathCreation predefined;
    predefined.addPath(constantPath(Vector(1.0f, 0.0f, 0.0f)));
    PathCreation* strategies[] = {&physical, &predefined};
    for (PathCreation* strategy : strategies) {
        RingBuffer<Particle> ring(10);
        Particle* p = addParticle(ring, Vector(), Vector(1.0f, 0.0f, 0.0f));
        for (const Step& s : steps) {
            const float x = p->position.x;
            const int sizeBefore = p->trail.size();
            strategy->step(s.time, &ring);
            ASSERT_EQ(p->trail.size(), s.trailSize) << "time " << s.time;
            if (s.trailSize > sizeBefore) {
                EXPECT_FLOAT_EQ(p->trail[s.trailSize - 1]->x, x);  // the position before this step
            }
        }
    }
}

TEST(PathCreation, ATrailKeepsItsNewestTenPoints)
{
    PhysicalPathCreation strategy;
    strategy.setGravity(Vector());
    RingBuffer<Particle> ring(10);
    Particle* p = addParticle(ring, Vector(), Vector(1.0f, 0.0f, 0.0f));
    for (int i = 1; i <= 12; ++i)
        strategy.step(i * 0.5, &ring);
    ASSERT_EQ(p->trail.size(), 10);
    EXPECT_FLOAT_EQ(p->trail[0]->x, 1.0f);  // positions 0 and 0.5 were dropped
    EXPECT_FLOAT_EQ(p->trail[9]->x, 5.5f);
}

TEST(PathCreation, AParticleThatIsNotAliveKeepsPositionVelocityAndTrail)
{
    PhysicalPathCreation physical;
    PredefinedPathCreation predefined;
    predefined.addPath(constantPath(Vector(0.0f, -0.3f, 0.0f)));
    PathCreation* strategies[] = {&physical, &predefined};
    for (PathCreation* strategy : strategies) {
        RingBuffer<Particle> ring(10);
        Particle* p = addParticle(ring, Vector(1.0f, 2.0f, 3.0f), Vector(4.0f, 5.0f, 6.0f));
        p->alive = false;
        strategy->step(0.5, &ring);
        strategy->step(1.0, &ring);
        expectVector(p->position, 1.0f, 2.0f, 3.0f);
        expectVector(p->velocity, 4.0f, 5.0f, 6.0f);
        EXPECT_EQ(p->trail.size(), 0);
    }
}

TEST(PredefinedPathCreation, NewParticlesTakeThePathsInTurnInTheOrderTheyAreFirstStepped)
{
    PredefinedPathCreation strategy;
    strategy.addPath(constantPath(Vector(1.0f, 0.0f, 0.0f)));
    strategy.addPath(constantPath(Vector(0.0f, 1.0f, 0.0f)));
    RingBuffer<Particle> ring(10);
    Particle* a = addParticle(ring, Vector(), Vector());
    Particle* b = addParticle(ring, Vector(), Vector());
    strategy.step(0.1, &ring);
    Particle* c = addParticle(ring, Vector(), Vector());
    c->alive = false;  // a particle that is not alive still gets its path
    strategy.step(0.2, &ring);
    EXPECT_EQ(a->pathState->path, 0);
    EXPECT_EQ(b->pathState->path, 1);
    EXPECT_EQ(c->pathState->path, 0);
    expectVector(a->position, 0.2f, 0.0f, 0.0f);
    expectVector(b->position, 0.0f, 0.2f, 0.0f);
}

TEST(PredefinedPathCreation, ThePathValueIsAVelocityHeldOverEachStepOfTheParticlesAge)
{
    PredefinedPathCreation strategy;
    strategy.addPath(constantPath(Vector(0.0f, -0.3f, 0.0f)));
    RingBuffer<Particle> ring(10);
    Particle* p = addParticle(ring, Vector(), Vector(), 2.0);
    strategy.step(2.5, &ring);
    expectVector(p->position, 0.0f, -0.15f, 0.0f);
    strategy.step(3.0, &ring);
    expectVector(p->position, 0.0f, -0.3f, 0.0f);
    EXPECT_FLOAT_EQ(p->pathState->lastAge, 1.0f);
    EXPECT_EQ(p->lastStep, 0.0f);
}

TEST(PredefinedPathCreation, WithoutPathsParticlesStayPutUntilAPathIsAdded)
{
    PredefinedPathCreation strategy;
    RingBuffer<Particle> ring(10);
    Particle* p = addParticle(ring, Vector(), Vector());
    strategy.step(1.0, &ring);
    expectVector(p->position, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(p->pathState->path, 0);

    strategy.addPath(constantPath(Vector(2.0f, 0.0f, 0.0f)));
    strategy.step(1.5, &ring);  // only the half second since the last step counts
    expectVector(p->position, 1.0f, 0.0f, 0.0f);
}
