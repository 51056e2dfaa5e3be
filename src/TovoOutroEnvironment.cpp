#include "TovoOutroEnvironment.h"

#include <GL/gl.h>

#include "Log.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

TovoOutroEnvironment::TovoOutroEnvironment() = default;

TovoOutroEnvironment::~TovoOutroEnvironment() = default;

void TovoOutroEnvironment::loadResources()
{
    if (resourcesLoaded)
        return;
    credits.setTextureManager(&textureManager);
    credits.loadImageSequence("outro/endcredits");
    // Fills the view whatever the pages' proportions.
    credits.setBaseScale(2.0f, 2.0f);
    credits.setFrameTime(3.0f, 0.0f);  // seconds a page, no jitter
    credits.setAlpha(1.0f);
    resourcesLoaded = true;
}

void TovoOutroEnvironment::initialize()
{
    if (initialized)
        return;
    loadResources();
    setViewState();
    initialized = true;
}

void TovoOutroEnvironment::setViewState()
{
    setFlatView();
    glDisable(GL_BLEND);
}

void TovoOutroEnvironment::render(double time)
{
    if (!initialized) {
        KELVO_LOG(LogLevel::warning) << "render() - Not initialized. Initializing.." << logEnd;
        initialize();
    }
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    // Playback time, not time since the scene's start: the first page shows at the first render.
    credits.render(time);
}
