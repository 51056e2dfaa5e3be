#include "ParticleManager.h"

#include "ParticleSystem.h"
#include "ParticleVisualisation.h"
#include "PhysicalPathCreation.h"
#include "PointVisualisation.h"
#include "SphereVisualisation.h"
#include "Sprite3DVisualisation.h"
#include "TriangleVisualisation.h"

ParticleManager::ParticleManager(Environment* owner)
    : Factory<ParticleSystem>("Factory<ParticleSystem>"),
      Factory<ParticleVisualisation>("Factory<ParticleVisualisation>"),
      Factory<PhysicalPathCreation>("Factory<PhysicalPathCreation>"),
      owner(owner)
{
    setClassName("Action<ParticleManager>");
    addStringAction("createParticleSystem", &ParticleManager::createParticleSystem);
    addStringAction("createSphereVisualisation", &ParticleManager::createSphereVisualisation);
    addStringAction("createSprite3DVisualisation", &ParticleManager::createSprite3DVisualisation);
    addStringAction("createPointVisualisation", &ParticleManager::createPointVisualisation);
    addStringAction("createTriangleVisualisation", &ParticleManager::createTriangleVisualisation);
    addStringAction("createPhysicalPathCreation", &ParticleManager::createPhysicalPathCreation);
}

ParticleManager::~ParticleManager() = default;

void ParticleManager::createParticleSystem(std::string name)
{
    ParticleSystem* system = new ParticleSystem(this);
    addChildAction(system, name);
    Factory<ParticleSystem>::store(name, system);
}

void ParticleManager::createSphereVisualisation(std::string name)
{
    SphereVisualisation* visualisation = new SphereVisualisation(owner);
    storeVisualisation(name, visualisation, visualisation);
}

void ParticleManager::createSprite3DVisualisation(std::string name)
{
    Sprite3DVisualisation* visualisation = new Sprite3DVisualisation(owner);
    storeVisualisation(name, visualisation, visualisation);
}

void ParticleManager::createPointVisualisation(std::string name)
{
    storeVisualisation(name, new PointVisualisation(), nullptr);
}

void ParticleManager::createTriangleVisualisation(std::string name)
{
    TriangleVisualisation* visualisation = new TriangleVisualisation();
    storeVisualisation(name, visualisation, visualisation);
}

void ParticleManager::createPhysicalPathCreation(std::string name)
{
    PhysicalPathCreation* strategy = new PhysicalPathCreation();
    addChildAction(strategy, name);
    Factory<PhysicalPathCreation>::store(name, strategy);
}

void ParticleManager::storeVisualisation(const std::string& name, ParticleVisualisation* visualisation,
                                         ActionControllable* actionPart)
{
    visualisation->setName(name);
    if (actionPart != nullptr)
        addChildAction(actionPart, name);
    Factory<ParticleVisualisation>::store(name, visualisation);
}

ParticleVisualisation* ParticleManager::findVisualisation(const std::string& name) const
{
    return Factory<ParticleVisualisation>::find(name);
}

void ParticleManager::update(double time)
{
    for (const auto& entry : Factory<ParticleSystem>::getComponents())
        entry.second->update(time);
}
