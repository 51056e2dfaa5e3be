#include "SoundEngine.h"

#include "Log.h"
#include "ResourceLoader.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

SoundEngine* SoundEngine::instance = nullptr;

SoundEngine* SoundEngine::getInstance()
{
    if (!instance)
        instance = new SoundEngine();
    return instance;
}

SoundEngine::SoundEngine()
    : Factory<SampleBank>("Factory<SampleBank>"), music(nullptr), frequency(44100), format(AUDIO_S16LSB), channels(2),
      chunkSize(2048)
{
    setClassName("Action<SoundEngine>");
    if (Mix_OpenAudio(frequency, format, channels, chunkSize) != 0) {
        KELVO_LOG(LogLevel::error) << "SoundEngine() - Unable to open audio!" << logEnd;
        return;
    }
    // Without a device the timeline cannot reach the engine's actions at all.
    addStringAction("load", &SoundEngine::load);
    addAction("play", &SoundEngine::play);
    addAction("stop", &SoundEngine::stop);
}

SoundEngine::~SoundEngine()
{
    if (music) {
        Mix_HaltMusic();
        Mix_FreeMusic(music);
    }
    music = nullptr;
    // The banks' clips are freed while the mixer that made them is still open.
    for (ComponentMap::value_type& entry : components)
        delete entry.second;
    components.clear();
    Mix_CloseAudio();
}

void SoundEngine::load(std::string file)
{
    std::string path = ResourceLoader::getResourceFilename(file);
    if (music) {
        Mix_FreeMusic(music);  // also stops it when it plays
        music = nullptr;
    }
    music = Mix_LoadMUS(path.c_str());
    if (!music)
        KELVO_LOG(LogLevel::error) << "load() - Unable to load music from \"" << path << "\"."
                     << logEnd;
}

void SoundEngine::play()
{
    KELVO_LOG(LogLevel::info) << "play() - Playing sound." << logEnd;
    // Once, no repetition; with no music held the mixer refuses and nothing plays.
    Mix_PlayMusic(music, 0);
}

void SoundEngine::stop()
{
    KELVO_LOG(LogLevel::error) << "stop() - Stop is unimplemented." << logEnd;
}

int SoundEngine::getFrequency() const
{
    return frequency;
}

int SoundEngine::getBytesPerSample() const
{
    return bytesPerSample(format);
}

int SoundEngine::getChannels() const
{
    return channels;
}

int SoundEngine::bytesPerSample(Uint16 format)
{
    switch (format) {
    case AUDIO_U8:
    case AUDIO_S8:
        return 1;
    case AUDIO_U16LSB:
    case AUDIO_U16MSB:
    case AUDIO_S16LSB:
    case AUDIO_S16MSB:
        return 2;
    default:
        return 0;
    }
}
