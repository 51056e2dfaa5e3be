#ifndef KELVO_RECORDINGSCENE_H
#define KELVO_RECORDINGSCENE_H

#include <memory>
#include <string>
#include <vector>

#include "EnvironmentController.h"
#include "GenericEnvironment.h"

// A scene that records every call the controller makes on it, in order ("initialize",
// "loadResources", "view", "render <time>"), and sets the flags as a real scene would.
class RecordingScene : public GenericEnvironment {
public:
    void initialize() override
    {
        calls.push_back("initialize");
        initialized = true;
    }
    void loadResources() override
    {
        calls.push_back("loadResources");
        resourcesLoaded = true;
    }
    void render(double time) override
    {
        calls.push_back("render");
        renderTimes.push_back(time);
    }
    void setViewState() override { calls.push_back("view"); }

    bool isInitialized() const { return initialized; }
    bool areResourcesLoaded() const { return resourcesLoaded; }

    std::vector<std::string> calls;
    std::vector<double> renderTimes;  // playback seconds of each render
};

// A new recording scene that controller takes under name, with actions as its scripting part.
inline RecordingScene& registerRecordingScene(EnvironmentController& controller, const std::string& name,
                                              ActionControllable* actions = nullptr)
{
    return static_cast<RecordingScene&>(
        *controller.registerEnvironment(name, std::make_unique<RecordingScene>(), actions));
}

#endif
