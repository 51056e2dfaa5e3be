#include "Instruments.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "Pi.h"

namespace {
// An attack-decay-sustain-release level: rises over attack, falls to sustain over decay, and after
// held falls to 0 over release (all in seconds).
double envelope(double t, double held, double attack, double decay, double sustain, double release)
{
    double level;
    if (t < attack)
        level = t / attack;
    else if (t < attack + decay)
        level = 1.0 - (1.0 - sustain) * (t - attack) / decay;
    else
        level = sustain;
    if (t > held)
        level *= std::max(0.0, 1.0 - (t - held) / release);
    return level;
}

// A sum of the first count harmonics of frequency, harmonic k weighted by weight(k); those at 8 kHz
// and above are left out so that nothing folds back.
template <typename Weight>
double harmonics(double frequency, double phase, int count, Weight weight)
{
    double value = 0.0;
    for (int k = 1; k <= count && k * frequency < 8000.0; ++k)
        value += weight(k) * std::sin(k * phase);
    return value;
}

// Repeatable white noise in -1..1 for a time, so drums sound the same on every run.
double noise(double t)
{
    uint32_t x = static_cast<uint32_t>(t * 44100.0) * 2654435761u;
    x ^= x >> 15;
    x *= 2246822519u;
    x ^= x >> 13;
    return (x & 0xffff) / 32767.5 - 1.0;
}

double lead(double frequency, double t, double held)
{
    const double vibrato = 1.0 + 0.004 * std::sin(TWO_PI * 5.5 * t) * std::min(1.0, t * 3.0);
    const double phase = TWO_PI * frequency * vibrato * t;
    const double tone = harmonics(frequency, phase, 12, [](int k) { return k % 2 == 1 ? 1.0 / k : 0.25 / k; });
    return 0.5 * tone * envelope(t, held, 0.01, 0.15, 0.6, 0.08);
}

double bell(double frequency, double t, double)
{
    const double modulation = 2.0 * std::exp(-t * 6.0) * std::sin(TWO_PI * frequency * 3.5 * t);
    return std::sin(TWO_PI * frequency * t + modulation) * std::exp(-t * 2.5) * std::min(1.0, t * 400.0);
}

double bass(double frequency, double t, double held)
{
    const double phase = TWO_PI * frequency * t;
    const double tone = harmonics(frequency, phase, 9, [](int k) { return k % 2 == 1 ? 1.0 / (k * k) : 0.0; });
    return tone * envelope(t, held, 0.005, 0.25, 0.4, 0.05);
}

double pad(double frequency, double t, double held)
{
    double value = 0.0;
    for (double detune : {0.997, 1.0, 1.004})
        value += harmonics(frequency, TWO_PI * frequency * detune * t, 4, [](int k) { return 0.5 / k; });
    return 0.3 * value * envelope(t, held, 0.3, 0.5, 0.8, 0.6);
}

double kick(double, double t, double)
{
    // The pitch falls from 150 Hz towards 45 Hz; the phase is the integral of that frequency.
    const double phase = TWO_PI * (45.0 * t + 105.0 * (1.0 - std::exp(-t * 30.0)) / 30.0);
    return std::sin(phase) * std::exp(-t * 9.0);
}

double snare(double, double t, double)
{
    return (0.6 * noise(t) + 0.4 * std::sin(TWO_PI * 190.0 * t)) * std::exp(-t * 18.0);
}

double hat(double, double t, double)
{
    return noise(t + 17.0) * std::exp(-t * 60.0);
}
}

const Instrument LEAD{0.08, lead};
const Instrument BELL{1.5, bell};
const Instrument BASS{0.05, bass};
const Instrument PAD{0.6, pad};
const Instrument KICK{0.5, kick};
const Instrument SNARE{0.3, snare};
const Instrument HAT{0.1, hat};

double noteFrequency(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }
