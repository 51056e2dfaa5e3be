#include "ParticleManager.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "PhysicalPathCreation.h"
#include "PointEmittor.h"
#include "RecordingParticleParts.h"
#include "TestSupport.h"
#include "VolumetricEmittor.h"

namespace {
// A visualisation with a scriptable side, as the camera-facing kinds have: one string action.
class LabelledVisualisation : public RecordingVisualisation, public Action<LabelledVisualisation> {
public:
    explicit LabelledVisualisation(ParticleJournal& journal) : RecordingVisualisation(journal)
    {
        addStringAction("setLabel", &LabelledVisualisation::setLabel);
    }
    void setLabel(std::string value) { label = value; }
    std::string label;
};
}

TEST(ParticleManager, ObjectsCreatedByNameAreReachedThroughDottedPaths)
{
    ParticleManager manager(nullptr);
    manager.stringAction("createParticleSystem", "fire");
    manager.stringAction("fire.createPointEmittor", "sparks");
    manager.stringAction("fire.createVolumetricEmittor", "embers");
    manager.stringAction("fire.sparks.enableEmitting", "true");
    manager.stringAction("createPhysicalPathCreation", "wind");

    ParticleSystem* fire = manager.Factory<ParticleSystem>::find("fire");
    EXPECT_EQ(fire->getManager(), &manager);
    ParticleEmittor* sparks = fire->find("sparks");
    EXPECT_NE(dynamic_cast<PointEmittor*>(sparks), nullptr);
    EXPECT_EQ(sparks->getName(), "sparks");
    EXPECT_TRUE(sparks->isEmitting());
    EXPECT_FALSE(fire->find("embers")->isEmitting());
    EXPECT_NE(dynamic_cast<VolumetricEmittor*>(fire->find("embers")), nullptr);
    // The strategy is a child that answers no action.
    EXPECT_TRUE(manager.Factory<PhysicalPathCreation>::exists("wind"));
    EXPECT_EQ(exceptionMessage([&] { manager.floatAction("wind.setGravity", 1.0f); }),
              "KelvoEngineException::::ActionException::floatAction() - Action \"setGravity\" not found!");

    ParticleJournal journal;
    auto made = std::make_unique<LabelledVisualisation>(journal);
    LabelledVisualisation& glow = *made;
    manager.storeVisualisation("glow", std::move(made), &glow);
    EXPECT_EQ(glow.getName(), "glow");
    EXPECT_EQ(manager.findVisualisation("glow"), &glow);
    manager.stringAction("glow.setLabel", "warm");
    EXPECT_EQ(glow.label, "warm");
}

TEST(ParticleManager, SystemsAreUpdatedInNameOrderOncePerCall)
{
    ParticleManager manager(nullptr);
    ParticleJournal journal;
    manager.storeVisualisation("dots", std::make_unique<RecordingVisualisation>(journal), nullptr);
    manager.update(0.0);  // no systems: nothing is drawn
    EXPECT_TRUE(journal.entries.empty());

    // Created in the order smoke, Fire, fire: byte-wise names put Fire first.
    for (const char* name : {"smoke", "Fire", "fire"}) {
        manager.stringAction("createParticleSystem", name);
        journal.watch(manager.Factory<ParticleSystem>::find(name), name);
        manager.stringAction(std::string(name) + ".createPointEmittor", "pointEmittor1");
        manager.intAction(std::string(name) + ".runTest", 4);  // interval 0: a full ring of ten at once
        manager.stringAction(std::string(name) + ".addParticleVisualisation", "dots");
        manager.stringAction(std::string(name) + ".pointEmittor1.enableEmitting", "true");
    }
    manager.update(0.5);

    EXPECT_EQ(journal.calls(),
              (std::vector<std::string>{"dots Fire.pointEmittor1", "dots fire.pointEmittor1", "dots smoke.pointEmittor1"}));
    // Ring sizes in the order watched (smoke, Fire, fire): when Fire is drawn, the others have not
    // spawned yet.
    EXPECT_EQ(journal.entries[0].ringSizes, (std::vector<int>{0, 10, 0}));
    EXPECT_EQ(journal.entries[2].ringSizes, (std::vector<int>{10, 10, 10}));
}

TEST(ParticleManager, ARepeatedSystemNameHandsTheNameToTheNewSystem)
{
    ParticleManager manager(nullptr);
    ParticleJournal journal;
    manager.storeVisualisation("dots", std::make_unique<RecordingVisualisation>(journal), nullptr);

    manager.stringAction("createParticleSystem", "rain");
    ParticleSystem* first = manager.Factory<ParticleSystem>::find("rain");
    manager.stringAction("rain.createPointEmittor", "old");
    manager.stringAction("rain.addParticleVisualisation", "dots");
    manager.stringAction("createParticleSystem", "rain");
    ParticleSystem* second = manager.Factory<ParticleSystem>::find("rain");
    ASSERT_NE(first, second);
    manager.stringAction("rain.createPointEmittor", "new");
    manager.stringAction("rain.addParticleVisualisation", "dots");
    journal.watch(first, "first");
    journal.watch(second, "second");

    manager.update(1.0);
    EXPECT_EQ(journal.calls(), (std::vector<std::string>{"dots second.new"}));
    EXPECT_EQ(manager.Factory<ParticleSystem>::size(), 1);
    EXPECT_TRUE(first->exists("old"));  // the earlier system lives on, unreachable by name
}

TEST(ParticleManager, AnUnknownVisualisationIsAFactoryError)
{
    ParticleManager manager(nullptr);
    EXPECT_EQ(exceptionMessage([&] { manager.findVisualisation("sparkle"); }),
              "KelvoEngineException::::Factory<ParticleVisualisation>Exception::find() - Unable to find component "
              "\"sparkle\".");
}
