#include "SoundEngine.h"

#include <strings.h>

#include "Log.h"
#include "ResourceLoader.h"
#include "SoundFile.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {
// The kind of music a file's extension names, in any case, as the mixer guesses it from a file
// name first: a WAVE file named ".ogg" is still read as Ogg, and fails. MUS_NONE, the mixer's
// guess from the first bytes, for any other name.
Mix_MusicType musicTypeOf(const std::string& file)
{
    const std::string::size_type dot = file.rfind('.');
    if (dot == std::string::npos)
        return MUS_NONE;
    const std::string extension = file.substr(dot + 1);
    auto is = [&extension](const char* name) { return strcasecmp(extension.c_str(), name) == 0; };
    if (is("wav"))
        return MUS_WAV;
    if (is("mid") || is("midi") || is("kar"))
        return MUS_MID;
    if (is("ogg"))
        return MUS_OGG;
    if (is("flac"))
        return MUS_FLAC;
    return MUS_NONE;
}
}

SoundEngine* SoundEngine::instance = nullptr;

SoundEngine* SoundEngine::getInstance()
{
    if (!instance)
        instance = new SoundEngine();
    return instance;
}

SoundEngine::SoundEngine()
    : Factory<SampleBank>("Factory<SampleBank>"), music(nullptr), musicStream(nullptr), deviceOpen(false),
      loadWarned(false), playWarned(false), stopWarned(false), frequency(44100), format(AUDIO_S16LSB), channels(2),
      chunkSize(2048)
{
    setClassName("Action<SoundEngine>");
    deviceOpen = Mix_OpenAudio(frequency, format, channels, chunkSize) == 0;
    if (!deviceOpen)
        KELVO_LOG(LogLevel::error) << "SoundEngine() - Unable to open audio!" << logEnd;
    // Registered whatever the device, so that a show with sound plays silently without one.
    addStringAction("load", &SoundEngine::load);
    addAction("play", &SoundEngine::play);
    addAction("stop", &SoundEngine::stop);
}

SoundEngine::~SoundEngine()
{
    if (music)
        Mix_HaltMusic();
    freeMusic();
    // The banks' clips are freed while the mixer that made them is still open.
    clear();
    Mix_CloseAudio();
}

void SoundEngine::freeMusic()
{
    if (music)
        Mix_FreeMusic(music);  // also stops it when it plays
    music = nullptr;
    if (musicStream)
        SDL_FreeRW(musicStream);
    musicStream = nullptr;
    std::vector<uint8_t>().swap(musicBytes);
}

bool SoundEngine::hasDevice(const char* action, bool& warned)
{
    if (deviceOpen)
        return true;
    if (!warned)
        KELVO_LOG(LogLevel::warning) << "no audio device: " << action << " does nothing" << logEnd;
    warned = true;
    return false;
}

void SoundEngine::load(std::string file)
{
    if (!hasDevice("load", loadWarned))
        return;
    std::string path = ResourceLoader::getResourceFilename(file);
    freeMusic();
    std::vector<uint8_t> bytes;
    std::string cause = SoundFile::read(file, bytes);
    std::string shortened;
    if (cause.empty())
        cause = SoundFile::whyRefused(bytes, shortened);
    if (!shortened.empty())
        KELVO_LOG(LogLevel::warning) << "load() - The music " << quoted(path) << " is cut short: " << shortened << "."
                                     << logEnd;
    if (!cause.empty()) {
        KELVO_LOG(LogLevel::error) << "load() - Unable to load music from \"" << path << "\". Cause: " << cause << "."
                                   << logEnd;
        return;
    }
    // The mixer reads the music from the stream while it plays, so the stream and the bytes stay
    // until the music is freed; the stream is closed here, not by the mixer.
    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    music = stream ? Mix_LoadMUSType_RW(stream, musicTypeOf(path), 0) : nullptr;
    if (!music) {
        if (stream)
            SDL_FreeRW(stream);
        KELVO_LOG(LogLevel::error) << "load() - Unable to load music from \"" << path << "\"." << logEnd;
        return;
    }
    musicStream = stream;
    musicBytes.swap(bytes);
}

void SoundEngine::play()
{
    if (!hasDevice("play", playWarned))
        return;
    KELVO_LOG(LogLevel::info) << "play() - Playing sound." << logEnd;
    // Once, no repetition; with no music held the mixer refuses and nothing plays.
    Mix_PlayMusic(music, 0);
}

void SoundEngine::stop()
{
    if (!hasDevice("stop", stopWarned))
        return;
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
