#ifndef KELVO_PARTICLEMANAGER_H
#define KELVO_PARTICLEMANAGER_H

#include <memory>
#include <string>

#include "Action.inl"
#include "Factory.h"

class ActionControllable;
class Environment;
class ParticleSystem;
class ParticleVisualisation;
class PhysicalPathCreation;

// The root of a 3D scene's particle effects: its particle systems, the visualisations the systems
// share and physical motion strategies by name, owned by the manager (one replaced under its name
// is kept until the manager goes). The scene that owns it calls update() once per frame.
//
// Actions, string names: "createParticleSystem", "createSphereVisualisation",
// "createSprite3DVisualisation", "createPointVisualisation", "createTriangleVisualisation" and
// "createPhysicalPathCreation"; what they create becomes a child action object under its name (the
// point visualisation, which answers no action, excepted), so "<system>.<emitter>.enableEmitting"
// reaches an emitter.
class ParticleManager : public Factory<ParticleSystem>,
                        public Factory<ParticleVisualisation>,
                        public Factory<PhysicalPathCreation>,
                        public Action<ParticleManager> {
public:
    // owner: the scene whose camera the drawing uses and whose models and textures the parts look
    // up; not owned.
    explicit ParticleManager(Environment* owner);
    ~ParticleManager() override;
    ParticleManager(const ParticleManager&) = delete;
    ParticleManager& operator=(const ParticleManager&) = delete;

    // A name used before is not an error: the new object takes over the registry entry and the
    // child name, and the earlier one lives on, unreachable.
    void createParticleSystem(std::string name);
    // The sphere and sprite kinds draw in the owner scene: they need it, and a current OpenGL
    // context.
    void createSphereVisualisation(std::string name);
    void createSprite3DVisualisation(std::string name);
    void createPointVisualisation(std::string name);
    void createTriangleVisualisation(std::string name);
    void createPhysicalPathCreation(std::string name);

    // Names visualisation, registers actionPart (the visualisation's scriptable side, or null when
    // it has none) as child action object and stores the visualisation, all under name. Kept for
    // the run: the manager never deletes it.
    void storeVisualisation(const std::string& name, std::unique_ptr<ParticleVisualisation> visualisation,
                            ActionControllable* actionPart);
    // ComponentNotFoundException of "Factory<ParticleVisualisation>" when there is none of that name.
    ParticleVisualisation* findVisualisation(const std::string& name) const;

    // One frame at time (playback seconds): every system in name order. Called inside the owner's
    // drawing with its camera's modelview and projection in place.
    void update(double time);

    Environment* getOwner() const { return owner; }

private:
    Environment* owner;  // not owned
};

#endif
