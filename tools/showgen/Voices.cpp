#include "Audio.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Pi.h"

namespace {
const double TOP_HARMONIC = 5000.0;   // Hz; harmonics above carry little of a voice
const double GLIDE_SECONDS = 0.03;    // how quickly pitch and vowel move to the next syllable's
const double CONSONANT_SECONDS = 0.04;
const double BURST_LEVEL = 0.2;      // of a consonant's noise, against the vowels' harmonics
const double GROWL_HZ = 31.0;        // rate of the rough flutter
const double EDGE_SECONDS = 0.01;     // fade at both ends of a clip, so it starts and stops clean

// The first three resonances of the vocal tract for one vowel, in Hz.
struct Vowel {
    double f1, f2, f3;
};

const Vowel VOWELS[] = {
    {730, 1090, 2440},  // a
    {530, 1840, 2480},  // e
    {270, 2290, 3010},  // i
    {570, 840, 2410},   // o
    {300, 870, 2240},   // u
    {660, 1720, 2410},  // ä
};
const double FORMANT_GAINS[] = {1.0, 0.6, 0.3};
const double FORMANT_WIDTHS[] = {90.0, 120.0, 170.0};  // Hz

struct Syllable {
    double start, length;  // seconds
    Vowel vowel;
    double semitones;      // pitch offset from the voice's middle
    bool consonant;        // starts with a burst of noise
};

std::vector<Syllable> syllables(const VoiceProfile& voice, double seconds, Random& random)
{
    std::vector<Syllable> all;
    double time = EDGE_SECONDS;
    while (time < seconds - 0.08) {
        const double length = std::min(seconds - time, random.between(0.7, 1.3) / voice.syllablesPerSecond);
        all.push_back({time, length, VOWELS[random.below(6)], random.between(-voice.pitchRange, voice.pitchRange),
                       random.chance(0.6)});
        time += length;
        if (random.chance(0.15))
            time += random.between(0.05, 0.12);  // a breath between words
    }
    return all;
}

// How strongly the vocal tract passes frequency for the vowel (a sum of three resonance peaks).
double tractGain(const Vowel& vowel, double scale, double frequency)
{
    const double formants[] = {vowel.f1 * scale, vowel.f2 * scale, vowel.f3 * scale};
    double gain = 0.0;
    for (int i = 0; i < 3; ++i) {
        const double offset = (frequency - formants[i]) / (FORMANT_WIDTHS[i] / 2);
        gain += FORMANT_GAINS[i] / (1.0 + offset * offset);
    }
    return gain;
}

// Rises over the syllable's first 20 ms and falls over its last 50 ms.
double syllableLevel(const Syllable& syllable, double t)
{
    const double into = t - syllable.start;
    return std::clamp(std::min(into / 0.02, (syllable.length - into) / 0.05), 0.0, 1.0);
}

const Syllable* syllableAt(const std::vector<Syllable>& all, double t)
{
    for (const Syllable& syllable : all)
        if (t >= syllable.start && t < syllable.start + syllable.length)
            return &syllable;
    return nullptr;
}

// Loudness of the noise burst that opens a syllable starting with a consonant.
double burstLevel(const Syllable* syllable, double t)
{
    if (syllable == nullptr || !syllable->consonant || t - syllable->start >= CONSONANT_SECONDS)
        return 0.0;
    return BURST_LEVEL * (1.0 - (t - syllable->start) / CONSONANT_SECONDS);
}

// The voice's harmonics of f0 at phase (of the fundamental, radians), shaped by the vowel.
double voiced(const VoiceProfile& voice, const Vowel& vowel, double f0, double phase)
{
    double value = 0.0;
    for (int k = 1; k * f0 < TOP_HARMONIC; ++k)
        value += tractGain(vowel, voice.formantScale, k * f0) / k * std::sin(k * phase);
    return value;
}

// The voice's state from one sample to the next: it glides towards each syllable's vowel, pitch
// and loudness rather than jumping.
struct Throat {
    Vowel vowel;
    double semitones;
    double level = 0.0;
    double phase = 0.0;  // of the fundamental, radians

    void follow(const Syllable* syllable, double t, double glide)
    {
        if (syllable != nullptr) {
            vowel.f1 += (syllable->vowel.f1 - vowel.f1) * glide;
            vowel.f2 += (syllable->vowel.f2 - vowel.f2) * glide;
            vowel.f3 += (syllable->vowel.f3 - vowel.f3) * glide;
            semitones += (syllable->semitones - semitones) * glide;
        }
        const double target = syllable != nullptr ? syllableLevel(*syllable, t) : 0.0;
        level += (target - level) * glide * 4.0;
    }
};
}

const VoiceProfile KI_VOICE{250.0, 5.0, 1.25, 7.0, 0.05, 0.0, -0.45};
const VoiceProfile RO_VOICE{100.0, 3.0, 0.92, 4.5, 0.15, 0.6, 0.45};

Sound babble(const VoiceProfile& voice, double seconds, Random& random)
{
    Sound sound(seconds);
    const std::vector<Syllable> all = syllables(voice, seconds, random);
    const bool asking = random.chance(0.3);  // a question rises at the end instead of falling
    const double glide = 1.0 - std::exp(-1.0 / (GLIDE_SECONDS * Sound::RATE));
    Throat throat{all.front().vowel, all.front().semitones};
    double lastWhite = 0.0;
    for (size_t frame = 0; frame < sound.frames(); ++frame) {
        const double t = static_cast<double>(frame) / Sound::RATE;
        const Syllable* syllable = syllableAt(all, t);
        throat.follow(syllable, t, glide);

        const double progress = t / seconds;
        const double contour = asking ? 5.0 * progress * progress : -2.0 * progress;  // semitones
        const double f0 = voice.pitch * std::pow(2.0, (throat.semitones + contour) / 12.0);
        throat.phase = std::fmod(throat.phase + TWO_PI * f0 / Sound::RATE, TWO_PI);
        const double flutter = 1.0 - voice.growl * 0.5 * (1.0 + std::sin(TWO_PI * GROWL_HZ * t));
        const double tone = voiced(voice, throat.vowel, f0, throat.phase) * flutter;

        // Differenced white noise: a hiss with little low end, for breath and consonants.
        const double white = random.between(-1.0, 1.0);
        const double hiss = white - lastWhite;
        lastWhite = white;

        const double edge = std::clamp(std::min(t, seconds - t) / EDGE_SECONDS, 0.0, 1.0);
        const double value = throat.level * (tone + voice.breath * hiss) + burstLevel(syllable, t) * hiss;
        sound.add(frame, edge * value, voice.pan);
    }
    sound.saturate(2.0);
    sound.normalise(VOICE_PEAK);
    return sound;
}
