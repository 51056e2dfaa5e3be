#include "ParticleManager.h"

#include "ParticleSystem.h"
#include "ParticleVisualisation.h"
#include "PhysicalPathCreation.h"

ParticleManager::ParticleManager(Environment* owner)
    : Factory<ParticleSystem>("Factory<ParticleSystem>"),
      Factory<ParticleVisualisation>("Factory<ParticleVisualisation>"),
      Factory<PhysicalPathCreation>("Factory<PhysicalPathCreation>"),
      owner(owner)
{
    setClassName("Action<ParticleManager>");
    addStringAction("createParticleSystem", &ParticleManager::createParticleSystem);
    addStringAction("createPhysicalPathCreation", &ParticleManager::createPhysicalPathCreation);
}

ParticleManager::~ParticleManager() = default;

void ParticleManager::createParticleSystem(std::string name)
{
    ParticleSystem* system = new ParticleSystem(this);
    addChildAction(system, name);
    Factory<ParticleSystem>::store(name, system);
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
