#include "Sound.h"

#include <algorithm>
#include <cmath>

#include "Pi.h"

namespace {
int16_t toPcm(float value)
{
    return static_cast<int16_t>(std::lround(std::clamp(value, -1.0f, 1.0f) * 32767.0f));
}
}

Sound::Sound(double seconds)
    : left(static_cast<size_t>(std::lround(seconds * RATE))), right(left.size())
{
}

void Sound::add(size_t frame, double value, double pan)
{
    if (frame >= frames())
        return;
    // Equal-power panning: the two gains keep the loudness as a sound moves across.
    const double angle = (pan + 1.0) * 0.25 * PI;
    left[frame] += static_cast<float>(value * std::cos(angle));
    right[frame] += static_cast<float>(value * std::sin(angle));
}

void Sound::fadeOut(double from, double to)
{
    for (size_t frame = static_cast<size_t>(from * RATE); frame < frames(); ++frame) {
        const double gain = std::clamp((to - static_cast<double>(frame) / RATE) / (to - from), 0.0, 1.0);
        left[frame] *= static_cast<float>(gain);
        right[frame] *= static_cast<float>(gain);
    }
}

double Sound::loudest() const
{
    float loudest = 0.0f;
    for (size_t frame = 0; frame < frames(); ++frame)
        loudest = std::max({loudest, std::fabs(left[frame]), std::fabs(right[frame])});
    return loudest;
}

void Sound::normalise(double peak)
{
    const double before = loudest();
    if (before == 0.0)
        return;
    const float gain = static_cast<float>(peak / before);
    for (size_t frame = 0; frame < frames(); ++frame) {
        left[frame] *= gain;
        right[frame] *= gain;
    }
}

void Sound::saturate(double drive)
{
    const double peak = loudest();
    if (peak == 0.0)
        return;
    const double scale = peak / std::tanh(drive);
    for (std::vector<float>* channel : {&left, &right})
        for (float& value : *channel)
            value = static_cast<float>(scale * std::tanh(drive * value / peak));
}

std::vector<int16_t> Sound::pcm() const
{
    std::vector<int16_t> samples;
    samples.reserve(frames() * CHANNELS);
    for (size_t frame = 0; frame < frames(); ++frame)
        for (int channel = 0; channel < CHANNELS; ++channel)
            samples.push_back(toPcm(sample(channel, frame)));
    return samples;
}
