#include "SampleBank.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <sys/stat.h>

#include <cstdint>
#include <vector>

#include "Log.h"
#include "Random.h"
#include "ResourceLoader.h"
#include "SoundEngine.h"
#include "SoundFile.h"
#include "StringUtil.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

SampleBank::SampleBank() : currentIndex(0), engine(nullptr) {}

SampleBank::SampleBank(SoundEngine* owner) : currentIndex(0), engine(owner) {}

SampleBank::~SampleBank()
{
    for (Mix_Chunk* sample : samples)
        Mix_FreeChunk(sample);
}

void SampleBank::setName(const std::string& name)
{
    this->name = name;
}

std::string SampleBank::getName() const
{
    return name;
}

void SampleBank::setSoundEngine(SoundEngine* engine)
{
    this->engine = engine;
}

namespace {
// The clip of the resource name, converted by the mixer to the device's format; null with
// cause set when there is none.
Mix_Chunk* loadSample(const std::string& name, std::string& cause)
{
    std::vector<uint8_t> bytes;
    cause = SoundFile::read(name, bytes);
    std::string shortened;
    if (cause.empty())
        cause = SoundFile::whyRefused(bytes, shortened);
    if (!cause.empty())
        return nullptr;
    if (!shortened.empty())
        KELVO_LOG(LogLevel::warning) << "loadSamples() - The sample " << quoted(name) << " is cut short: " << shortened
                                     << "." << logEnd;
    // The mixer copies what it decodes, so the bytes need not outlive the call; it closes the
    // stream itself.
    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    Mix_Chunk* sample = stream ? Mix_LoadWAV_RW(stream, 1) : nullptr;
    if (!sample)
        cause = SDL_GetError();
    return sample;
}
}

void SampleBank::loadSamples(const std::string& prefix, const std::string& extension)
{
    int number = 1;
    for (;;) {
        const std::string name = prefix + toString(number) + "." + extension;
        std::string path;
        std::string cause;
        try {
            path = ResourceLoader::getResourceFilename(name);
        } catch (const ResourceLoaderException&) {
            // The first missing number ends the series; something there that is no file to read
            // (a folder, a named pipe, a device) ends it as a sample that fails to load.
            path = ResourceLoader::joinedPath(name);
            struct stat status;
            if (stat(path.c_str(), &status) != 0)
                break;
            cause = ResourceLoader::whyUnreadable(path);
        }
        Mix_Chunk* sample = cause.empty() ? loadSample(name, cause) : nullptr;
        if (!sample) {
            KELVO_LOG(LogLevel::error) << "loadSamples() - Failed to load a sample \"" << path << "\". Cause: " << cause
                                       << "." << logEnd;
            break;
        }
        samples.push_back(sample);
        ++number;
    }
    const int loaded = number - 1;
    if (loaded == 0)
        KELVO_LOG(LogLevel::error) << "loadSamples() - Unable to load samples from \"" << prefix
                     << "\"." << logEnd;
    else
        KELVO_LOG(LogLevel::info) << "loadSamples() - Loaded " << loaded << " samples to "
                     << name << "." << logEnd;
}

int SampleBank::getSampleCount() const
{
    return static_cast<int>(samples.size());
}

void SampleBank::pickRandomSample()
{
    if (samples.empty())
        return;
    currentIndex = Random::next() % static_cast<int>(samples.size());
}

double SampleBank::getSampleDuration() const
{
    if (samples.empty())
        return 0.0;
    // Clips were converted to the format the device granted, so measure them in that format;
    // the engine's requested format only stands in when no device is open.
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    long bytesPerSecond = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels))
        bytesPerSecond = static_cast<long>(channels) * SoundEngine::bytesPerSample(format) * frequency;
    else if (engine)
        bytesPerSecond = static_cast<long>(engine->getChannels()) * engine->getBytesPerSample() * engine->getFrequency();
    if (bytesPerSecond <= 0)
        return 0.0;
    return static_cast<double>(samples[currentIndex]->alen) / static_cast<double>(bytesPerSecond);
}

void SampleBank::play()
{
    if (samples.empty())
        return;
    // First free channel, once, no time limit; when every channel is busy nothing plays.
    Mix_PlayChannelTimed(-1, samples[currentIndex], 0, -1);
}
