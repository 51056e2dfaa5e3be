#include "TovoEnvironment.h"

#include <GL/gl.h>

#include "Log.h"
#include "Random.h"
#include "SampleBank.h"
#include "SoundEngine.h"
#include "Texture.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {

bool debugLogged()
{
    return Log::getInstance()->getLevel() >= LogLevel::debug;
}

// Seconds from the first rendered frame to the first decision.
const float FIRST_DECISION_DELAY = 3.0f;
}

TovoEnvironment::TovoEnvironment()
    : kiState(0), roState(0), kiBank(nullptr), roBank(nullptr), talking(false), nextEventTime(-1.0f), endTime(-1.0f),
      rendered(false), lastRenderTime(0.0)
{
    setClassName("Action<TovoEnvironment>");
    addFloatAction("setEndTime", &TovoEnvironment::setEndTime);
}

TovoEnvironment::~TovoEnvironment() = default;

void TovoEnvironment::setEndTime(float time)
{
    endTime = time;
}

void TovoEnvironment::loadResources()
{
    if (resourcesLoaded)
        return;

    const Vector scale(1.5f, 1.5f, 1.0f);
    const Vector kiPosition(-0.7f, -0.25f, 0.0f);
    const Vector roPosition(0.5f, -0.25f, 0.0f);
    struct SpriteSetup {
        AnimatedSprite* sprite;
        const char* prefix;
        Vector position;
        bool talking;  // talking flip-books turn faster, with jitter
    };
    const SpriteSetup setups[] = {
        {&kiSprites[0], "ki/idle/b0", kiPosition, false},
        {&roSprites[0], "ro/idle/b0", roPosition, false},
        {&kiSprites[1], "ki/talk/b0", kiPosition, true},
        {&roSprites[1], "ro/talk/b0", roPosition, true},
    };
    for (const SpriteSetup& setup : setups) {
        setup.sprite->setTextureManager(&textureManager);
        setup.sprite->loadImageSequence(setup.prefix);
        setup.sprite->setPosition(setup.position);
        setup.sprite->setScale(scale);
        if (setup.talking)
            setup.sprite->setFrameTime(0.3f, 0.1f);
    }

    SoundEngine* engine = SoundEngine::getInstance();
    // Both names are taken before either bank loads: a second scene of this kind fails here.
    engine->create("KiPankki", engine);
    engine->create("RoPankki", engine);
    kiBank = engine->find("KiPankki");
    kiBank->setSoundEngine(engine);
    kiBank->loadSamples("ki/wavs/Keplo", "wav");
    roBank = engine->find("RoPankki");
    roBank->setSoundEngine(engine);
    roBank->loadSamples("ro/wavs/Zarpo", "wav");

    // Clamped, so the edges of the images never pick up texels from the opposite side.
    for (const TextureManager::ComponentMap::value_type& entry : textureManager.getTextures()) {
        entry.second->repeatS = false;
        entry.second->repeatT = false;
    }

    resourcesLoaded = true;
}

void TovoEnvironment::initialize()
{
    if (initialized)
        return;
    loadResources();
    setViewState();
    kiState = 0;
    roState = 0;
    talking = false;
    nextEventTime = -1.0f;
    initialized = true;
}

void TovoEnvironment::setViewState()
{
    setFlatView();
    // Each image multiplies what lies beneath it: white parts leave the white background as it is.
    glEnable(GL_BLEND);
    glBlendFunc(GL_ZERO, GL_SRC_COLOR);
}

void TovoEnvironment::render(double time)
{
    if (!initialized) {
        KELVO_LOG(LogLevel::warning) << "render() - Not initialized. Initializing.." << logEnd;
        initialize();
    }

    if (nextEventTime < 0.0f) {
        nextEventTime = static_cast<float>(time + FIRST_DECISION_DELAY);
    } else if (rendered && time < lastRenderTime) {
        // The clock went back (the timer's "reset", "set" or "loopAt"): what was left of the
        // current wait or utterance counts from the new time, instead of waiting for the clock to
        // catch up with a schedule made on the old one.
        nextEventTime = static_cast<float>(time + (nextEventTime - lastRenderTime));
    }
    rendered = true;
    lastRenderTime = time;

    if (time > nextEventTime) {
        if (talking)
            startIdleSequence(time);
        else
            startTalkSequence(time);
    }

    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    // Only the shown flip-book of each character advances.
    kiSprites[kiState].render(time);
    roSprites[roState].render(time);
}

void TovoEnvironment::startIdleSequence(double time)
{
    kiState = 0;
    roState = 0;
    talking = false;

    const float c = 1.0f / 32767;
    const int a = Random::next();
    float wait;
    // About 70 % of the pauses are short.
    if (a * c < 0.7) {
        wait = Random::next() * (0.8f / 32767) + 0.2f;  // 0.2 .. 1.0 s
        if (debugLogged())
            KELVO_LOG(LogLevel::debug) << "startIdleSequence() - Short wait for "
                                << static_cast<double>(wait) << " seconds." << logEnd;
    } else {
        wait = Random::next() * (4.0f / 32767) + 3.0f;  // 3 .. 7 s
        if (debugLogged())
            KELVO_LOG(LogLevel::debug) << "startIdleSequence() - Long wait for "
                                << static_cast<double>(wait) << " seconds." << logEnd;
    }
    nextEventTime = static_cast<float>(wait + time);
}

void TovoEnvironment::startTalkSequence(double time)
{
    // An odd draw lets Ki speak, an even one Ro.
    const bool kiSpeaks = Random::next() % 2 == 1;
    kiState = kiSpeaks ? 1 : 0;
    roState = kiSpeaks ? 0 : 1;
    SampleBank* bank = kiSpeaks ? kiBank : roBank;
    const char* speaker = kiSpeaks ? "Ki" : "Ro";

    double duration = 0.0;  // seconds
    if (bank) {
        bank->pickRandomSample();
        duration = bank->getSampleDuration();
    }
    if (duration <= 0.0) {
        // An empty bank (its files missing or unreadable, or no audio device): nothing to say, so
        // both stay idle for a pause rather than "talk" for no time at all.
        if (debugLogged())
            KELVO_LOG(LogLevel::debug) << "startTalkSequence() - " << speaker
                                << " has no clips; waiting instead." << logEnd;
        startIdleSequence(time);
        return;
    }

    nextEventTime = static_cast<float>(duration + time);
    if (endTime > 0.0f && duration + time > endTime) {
        startIdleSequence(time);
        return;
    }
    if (debugLogged())
        KELVO_LOG(LogLevel::debug) << "startTalkSequence() - " << speaker
                            << " talks for " << duration << " seconds." << logEnd;
    bank->play();
    talking = true;
}
