#include "ParticleSystem.h"

#include "LineTrace.h"
#include "MeshEmittor.h"
#include "ParticleManager.h"
#include "ParticleVisualisation.h"
#include "PhysicalPathCreation.h"
#include "Plane.h"
#include "PointEmittor.h"
#include "PredefinedPathCreation.h"
#include "Trace.h"
#include "VolumetricEmittor.h"
#include "keyframer/TCBVectorInterpolator.h"

namespace {
// A looping velocity curve over frames 0 to 3 that sways sideways (x 0, +0.3, -0.3, 0) while
// moving vertically at verticalSpeed units per second. fps: frames per second, so one sway takes
// 3 / fps seconds.
TCBVectorInterpolator swayingPath(float fps, float verticalSpeed)
{
    TCBVectorInterpolator path(fps);
    path.addKey(0.0f, Vector(0.0f, verticalSpeed, 0.0f));
    path.addKey(1.0f, Vector(0.3f, verticalSpeed, 0.0f));
    path.addKey(2.0f, Vector(-0.3f, verticalSpeed, 0.0f));
    path.addKey(3.0f, Vector(0.0f, verticalSpeed, 0.0f));
    path.setRange(0.0f, 3.0f);
    path.setLoop(true);
    return path;
}
}

ParticleSystem::ParticleSystem(ParticleManager* manager)
    : Factory<ParticleEmittor>("Factory<ParticleEmittor>"),
      pathCreation(nullptr),
      manager(manager),
      testId(0)
{
    replaceOwnedPathCreation(std::unique_ptr<PathCreation>(new PhysicalPathCreation()));
    setClassName("Action<ParticleSystem>");
    addStringAction("createPointEmittor", &ParticleSystem::createPointEmittor);
    addStringAction("createVolumetricEmittor", &ParticleSystem::createVolumetricEmittor);
    addStringAction("createMeshEmittor", &ParticleSystem::createMeshEmittor);
    addStringAction("createLineTrace", &ParticleSystem::createLineTrace);
    addStringAction("addParticleVisualisation", &ParticleSystem::addParticleVisualisation);
    addIntAction("runTest", &ParticleSystem::runTest);
    addAction("endTest", &ParticleSystem::endTest);
}

ParticleSystem::~ParticleSystem() = default;

void ParticleSystem::createPointEmittor(std::string name)
{
    std::unique_ptr<PointEmittor> emittor(new PointEmittor());
    ActionControllable* actionPart = emittor.get();
    adoptEmittor(std::move(emittor), actionPart, name);
}

void ParticleSystem::createVolumetricEmittor(std::string name)
{
    std::unique_ptr<VolumetricEmittor> emittor(new VolumetricEmittor());
    ActionControllable* actionPart = emittor.get();
    adoptEmittor(std::move(emittor), actionPart, name);
}

void ParticleSystem::createMeshEmittor(std::string name)
{
    std::unique_ptr<MeshEmittor> emittor(new MeshEmittor(this));
    ActionControllable* actionPart = emittor.get();
    adoptEmittor(std::move(emittor), actionPart, name);
}

void ParticleSystem::adoptEmittor(std::unique_ptr<ParticleEmittor> emittor, ActionControllable* actionPart,
                                  const std::string& name)
{
    emittor->setName(name);
    addChildAction(actionPart, name);
    // The emittor replaced goes at once: only this system drew from it.
    if (exists(name))
        erase(name);
    store(name, std::move(emittor));
}

void ParticleSystem::addParticleVisualisation(std::string name)
{
    if (manager == nullptr)
        throw ComponentNotFoundException("Factory<ParticleVisualisation>",
                                         "find() - Unable to find component \"" + name + "\".");
    addVisualisation(manager->findVisualisation(name));
}

void ParticleSystem::addVisualisation(ParticleVisualisation* visualisation)
{
    if (visualisation != nullptr)
        visualisations.push_back(visualisation);
}

void ParticleSystem::createLineTrace(std::string name)
{
    replaceTrace(std::unique_ptr<Trace>(new LineTrace(this)), name);
}

void ParticleSystem::replaceTrace(std::unique_ptr<Trace> newTrace, const std::string& name)
{
    if (trace) {
        removeChildAction(trace->getName());
        trace.reset();
    }
    newTrace->setName(name);
    trace = std::move(newTrace);
    addChildAction(trace.get(), name);
}

void ParticleSystem::setPathCreation(PathCreation* strategy)
{
    pathCreation = strategy;
}

void ParticleSystem::replaceOwnedPathCreation(std::unique_ptr<PathCreation> strategy)
{
    // A strategy given by setPathCreation is its giver's to delete; the system only drops it.
    ownedPathCreation = std::move(strategy);
    pathCreation = ownedPathCreation.get();
}

void ParticleSystem::eraseEmittor(const std::string& name)
{
    removeChildAction(name);
    erase(name);
}

void ParticleSystem::update(double time)
{
    for (const auto& entry : components) {
        RingBuffer<Particle>* ring = entry.second->emit(time);
        if (pathCreation != nullptr)
            pathCreation->step(time, ring);
        collider.collide(ring);
        for (ParticleVisualisation* visualisation : visualisations)
            visualisation->renderAll(ring);
        if (trace)
            trace->renderAll(ring);
    }
}

void ParticleSystem::runTest(int number)
{
    testId = number;
    switch (number) {
    case 1: {
        ParticleEmittor* emittor = Factory<ParticleEmittor>::find("pointEmittor1");
        emittor->setInterval(0.1f);
        emittor->setMaxParticles(60);
        emittor->setSize(0.3f);
        collider.addPlane(Plane());
        break;
    }
    case 2: {
        ParticleEmittor* emittor = Factory<ParticleEmittor>::find("pointEmittor1");
        emittor->setSize(0.25f);
        emittor->setLifeMode(2);
        emittor->setMaxDistance(10.0f);
        emittor->setInterval(0.0f);
        emittor->setMaxParticles(60);
        collider.addPlane(Plane());
        break;
    }
    case 3: {
        VolumetricEmittor* emittor = findVolumetricEmittor("volumetricEmittor1");
        emittor->setLifeMode(0);
        emittor->setMaxParticles(200);
        emittor->setSize(0.1f);
        emittor->setSizeRange(0.05f);
        emittor->setInterval(0.3f);
        emittor->setVolume(Vector(-5.0f, 4.0f, -5.0f), Vector(5.0f, 5.0f, 10.0f));
        // Sinking at 0.3 units per second, swaying over 3 seconds.
        std::unique_ptr<PredefinedPathCreation> strategy(new PredefinedPathCreation());
        strategy->addPath(swayingPath(1.0f, -0.3f));
        replaceOwnedPathCreation(std::move(strategy));
        collider.addPlane(Plane());
        collider.setMode(PlaneCollider::STICK);
        break;
    }
    case 4: {
        // Without an emitter the ground plane is still added.
        if (!components.empty())
            components.begin()->second->setInterval(0.0f);
        collider.addPlane(Plane(Point(Vector(0.0f, -2.0f, 0.0f)), Vector(0.0f, 1.0f, 0.0f)));
        break;
    }
    case 5: {
        VolumetricEmittor* emittor = findVolumetricEmittor("volumetricEmittor1");
        emittor->setSize(0.2f);
        emittor->setLifeMode(2);
        emittor->setInterval(0.05f);
        emittor->setMaxParticles(150);
        emittor->setSizeRange(0.05f);
        emittor->setVolume(Vector(-0.2f, 0.0f, -0.2f), Vector(0.2f, 0.0f, 0.2f));
        // Rising at 0.3 units per second, swaying over 0.75 seconds.
        std::unique_ptr<PredefinedPathCreation> strategy(new PredefinedPathCreation());
        strategy->addPath(swayingPath(4.0f, 0.3f));
        replaceOwnedPathCreation(std::move(strategy));
        break;
    }
    default:
        testId = 0;
        break;
    }
}

VolumetricEmittor* ParticleSystem::findVolumetricEmittor(const std::string& name) const
{
    VolumetricEmittor* emittor = dynamic_cast<VolumetricEmittor*>(Factory<ParticleEmittor>::find(name));
    // A box set-up on another kind of emitter would set a volume it does not have.
    if (emittor == nullptr)
        throw ParticleSystemException("runTest() - Emitter \"" + name + "\" is no volumetric emitter.");
    return emittor;
}

void ParticleSystem::endTest()
{
    if (testId == 1)
        eraseEmittor("pointEmittor1");
}

ParticleSystemException::ParticleSystemException(const std::string& message)
{
    addSource("ParticleSystemException");
    appendMessage(message);
}
