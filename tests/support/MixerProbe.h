#ifndef KELVO_MIXERPROBE_H
#define KELVO_MIXERPROBE_H

#include <atomic>

// Watches the final mix SDL_mixer hands to the audio device (any driver, dummy included), from
// the mixer's own thread. Reads the stream as 16-bit samples, the engine's output format.
class MixerProbe {
public:
    MixerProbe();   // installs itself as the mixer's post-mix hook
    ~MixerProbe();  // removes the hook
    MixerProbe(const MixerProbe&) = delete;
    MixerProbe& operator=(const MixerProbe&) = delete;

    void reset();
    int peak() const;    // largest absolute sample since reset
    long bytes() const;  // bytes mixed since reset

    // Polls until at least count bytes were mixed since reset; false after timeoutMs milliseconds.
    bool waitForBytes(long count, int timeoutMs) const;
    // Polls until the peak reaches level; false after timeoutMs milliseconds.
    bool waitForPeak(int level, int timeoutMs) const;

private:
    static void postMix(void* probe, unsigned char* stream, int length);

    std::atomic<int> peakLevel;
    std::atomic<long> mixedBytes;
};

#endif
