#include "ParticleSystem.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ParticleManager.h"
#include "PhysicalPathCreation.h"
#include "PointEmittor.h"
#include "PredefinedPathCreation.h"
#include "Random.h"
#include "RecordingParticleParts.h"
#include "TestSupport.h"
#include "VolumetricEmittor.h"

namespace {
void expectVector(const Vector& actual, float x, float y, float z)
{
    EXPECT_NEAR(actual.x, x, 1e-5f);
    EXPECT_NEAR(actual.y, y, 1e-5f);
    EXPECT_NEAR(actual.z, z, 1e-5f);
}

// A system of the manager, made by its action, watched by the journal.
struct Scene {
    ParticleManager manager{nullptr};
    ParticleJournal journal;

    ParticleSystem& system(const std::string& name)
    {
        if (!manager.Factory<ParticleSystem>::exists(name)) {
            manager.stringAction("createParticleSystem", name);
            journal.watch(manager.Factory<ParticleSystem>::find(name), name);
        }
        return *manager.Factory<ParticleSystem>::find(name);
    }
    void addDots(const std::string& systemName)
    {
        if (!manager.Factory<ParticleVisualisation>::exists("dots"))
            manager.storeVisualisation("dots", std::make_unique<RecordingVisualisation>(journal), nullptr);
        manager.stringAction(systemName + ".addParticleVisualisation", "dots");
    }
};

}

TEST(ParticleSystem, EachEmitterGoesThroughTheWholeRoadBeforeTheNextInNameOrder)
{
    Scene scene;
    ParticleSystem& system = scene.system("sparks");
    system.stringAction("createPointEmittor", "b");
    system.stringAction("createVolumetricEmittor", "a");
    for (const char* name : {"a", "b"}) {
        ParticleEmittor* emittor = system.find(name);
        emittor->setInterval(0.0f);  // fills its ring of one at once
        emittor->setMaxParticles(1);
        scene.manager.stringAction(std::string("sparks.") + name + ".enableEmitting", "true");
    }
    ParticleJournal& journal = scene.journal;
    scene.manager.storeVisualisation("rings", std::make_unique<RecordingVisualisation>(journal), nullptr);
    scene.addDots("sparks");
    system.stringAction("addParticleVisualisation", "rings");
    system.replaceTrace(std::unique_ptr<Trace>(new RecordingTrace(&system, journal)), "trails");

    system.update(0.5);

    const std::vector<std::string> expected = {"dots sparks.a", "rings sparks.a", "trails sparks.a",
                                               "dots sparks.b", "rings sparks.b", "trails sparks.b"};
    EXPECT_EQ(journal.calls(), expected);
    // While a is drawn, b has not spawned yet; ring sizes in name order a, b.
    EXPECT_EQ(journal.entries[0].ringSizes, (std::vector<int>{1, 0}));
    EXPECT_EQ(journal.entries[3].ringSizes, (std::vector<int>{1, 1}));
    // The physical strategy's first call of the frame takes the whole step from 0 to 0.5: a's
    // particle is drawn where it moved to, b's (stepped second, with no time left) where it was born.
    Particle* a = (*system.find("a")->getParticles())[0];
    Particle* b = (*system.find("b")->getParticles())[0];
    EXPECT_FLOAT_EQ(a->lastStep, 0.5f);
    EXPECT_EQ(b->lastStep, 0.0f);
    expectVector(journal.entries[3].first, 0.0f, 1.0f, 0.0f);
}

TEST(ParticleSystem, ASystemWithoutEmittersDrawsNothingAndOneWithoutRenderersStillMoves)
{
    Scene scene;
    scene.system("empty");
    scene.addDots("empty");
    scene.manager.update(1.0);
    EXPECT_TRUE(scene.journal.entries.empty());

    ParticleSystem& bare = scene.system("bare");
    bare.stringAction("createPointEmittor", "pointEmittor1");
    bare.intAction("runTest", 4);  // interval 0: ten particles at once
    scene.manager.stringAction("bare.pointEmittor1.enableEmitting", "true");
    scene.manager.update(1.5);
    EXPECT_TRUE(scene.journal.entries.empty());
    RingBuffer<Particle>& ring = *bare.find("pointEmittor1")->getParticles();
    ASSERT_EQ(ring.size(), 10);
    // The new system's strategy steps from 0 to 1.5 in one go: launched from (0, 1, 0) at the
    // velocity before gravity's 1.5 s were added.
    for (int i = 0; i < ring.size(); ++i) {
        const Particle& p = *ring[i];
        EXPECT_FLOAT_EQ(p.lastStep, 1.5f);
        const Vector launch = p.velocity - Vector(0.0f, -9.8f, 0.0f) * 1.5f;
        const Vector expected = Vector(0.0f, 1.0f, 0.0f) + launch * 1.5f;
        EXPECT_NEAR(p.position.x, expected.x, 1e-4f);
        EXPECT_NEAR(p.position.y, expected.y, 1e-4f);
        EXPECT_NEAR(p.position.z, expected.z, 1e-4f);
        EXPECT_GT(p.position.y, 10.0f);  // at least 6 units per second upwards
    }
}

TEST(ParticleSystem, TheSameVisualisationAddedTwiceDrawsEveryRingTwice)
{
    Scene scene;
    ParticleSystem& system = scene.system("s");
    system.stringAction("createPointEmittor", "e");
    scene.addDots("s");
    scene.addDots("s");
    ASSERT_EQ(system.getVisualisations().size(), 2u);
    system.update(0.0);
    EXPECT_EQ(scene.journal.calls(), (std::vector<std::string>{"dots s.e", "dots s.e"}));
}

TEST(ParticleSystem, AnUnknownVisualisationNameThrowsAndLeavesTheListAsItWas)
{
    Scene scene;
    ParticleSystem& system = scene.system("s");
    scene.addDots("s");
    EXPECT_EQ(exceptionMessage([&] { system.stringAction("addParticleVisualisation", "smoke"); }),
              "KelvoEngineException::::Factory<ParticleVisualisation>Exception::find() - Unable to find component "
              "\"smoke\".");
    EXPECT_EQ(system.getVisualisations().size(), 1u);

    ParticleSystem orphan(nullptr);  // made by code without a manager: it has no visualisations to find
    EXPECT_NE(exceptionMessage([&] { orphan.addParticleVisualisation("dots"); }).find("Unable to find component"),
              std::string::npos);
    EXPECT_TRUE(orphan.getVisualisations().empty());
}

// A fountain made by actions, its one particle set on a known course after launch; frames at
// chosen times carry it down under gravity (Euler steps of 0.1 and 0.2 s) until it touches the
// ground plane of set-up 1 and bounces off, restarting from its newest trail point.
TEST(ParticleSystem, AFountainParticleFallsAndBouncesOffTheGroundAtAChosenTime)
{
    Scene scene;
    ParticleSystem& fountain = scene.system("fountain");
    scene.manager.stringAction("fountain.createPointEmittor", "pointEmittor1");
    scene.manager.intAction("fountain.runTest", 1);
    scene.addDots("fountain");

    fountain.update(0.0);  // off: the next spawn is due one interval (0.1 s) later
    scene.manager.stringAction("fountain.pointEmittor1.enableEmitting", "true");
    fountain.update(0.15);
    scene.manager.stringAction("fountain.pointEmittor1.enableEmitting", "false");
    RingBuffer<Particle>& ring = *fountain.find("pointEmittor1")->getParticles();
    ASSERT_EQ(ring.size(), 1);
    Particle& p = *ring[0];
    ASSERT_EQ(p.trail.size(), 1);  // sampled at the launch position before its first step
    p.position = Vector(0.0f, 0.5f, 0.0f);
    p.velocity = Vector(1.0f, 0.0f, 0.0f);
    p.size = 0.3f;  // touches the plane below a plane value of 0.09

    struct Frame {
        double time;
        Vector drawnAt;  // after the move and the collision
        Vector velocity;
    } frames[] = {
        {0.25, Vector(0.1f, 0.5f, 0.0f), Vector(1.0f, -0.98f, 0.0f)},
        {0.45, Vector(0.3f, 0.304f, 0.0f), Vector(1.0f, -2.94f, 0.0f)},
        // Moved to (0.4, 0.01, 0), within its size of the ground: 1.6 times the downward speed is
        // taken off, and it restarts from (0.3, 0.304, 0) along the new velocity for 0.1 s.
        {0.55, Vector(0.4f, 0.5392f, 0.0f), Vector(1.0f, 2.352f, 0.0f)},
        {0.65, Vector(0.5f, 0.7744f, 0.0f), Vector(1.0f, 1.372f, 0.0f)},
    };
    for (const Frame& frame : frames) {
        SCOPED_TRACE(frame.time);
        scene.journal.entries.clear();
        fountain.update(frame.time);
        ASSERT_EQ(scene.journal.entries.size(), 1u);
        EXPECT_EQ(scene.journal.entries[0].count, 1);
        expectVector(scene.journal.entries[0].first, frame.drawnAt.x, frame.drawnAt.y, frame.drawnAt.z);
        expectVector(p.velocity, frame.velocity.x, frame.velocity.y, frame.velocity.z);
    }
    EXPECT_NEAR(p.energy, 1.0f - 0.5f * 0.1f, 1e-6f);  // faded by age since its birth at 0.15
}

// Set-up 3 on a box shrunk to one point 0.35 above the ground and particles of size 0.1: the
// particle sinks at 0.3 units per second, sways along its 3-second curve, and sticks when its
// height falls below 0.01 (its size squared).
TEST(ParticleSystem, SetUpThreeSinksParticlesAlongTheirCurveUntilTheyStickToTheGround)
{
    Scene scene;
    ParticleSystem& snow = scene.system("snow");
    scene.manager.stringAction("snow.createVolumetricEmittor", "volumetricEmittor1");
    scene.manager.intAction("snow.runTest", 3);
    VolumetricEmittor* emittor = dynamic_cast<VolumetricEmittor*>(snow.find("volumetricEmittor1"));
    ASSERT_NE(emittor, nullptr);
    emittor->setVolume(Vector(1.0f, 0.35f, 0.0f), Vector(1.0f, 0.35f, 0.0f));
    emittor->setSizeRange(0.0f);

    snow.update(0.0);
    scene.manager.stringAction("snow.volumetricEmittor1.enableEmitting", "true");
    snow.update(0.35);  // one spawn (due at 0.3), stepped at age 0
    scene.manager.stringAction("snow.volumetricEmittor1.enableEmitting", "false");
    RingBuffer<Particle>& ring = *emittor->getParticles();
    ASSERT_EQ(ring.size(), 1);
    Particle& p = *ring[0];

    struct Frame {
        double time;
        float height;
        bool alive;
    } frames[] = {
        {0.35, 0.35f, true},
        {1.35, 0.05f, true},  // age 1: moved by the curve's value there, (0.3, -0.3, 0), for 1 s
        // Age 1.15: down to 0.005, below 0.01, so it is lifted by 0.1 - sqrt(0.005) and stops.
        {1.5, 0.0342893f, false},
        {2.35, 0.0342893f, false},
    };
    float stuckX = 0.0f;
    for (const Frame& frame : frames) {
        SCOPED_TRACE(frame.time);
        snow.update(frame.time);
        EXPECT_NEAR(p.position.y, frame.height, 1e-5f);
        EXPECT_EQ(p.alive, frame.alive);
        if (frame.time == 1.35) {
            EXPECT_NEAR(p.position.x, 1.3f, 1e-5f);
        }
        if (frame.time == 1.5)
            stuckX = p.position.x;
    }
    EXPECT_EQ(p.position.x, stuckX);
    EXPECT_EQ(p.energy, 1.0f);  // life mode 0: nothing fades
}

TEST(ParticleSystem, EachSetUpConfiguresItsEmitterCollisionAndMotion)
{
    struct Case {
        int number;
        const char* emittor;
        bool volumetric;
        float interval;
        int capacity;
        int lifeMode;
        float maxDistanceSquared;
        float planeHeight;  // of the one plane added
        int colliderMode;
        bool predefinedPath;
    } cases[] = {
        {1, "pointEmittor1", false, 0.1f, 60, 1, 4.0f, 0.0f, PlaneCollider::BOUNCE, false},
        {2, "pointEmittor1", false, 0.0f, 60, 2, 100.0f, 0.0f, PlaneCollider::BOUNCE, false},
        {3, "volumetricEmittor1", true, 0.3f, 200, 0, 4.0f, 0.0f, PlaneCollider::STICK, true},
        {4, "pointEmittor1", false, 0.0f, 10, 1, 4.0f, -2.0f, PlaneCollider::BOUNCE, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        Scene scene;
        ParticleSystem& system = scene.system("s");
        system.stringAction(c.volumetric ? "createVolumetricEmittor" : "createPointEmittor", c.emittor);
        system.intAction("runTest", c.number);
        EXPECT_EQ(system.getTestId(), c.number);
        ParticleEmittor* emittor = system.find(c.emittor);
        EXPECT_FLOAT_EQ(emittor->getInterval(), c.interval);
        EXPECT_EQ(emittor->getParticles()->getCapacity(), c.capacity);
        EXPECT_EQ(emittor->getLifeMode(), c.lifeMode);
        EXPECT_FLOAT_EQ(emittor->getMaxDistanceSquared(), c.maxDistanceSquared);
        const PlaneCollider collider = system.getCollider();
        ASSERT_EQ(collider.getPlanes().size(), 1u);
        EXPECT_FLOAT_EQ(collider.getPlanes()[0].getD(), -c.planeHeight);
        EXPECT_FLOAT_EQ(collider.getPlanes()[0].getNormal().y, 1.0f);
        EXPECT_EQ(collider.getMode(), c.colliderMode);
        EXPECT_EQ(dynamic_cast<PredefinedPathCreation*>(system.getPathCreation()) != nullptr, c.predefinedPath);
    }
}

// Set-up 5 on its box at ground level: particles rise at 0.3 units per second, sway over 0.75 s
// and fade by their distance from (0.2, 0, 0.2), half the box's extent.
TEST(ParticleSystem, SetUpFiveLetsParticlesRiseAndFadeByDistance)
{
    Random::seed(5);
    Scene scene;
    ParticleSystem& system = scene.system("steam");
    system.stringAction("createVolumetricEmittor", "volumetricEmittor1");
    system.intAction("runTest", 5);
    EXPECT_EQ(system.getTestId(), 5);
    VolumetricEmittor* emittor = dynamic_cast<VolumetricEmittor*>(system.find("volumetricEmittor1"));
    expectVector(emittor->getReference(), 0.2f, 0.0f, 0.2f);
    EXPECT_EQ(emittor->getParticles()->getCapacity(), 150);
    EXPECT_FLOAT_EQ(emittor->getInterval(), 0.05f);
    EXPECT_TRUE(system.getCollider().getPlanes().empty());

    system.update(0.0);
    scene.manager.stringAction("steam.volumetricEmittor1.enableEmitting", "true");
    system.update(0.07);  // one spawn, due at 0.05
    scene.manager.stringAction("steam.volumetricEmittor1.enableEmitting", "false");
    RingBuffer<Particle>& ring = *emittor->getParticles();
    ASSERT_EQ(ring.size(), 1);
    Particle& p = *ring[0];
    const Vector born = p.position;
    EXPECT_EQ(born.y, 0.0f);

    system.update(0.82);  // age 0.75: one whole sway, frame 3 wraps to frame 0: (0, 0.3, 0)
    expectVector(p.position, born.x, 0.225f, born.z);
    // Measured by the emitter before this frame's move, where the particle was born.
    const Vector d = Vector(0.2f, 0.0f, 0.2f) - born;
    EXPECT_NEAR(p.energy, (4.0f - d.length(true)) / 4.0f, 1e-6f);
}

TEST(ParticleSystem, SetUpEdgeCases)
{
    {
        SCOPED_TRACE("an unknown number records 0 and changes nothing");
        Scene scene;
        ParticleSystem& system = scene.system("s");
        system.stringAction("createPointEmittor", "pointEmittor1");
        system.intAction("runTest", 2);
        system.intAction("runTest", 7);
        EXPECT_EQ(system.getTestId(), 0);
        EXPECT_EQ(system.getCollider().getPlanes().size(), 1u);
        system.action("endTest");  // nothing to end after set-up 2
        EXPECT_TRUE(system.exists("pointEmittor1"));
    }
    {
        SCOPED_TRACE("a missing emitter throws after the number is recorded");
        Scene scene;
        ParticleSystem& system = scene.system("s");
        EXPECT_EQ(exceptionMessage([&] { system.intAction("runTest", 1); }),
                  "KelvoEngineException::::Factory<ParticleEmittor>Exception::find() - Unable to find component "
                  "\"pointEmittor1\".");
        EXPECT_EQ(system.getTestId(), 1);
        EXPECT_TRUE(system.getCollider().getPlanes().empty());
    }
    {
        SCOPED_TRACE("set-up 1 three times adds three ground planes");
        Scene scene;
        ParticleSystem& system = scene.system("s");
        system.stringAction("createPointEmittor", "pointEmittor1");
        for (int i = 0; i < 3; ++i)
            system.intAction("runTest", 1);
        const PlaneCollider collider = system.getCollider();
        ASSERT_EQ(collider.getPlanes().size(), 3u);
        for (const Plane& plane : collider.getPlanes()) {
            EXPECT_EQ(plane.getD(), 0.0f);
            EXPECT_EQ(plane.getNormal().y, 1.0f);
        }
    }
    {
        SCOPED_TRACE("set-up 4 without an emitter still adds its plane");
        Scene scene;
        ParticleSystem& system = scene.system("s");
        system.intAction("runTest", 4);
        EXPECT_EQ(system.getTestId(), 4);
        ASSERT_EQ(system.getCollider().getPlanes().size(), 1u);
        EXPECT_FLOAT_EQ(system.getCollider().getPlanes()[0].getD(), 2.0f);
    }
    {
        SCOPED_TRACE("a box set-up on a point emitter named like a box emitter changes nothing");
        Scene scene;
        ParticleSystem& system = scene.system("s");
        system.stringAction("createPointEmittor", "volumetricEmittor1");
        PathCreation* before = system.getPathCreation();
        for (int number : {3, 5}) {
            EXPECT_EQ(exceptionMessage([&] { system.intAction("runTest", number); }),
                      "KelvoEngineException::::ParticleSystemException::runTest() - Emitter \"volumetricEmittor1\" "
                      "is no volumetric emitter.");
            EXPECT_EQ(system.getTestId(), number);
        }
        EXPECT_EQ(system.getPathCreation(), before);
        EXPECT_EQ(system.find("volumetricEmittor1")->getParticles()->getCapacity(), 10);
        EXPECT_TRUE(system.getCollider().getPlanes().empty());
    }
}

TEST(ParticleSystem, EndTestAfterSetUpOneErasesTheFountainEmitter)
{
    Scene scene;
    ParticleSystem& system = scene.system("s");
    scene.addDots("s");
    system.stringAction("createPointEmittor", "pointEmittor1");
    system.stringAction("createPointEmittor", "pointEmittor2");
    system.intAction("runTest", 1);
    system.action("endTest");

    EXPECT_FALSE(system.exists("pointEmittor1"));
    EXPECT_NE(exceptionMessage([&] { scene.manager.stringAction("s.pointEmittor1.enableEmitting", "true"); })
                  .find("childStringAction() - Child action \"pointEmittor1\" not found!"),
              std::string::npos);
    system.update(1.0);
    EXPECT_EQ(scene.journal.calls(), (std::vector<std::string>{"dots s.pointEmittor2"}));

    // A second end finds no child of that name any more.
    EXPECT_EQ(exceptionMessage([&] { system.action("endTest"); }),
              "KelvoEngineException::::ActionControllableException::removeChildAction() - Child action object "
              "\"pointEmittor1\" not found!");
}

TEST(ParticleSystem, ErasingANameThatIsAChildButNoEmitterThrowsTheRegistryError)
{
    Scene scene;
    ParticleSystem& system = scene.system("s");
    system.replaceTrace(std::unique_ptr<Trace>(new RecordingTrace(&system, scene.journal)), "trails");
    EXPECT_EQ(exceptionMessage([&] { system.eraseEmittor("trails"); }),
              "KelvoEngineException::::Factory<ParticleEmittor>Exception::erase() - Unable to find component "
              "\"trails\".");
}

TEST(ParticleSystem, ANewEmitterUnderATakenNameReplacesTheEarlierOne)
{
    Scene scene;
    ParticleSystem& system = scene.system("s");
    scene.addDots("s");
    system.stringAction("createPointEmittor", "e");
    scene.manager.stringAction("s.e.enableEmitting", "true");
    system.stringAction("createVolumetricEmittor", "e");

    ParticleEmittor* e = system.find("e");
    EXPECT_NE(dynamic_cast<VolumetricEmittor*>(e), nullptr);
    EXPECT_EQ(e->getName(), "e");
    EXPECT_FALSE(e->isEmitting());
    scene.manager.stringAction("s.e.enableEmitting", "true");
    EXPECT_TRUE(e->isEmitting());
    EXPECT_EQ(system.size(), 1);
}

TEST(ParticleSystem, ASecondTraceReplacesTheFirstAndItsChildName)
{
    Scene scene;
    ParticleSystem& system = scene.system("s");
    bool firstDeleted = false;
    system.replaceTrace(std::unique_ptr<Trace>(new RecordingTrace(&system, scene.journal, &firstDeleted)), "lines");
    system.replaceTrace(std::unique_ptr<Trace>(new RecordingTrace(&system, scene.journal)), "streaks");

    EXPECT_TRUE(firstDeleted);
    EXPECT_EQ(system.getTrace()->getName(), "streaks");
    EXPECT_EQ(system.getTrace()->getOwner(), &system);
    // The new trace is a child that answers no action; the old name reaches nothing.
    EXPECT_EQ(exceptionMessage([&] { system.action("streaks.draw"); }),
              "KelvoEngineException::::ActionException::action() - Action \"draw\" not found!");
    EXPECT_EQ(exceptionMessage([&] { system.action("lines.draw"); }),
              "KelvoEngineException::::ActionControllableException::childAction() - Child action \"lines\" not "
              "found!");
}

TEST(ParticleSystem, AStrategyGivenToTheSystemMovesItsParticlesAndStaysItsGivers)
{
    Scene scene;
    ParticleSystem& system = scene.system("s");
    system.stringAction("createVolumetricEmittor", "volumetricEmittor1");
    scene.manager.stringAction("createPhysicalPathCreation", "drift");
    PhysicalPathCreation* drift = scene.manager.Factory<PhysicalPathCreation>::find("drift");
    drift->setGravity(Vector(0.0f, 0.0f, 0.0f));
    system.setPathCreation(drift);
    ParticleEmittor* emittor = system.find("volumetricEmittor1");
    emittor->setInterval(0.0f);
    emittor->setMaxParticles(1);
    emittor->enableEmitting("true");

    system.update(1.0);  // the strategy's first step covers 0 to 1
    Particle& p = *(*emittor->getParticles())[0];
    const Vector launched = p.velocity;
    system.update(1.5);  // no gravity: straight on at the launch velocity
    expectVector(p.position, launched.x * 1.5f, launched.y * 1.5f, launched.z * 1.5f);

    system.intAction("runTest", 3);  // replaces the strategy in use, which is not the system's to delete
    RingBuffer<Particle> ring(1);
    drift->step(2.0, &ring);  // still alive (the sanitizer build would report a freed one)
    EXPECT_NE(system.getPathCreation(), drift);

    system.setPathCreation(nullptr);
    system.update(3.0);  // set-up 3 emptied the ring; spawns anew
    ASSERT_GT(emittor->getParticles()->size(), 0);
    const Particle& spawned = *(*emittor->getParticles())[0];
    const Vector before = spawned.position;
    system.update(3.5);
    expectVector(spawned.position, before.x, before.y, before.z);  // no strategy: nothing moves
}
