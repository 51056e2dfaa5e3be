#ifndef KELVO_SOUNDENGINE_H
#define KELVO_SOUNDENGINE_H

#include <SDL/SDL_mixer.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Action.inl"
#include "Factory.h"
#include "SampleBank.h"

// The one connection to the audio device: opens the mixer with fixed parameters, holds one piece
// of music for the timeline ("load", "play", "stop") and keeps the sample banks by name. Without a
// device the three actions are still there and do nothing, each saying so once. Owns its banks,
// which it deletes before it closes the device.
class SoundEngine : public Action<SoundEngine>, public Factory<SampleBank> {
public:
    // The single instance; the first call opens the audio device. Deleted only by the shutdown.
    static SoundEngine* getInstance();

    // The registry's lookup, not the action table's.
    using Factory<SampleBank>::find;

    // file is a resource name; a missing file throws ResourceLoaderException. The file is read
    // whole and the mixer plays it from memory.
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

    // Frees the music with the stream and the bytes it is played from.
    void freeMusic();
    // True when the device is open; otherwise warns the first time the action is called.
    bool hasDevice(const char* action, bool& warned);

    static SoundEngine* instance;

    Mix_Music* music;                 // owned; null when none is loaded
    SDL_RWops* musicStream;           // owned; what the music is read from, over musicBytes
    std::vector<uint8_t> musicBytes;  // the whole music file, kept while the music is loaded
    bool deviceOpen;                  // the mixer opened the audio device
    bool loadWarned;                  // "load", "play", "stop" called without a device already
    bool playWarned;
    bool stopWarned;
    int frequency;     // Hz
    Uint16 format;
    int channels;
    int chunkSize;     // sample frames in the mixer's output buffer
};

#endif
