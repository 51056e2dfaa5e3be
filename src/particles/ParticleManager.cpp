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
    auto system = std::make_unique<ParticleSystem>(this);
    addChildAction(system.get(), name);
    Factory<ParticleSystem>::store(name, std::move(system));
}

void ParticleManager::createSphereVisualisation(std::string name)
{
    auto visualisation = std::make_unique<SphereVisualisation>(owner);
    ActionControllable* actionPart = visualisation.get();
    storeVisualisation(name, std::move(visualisation), actionPart);
}

void ParticleManager::createSprite3DVisualisation(std::string name)
{
    auto visualisation = std::make_unique<Sprite3DVisualisation>(owner);
    ActionControllable* actionPart = visualisation.get();
    storeVisualisation(name, std::move(visualisation), actionPart);
}

void ParticleManager::createPointVisualisation(std::string name)
{
    storeVisualisation(name, std::make_unique<PointVisualisation>(), nullptr);
}

void ParticleManager::createTriangleVisualisation(std::string name)
{
    auto visualisation = std::make_unique<TriangleVisualisation>();
    ActionControllable* actionPart = visualisation.get();
    storeVisualisation(name, std::move(visualisation), actionPart);
}

void ParticleManager::createPhysicalPathCreation(std::string name)
{
    auto strategy = std::make_unique<PhysicalPathCreation>();
    addChildAction(strategy.get(), name);
    Factory<PhysicalPathCreation>::store(name, std::move(strategy));
}

void ParticleManager::storeVisualisation(const std::string& name,
                                         std::unique_ptr<ParticleVisualisation> visualisation,
                                         ActionControllable* actionPart)
{
    visualisation->setName(name);
    if (actionPart != nullptr)
        addChildAction(actionPart, name);
    Factory<ParticleVisualisation>::store(name, std::move(visualisation));
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
