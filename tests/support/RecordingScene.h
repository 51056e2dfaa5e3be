#ifndef KELVO_RECORDINGSCENE_H
#define KELVO_RECORDINGSCENE_H

#include <string>
#include <vector>

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

#endif
