#include "TovoIntroEnvironment.h"

#include <GL/gl.h>

#include "Log.h"
#include "Random.h"
#include "SoundEngine.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {
// Every track of the scene counts its key frames in seconds.
const float FRAMES_PER_SECOND = 1.0f;
const int PROP_COUNT = 5;

// Keys of a random track: 2 to 9, one a second from second 0.
int randomKeyCount()
{
    return Random::next() % 8 + 2;
}

const char* randomPropImage()
{
    static const char* const images[] = {"intro/juo", "intro/simankaato", "intro/vasara", "intro/vene",
                                         "intro/viikset"};
    return images[Random::next() % 5];
}

// Wanders over the whole view; the 10-second range loops.
TCBVectorInterpolator randomPositionTrack()
{
    TCBVectorInterpolator track(FRAMES_PER_SECOND);
    const int n = randomKeyCount();
    for (int i = 0; i < n; ++i) {
        const float x = Random::next() * (2.0f / 32767) - 1.0f;
        const float y = Random::next() * (2.0f / 32767) - 1.0f;
        track.addKey(static_cast<float>(i), Vector(x, y, 0.0f), 0.0f, 0.0f, 0.0f);
    }
    track.setRange(0.0f, 10.0f);
    track.setLoop(true);
    return track;
}

// Pulses between 0.7 and 1.1 times the image's size over a 2-second loop.
TCBVectorInterpolator randomScaleTrack()
{
    TCBVectorInterpolator track(FRAMES_PER_SECOND);
    const int n = randomKeyCount();
    for (int i = 0; i < n; ++i) {
        const float x = Random::next() * (0.4f / 32767) + 0.7f;
        const float y = Random::next() * (0.4f / 32767) + 0.7f;
        track.addKey(static_cast<float>(i), Vector(x, y, 1.0f), 0.0f, 0.0f, 0.0f);
    }
    track.setRange(0.0f, 2.0f);
    track.setLoop(true);
    return track;
}

// Drawn from -0.5 to 1 and cut to 0..1, so a third of the keys hide the prop; 5-second loop.
TCBFloatInterpolator randomAlphaTrack()
{
    TCBFloatInterpolator track(FRAMES_PER_SECOND);
    const int n = randomKeyCount();
    for (int i = 0; i < n; ++i) {
        float alpha = Random::next() * (1.5f / 32767) - 0.5f;
        if (alpha < 0.0f)
            alpha = 0.0f;
        else if (alpha > 1.0f)
            alpha = 1.0f;
        track.addKey(static_cast<float>(i), alpha, 0.0f, 0.0f, 0.0f);
    }
    track.setRange(0.0f, 5.0f);
    track.setLoop(true);
    return track;
}

// Degrees, over a 2-second loop.
TCBFloatInterpolator randomRotationTrack()
{
    TCBFloatInterpolator track(FRAMES_PER_SECOND);
    const int n = randomKeyCount();
    for (int i = 0; i < n; ++i)
        track.addKey(static_cast<float>(i), Random::next() * (360.0f / 32767), 0.0f, 0.0f, 0.0f);
    track.setRange(0.0f, 2.0f);
    track.setLoop(true);
    return track;
}
}

TovoIntroEnvironment::TovoIntroEnvironment() : startTime(-1.0f)
{
}

TovoIntroEnvironment::~TovoIntroEnvironment() = default;

void TovoIntroEnvironment::loadResources()
{
    if (resourcesLoaded)
        return;

    SoundEngine::getInstance()->load("intro/intro1.ogg");
    sprites.reserve(3 + PROP_COUNT);

    // Invisible for five seconds, fades in during the sixth; from second 6 to 10 it grows, drifts
    // and turns towards -45 degrees, and fades out in the last half second.
    KeyframedSprite title;
    title.setTextureManager(&textureManager);
    title.loadImageSequence("intro/statics/title");
    TCBFloatInterpolator titleAlpha(FRAMES_PER_SECOND);
    titleAlpha.addKey(0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    titleAlpha.addKey(5.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    titleAlpha.addKey(6.0f, 1.0f, 0.0f, 0.0f, 0.0f);
    titleAlpha.addKey(10.0f, 1.0f, 0.0f, 0.0f, 0.0f);
    titleAlpha.addKey(10.5f, 0.0f, 0.0f, 0.0f, 0.0f);
    titleAlpha.setRange(0.0f, 10.5f);
    TCBVectorInterpolator titleScale(FRAMES_PER_SECOND);
    titleScale.addKey(0.0f, Vector(1.0f, 1.0f, 1.0f), 0.0f, 0.0f, 0.0f);
    titleScale.addKey(6.0f, Vector(1.0f, 1.0f, 1.0f), 0.0f, 0.0f, 0.0f);
    titleScale.addKey(10.0f, Vector(2.3f, 1.7f, 1.0f), 0.0f, 0.0f, 0.0f);
    titleScale.setRange(0.0f, 10.0f);
    TCBVectorInterpolator titlePosition(FRAMES_PER_SECOND);
    titlePosition.addKey(0.0f, Vector(0.0f, 0.0f, 0.0f), 0.0f, 0.0f, 0.0f);
    titlePosition.addKey(6.0f, Vector(0.0f, 0.0f, 0.0f), 0.0f, 0.0f, 0.0f);
    titlePosition.addKey(10.0f, Vector(0.3f, -0.1f, 0.0f), 0.0f, 0.0f, 0.0f);
    titlePosition.setRange(0.0f, 10.0f);
    TCBFloatInterpolator titleRotation(FRAMES_PER_SECOND);  // degrees
    titleRotation.addKey(0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    titleRotation.addKey(6.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    titleRotation.addKey(10.5f, -45.0f, 0.0f, 0.0f, 0.0f);
    titleRotation.setRange(0.0f, 10.5f);
    title.setAlphaTrack(titleAlpha);
    title.setScaleTrack(titleScale);
    title.setPositionTrack(titlePosition);
    title.setRotationTrack(titleRotation);
    sprites.push_back(title);

    // Fills the view whatever the image's proportions. Its empty tracks set alpha 1 at every
    // render, so the 0.75 here never shows.
    KeyframedSprite picture;
    picture.setTextureManager(&textureManager);
    picture.loadImageSequence("intro/statics/ryhma");
    picture.setBaseScale(2.0f, 2.0f);
    picture.setFrameTime(2.0f, 0.0f);
    picture.setAlpha(0.75f);
    sprites.push_back(picture);

    for (int i = 0; i < PROP_COUNT; ++i) {
        KeyframedSprite prop;
        prop.setTextureManager(&textureManager);
        prop.loadImageSequence(randomPropImage());
        prop.setPositionTrack(randomPositionTrack());
        prop.setScaleTrack(randomScaleTrack());
        prop.setAlphaTrack(randomAlphaTrack());
        prop.setRotationTrack(randomRotationTrack());
        sprites.push_back(prop);
    }

    KeyframedSprite frame;
    frame.setTextureManager(&textureManager);
    frame.loadImageSequence("intro/statics/kehys");
    frame.setBaseScale(2.0f, 2.0f);
    frame.setFrameTime(0.5f, 0.1f);
    sprites.push_back(frame);

    resourcesLoaded = true;
}

void TovoIntroEnvironment::initialize()
{
    if (initialized)
        return;
    loadResources();
    setViewState();
    SoundEngine::getInstance()->play();
    initialized = true;
}

void TovoIntroEnvironment::setViewState()
{
    setFlatView();
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE_MINUS_SRC_ALPHA, GL_ONE_MINUS_SRC_COLOR);
}

void TovoIntroEnvironment::render(double time)
{
    if (!initialized) {
        KELVO_LOG(LogLevel::warning) << "render() - Not initialized. Initializing.." << logEnd;
        initialize();
    }
    // The first frame fixes the scene's time 0. A clock set back before it (the timer's "reset",
    // "set" or "loopAt") starts the scene over from there, rather than holding every track at its
    // first key until the clock has caught up again.
    if (startTime < 0.0f || time < startTime)
        startTime = static_cast<float>(time);

    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    // Seconds since the scene's first frame; startTime is time rounded to float, which may lie
    // a hair above it.
    double sceneTime = time - startTime;
    if (sceneTime < 0.0)
        sceneTime = 0.0;
    for (KeyframedSprite& sprite : sprites)
        sprite.render(sceneTime);
}
