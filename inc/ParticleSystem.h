#ifndef KELVO_PARTICLESYSTEM_H
#define KELVO_PARTICLESYSTEM_H

#include <memory>
#include <string>
#include <vector>

#include "Action.inl"
#include "Exception.h"
#include "Factory.h"
#include "ParticleEmittor.h"
#include "PlaneCollider.h"

class ActionControllable;
class ParticleManager;
class ParticleVisualisation;
class PathCreation;
class Trace;
class VolumetricEmittor;

// One particle effect: its emitters by name, one motion strategy, one plane collider, the
// visualisations that draw it and an optional trace of the trails. Once per frame update() takes
// every emitter, in name order, through the whole road: emit, move, collide, draw.
//
// Actions: "createPointEmittor", "createVolumetricEmittor", "createMeshEmittor", "createLineTrace",
// "addParticleVisualisation" (string names), "runTest" (int) and "endTest". The emitters and the
// trace become child action objects under their names.
class ParticleSystem : public Action<ParticleSystem>, public Factory<ParticleEmittor> {
public:
    // manager: the manager that created the system and holds its visualisations; not owned.
    explicit ParticleSystem(ParticleManager* manager);
    // Deletes the emitters, the trace and the motion strategy the system made itself; the
    // visualisations belong to the manager and a strategy given by setPathCreation to its giver.
    ~ParticleSystem() override;
    ParticleSystem(const ParticleSystem&) = delete;
    ParticleSystem& operator=(const ParticleSystem&) = delete;

    // The emitter registry's find, rather than the action table's lookup of the same name.
    using Factory<ParticleEmittor>::find;

    // A new emitter registered and named name; an emitter of that name before is deleted.
    void createPointEmittor(std::string name);
    void createVolumetricEmittor(std::string name);
    // Takes a model of the manager's scene apart; see MeshEmittor.
    void createMeshEmittor(std::string name);

    // Appends the manager's visualisation of that name to the draw list; throws the manager's
    // ComponentNotFoundException, leaving the list unchanged, when it has none.
    void addParticleVisualisation(std::string name);
    // Appends visualisation (not owned; it must outlive the system); null is ignored. The same
    // visualisation may be added more than once and then draws every particle that many times.
    void addVisualisation(ParticleVisualisation* visualisation);
    std::vector<ParticleVisualisation*> getVisualisations() const { return visualisations; }
    // The list itself, for drawing that must not copy it every frame.
    const std::vector<ParticleVisualisation*>& visualisationList() const { return visualisations; }

    // A LineTrace becomes the system's one trace, as replaceTrace.
    void createLineTrace(std::string name);
    // Makes trace the system's one trace under the child name name, deleting the trace before it
    // and dropping that one's child entry.
    void replaceTrace(std::unique_ptr<Trace> trace, const std::string& name);
    Trace* getTrace() const { return trace.get(); }

    PlaneCollider getCollider() const { return collider; }

    // strategy is not owned and must outlive the system or be replaced first; the strategy before
    // it is not deleted. Without a strategy (null) the particles are not moved.
    void setPathCreation(PathCreation* strategy);
    PathCreation* getPathCreation() const { return pathCreation; }

    // Removes the child action object name (ActionControllableException when there is none), then
    // deletes the emitter of that name (ComponentNotFoundException when there is none).
    void eraseEmittor(const std::string& name);

    // One frame at time (playback seconds), with the scene's camera in place for the drawing.
    // Per frame: allocates nothing beyond what the emitters, strategy and drawing need.
    void update(double time);

    // Canned set-ups of the emitters named "pointEmittor1" (1, 2), "volumetricEmittor1" (3, 5) or
    // the first emitter (4); any other number changes nothing but makes the test number 0. A set-up
    // whose emitter is missing throws ComponentNotFoundException after recording the number.
    void runTest(int number);
    // After set-up 1 erases "pointEmittor1"; otherwise nothing.
    void endTest();
    int getTestId() const { return testId; }

    ParticleManager* getManager() const { return manager; }

private:
    // Names emittor, registers actionPart as its child action object and stores it under name,
    // deleting an emitter stored under that name before: nothing else can reach that one.
    void adoptEmittor(std::unique_ptr<ParticleEmittor> emittor, ActionControllable* actionPart, const std::string& name);
    // Installs a strategy the system owns; the replaced strategy is deleted when the system owned it.
    void replaceOwnedPathCreation(std::unique_ptr<PathCreation> strategy);
    // The volumetric emitter of that name: ComponentNotFoundException when there is none,
    // ParticleSystemException when the emitter of that name is of another kind.
    VolumetricEmittor* findVolumetricEmittor(const std::string& name) const;

    std::vector<ParticleVisualisation*> visualisations;  // drawn in order; not owned
    PlaneCollider collider;
    PathCreation* pathCreation;  // the strategy in use: ownedPathCreation's or one given by its owner
    std::unique_ptr<PathCreation> ownedPathCreation;  // the last strategy the system made itself
    ParticleManager* manager;  // not owned
    std::unique_ptr<Trace> trace;
    int testId;  // the set-up "runTest" applied last
};

class ParticleSystemException : public Exception {
public:
    explicit ParticleSystemException(const std::string& message);
};

#endif
