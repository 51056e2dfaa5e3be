#include "PlaneCollider.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
Particle* addParticle(RingBuffer<Particle>& ring, float height, float size = 0.3f)
{
    std::unique_ptr<Particle> p(new Particle());
    p->position = Vector(0.0f, height, 0.0f);
    p->size = size;
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
}

TEST(Plane, APlaneThroughAPointNormalisesItsNormalAndSignsItsValues)
{
    const Plane plane(Point(Vector(0.0f, -2.0f, 0.0f)), Vector(0.0f, 5.0f, 0.0f));
    expectVector(plane.getNormal(), 0.0f, 1.0f, 0.0f);
    EXPECT_FLOAT_EQ(plane.getD(), 2.0f);
    EXPECT_FLOAT_EQ(plane.distance(Point(Vector(3.0f, 2.0f, 1.0f)), true), 4.0f);
    EXPECT_FLOAT_EQ(plane.distance(Point(Vector(3.0f, 2.0f, 1.0f)), false), 2.0f);
    EXPECT_FLOAT_EQ(plane.distance(Point(Vector(0.0f, -3.0f, 0.0f)), true), -1.0f);
    EXPECT_FLOAT_EQ(plane.distance(Point(Vector(0.0f, -3.0f, 0.0f)), false), 0.0f);  // no root behind it

    const Plane ground;
    expectVector(ground.getNormal(), 0.0f, 1.0f, 0.0f);
    EXPECT_EQ(ground.getD(), 0.0f);
}

TEST(PlaneCollider, AParticleTouchesAPlaneBelowItsSizeSquared)
{
    struct Case {
        float height;
        bool touches;
    } cases[] = {{0.1f, false}, {0.08f, true}, {-5.0f, true}};
    for (const Case& c : cases) {
        PlaneCollider collider;
        collider.addPlane(Plane());
        collider.setMode(PlaneCollider::KILL);
        RingBuffer<Particle> ring(10);
        addParticle(ring, c.height);
        collider.collide(&ring);
        EXPECT_EQ(ring.size(), c.touches ? 0 : 1) << "height " << c.height;
    }
}

TEST(PlaneCollider, WithoutPlanesNothingChanges)
{
    PlaneCollider collider;
    RingBuffer<Particle> ring(10);
    Particle* p = addParticle(ring, -1.0f);
    p->velocity = Vector(0.0f, -2.0f, 0.0f);
    for (int mode : {PlaneCollider::BOUNCE, PlaneCollider::KILL, PlaneCollider::STICK}) {
        collider.setMode(mode);
        collider.collide(&ring);
    }
    ASSERT_EQ(ring.size(), 1);
    expectVector(p->position, 0.0f, -1.0f, 0.0f);
    expectVector(p->velocity, 0.0f, -2.0f, 0.0f);
    EXPECT_TRUE(p->alive);
}

TEST(PlaneCollider, ABounceReflectsTheNormalSpeedAndRestartsFromTheNewestTrailPoint)
{
    PlaneCollider collider;
    collider.addPlane(Plane());
    RingBuffer<Particle> ring(10);
    Particle* p = addParticle(ring, 0.05f);
    p->velocity = Vector(1.0f, -2.0f, 0.0f);
    p->lastStep = 0.1f;
    p->trail.push(std::unique_ptr<Vector>(new Vector(9.0f, 9.0f, 9.0f)));
    p->trail.push(std::unique_ptr<Vector>(new Vector(0.0f, 0.5f, 0.0f)));

    collider.collide(&ring);
    expectVector(p->velocity, 1.0f, 1.2f, 0.0f);
    expectVector(p->position, 0.1f, 0.62f, 0.0f);  // (0, 0.5, 0) + (1, 1.2, 0) x 0.1
    EXPECT_TRUE(p->alive);

    // Without a trail point the particle bounces where it is.
    Particle* fresh = addParticle(ring, 0.05f);
    fresh->velocity = Vector(0.0f, -1.0f, 0.0f);
    collider.bounce(*fresh, Plane());
    expectVector(fresh->velocity, 0.0f, 0.6f, 0.0f);
    expectVector(fresh->position, 0.0f, 0.05f, 0.0f);
}

TEST(PlaneCollider, KillRemovesTouchingParticlesAndTestsTheOneThatFollows)
{
    PlaneCollider collider;
    collider.addPlane(Plane());
    collider.setMode(PlaneCollider::KILL);
    RingBuffer<Particle> ring(10);
    Particle* a = addParticle(ring, 1.0f);
    addParticle(ring, 0.0f);
    Particle* c = addParticle(ring, 1.0f);
    addParticle(ring, -1.0f);
    addParticle(ring, 0.01f);  // moves into the place of the one before it and is still tested

    collider.collide(&ring);
    ASSERT_EQ(ring.size(), 2);
    EXPECT_EQ(ring[0], a);
    EXPECT_EQ(ring[1], c);
}

TEST(PlaneCollider, StickLiftsTheParticleOntoThePlaneAndStopsIt)
{
    struct Case {
        float height;
        float expected;
    } cases[] = {{0.04f, 0.14f},   // up by 0.3 - sqrt(0.04) = 0.1
                 {-0.5f, -0.2f}};  // behind the plane the root counts as 0: up by the size
    for (const Case& c : cases) {
        PlaneCollider collider;
        collider.addPlane(Plane());
        collider.setMode(PlaneCollider::STICK);
        RingBuffer<Particle> ring(10);
        Particle* p = addParticle(ring, c.height);
        collider.collide(&ring);
        ASSERT_EQ(ring.size(), 1);
        EXPECT_NEAR(p->position.y, c.expected, 1e-5f) << "height " << c.height;
        EXPECT_FALSE(p->alive);
    }
}

TEST(PlaneCollider, PlanesAreTestedInTurnWithEachParticleAtItsNewPosition)
{
    // The first plane lifts the particle from 0.04 to 0.14, into the zone of a second plane at
    // y = 0.1 facing up (value 0.04 < 0.09), which lifts it again by 0.3 - 0.2 = 0.1.
    PlaneCollider collider;
    collider.addPlane(Plane());
    collider.addPlane(Plane(Point(Vector(0.0f, 0.1f, 0.0f)), Vector(0.0f, 1.0f, 0.0f)));
    collider.setMode(PlaneCollider::STICK);
    RingBuffer<Particle> ring(10);
    Particle* p = addParticle(ring, 0.04f);
    collider.collide(&ring);
    EXPECT_NEAR(p->position.y, 0.24f, 1e-5f);
    EXPECT_EQ(collider.getPlanes().size(), 2u);
}

TEST(PlaneCollider, AnUnknownModeTestsButChangesNothing)
{
    PlaneCollider collider;
    collider.addPlane(Plane());
    collider.setMode(7);
    RingBuffer<Particle> ring(10);
    Particle* p = addParticle(ring, 0.0f);
    p->velocity = Vector(0.0f, -1.0f, 0.0f);
    collider.collide(&ring);
    ASSERT_EQ(ring.size(), 1);
    expectVector(p->velocity, 0.0f, -1.0f, 0.0f);
    EXPECT_TRUE(p->alive);
}
