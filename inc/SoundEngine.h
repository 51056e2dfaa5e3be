#ifndef KELVO_SOUNDENGINE_H
#define KELVO_SOUNDENGINE_H

#include <SDL/SDL_mixer.h>

#include <string>

#include "Action.inl"
#include "Factory.h"
#include "SampleBank.h"

// The one connection to the audio device: opens the mixer with fixed parameters, holds one piece
// of music for the timeline ("load", "play", "stop") and keeps the sample banks by name.
class SoundEngine : public Action<SoundEngine>, public Factory<SampleBank> {
public:
    // The single instance; the first call opens the audio device. Deleted only by the shutdown.
    static SoundEngine* getInstance();

    // The registry's lookup, not the action table's.
    using Factory<SampleBank>::find;

    // file is a resource name; a missing file throws ResourceLoaderException.
    void load(std::string file);
    void play();
    void stop();

    // The parameters the engine asked the device for (not necessarily the ones it granted).
    int getFrequency() const;       // Hz
    int getBytesPerSample() const;  // bytes of one single-channel sample
    int getChannels() const;

    // Bytes of one single-channel sample of an SDL audio format; 0 for a format it does not know.
    static int bytesPerSample(Uint16 format);

    // Frees the music, the banks and closes the device.
    ~SoundEngine() override;

private:
    SoundEngine();
    SoundEngine(const SoundEngine&) = delete;
    SoundEngine& operator=(const SoundEngine&) = delete;

    static SoundEngine* instance;

    Mix_Music* music;  // owned; null when none is loaded
    int frequency;     // Hz
    Uint16 format;
    int channels;
    int chunkSize;     // sample frames in the mixer's output buffer
};

#endif
