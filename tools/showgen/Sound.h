#ifndef SHOWGEN_SOUND_H
#define SHOWGEN_SOUND_H

#include <cstddef>
#include <cstdint>
#include <vector>

// Stereo audio as floats from -1 to 1.
class Sound {
public:
    static const int RATE = 44100;  // sample frames per second, the rate the engine's mixer opens
    static const int CHANNELS = 2;  // left, right

    explicit Sound(double seconds);

    size_t frames() const { return left.size(); }
    double seconds() const { return static_cast<double>(frames()) / RATE; }

    // Adds value at frame, pan -1 (left only) to 1 (right only); frames past the end are dropped.
    void add(size_t frame, double value, double pan);
    // Multiplies everything from the time from on by a ramp down to silence at the time to (seconds).
    void fadeOut(double from, double to);
    // Scales the whole sound so that its loudest sample has the magnitude peak.
    void normalise(double peak);
    // Rounds off the loudest peaks (a tanh curve; drive above 0, larger is stronger) so that the
    // sound can be made louder without clipping. Keeps the loudest sample's magnitude.
    void saturate(double drive);

    float sample(int channel, size_t frame) const { return channel == 0 ? left[frame] : right[frame]; }
    // 16-bit signed samples, left and right interleaved frame by frame; beyond full scale clipped.
    std::vector<int16_t> pcm() const;

private:
    double loudest() const;  // magnitude of the loudest sample

    std::vector<float> left, right;
};

#endif
