#ifndef SHOWGEN_AUDIO_H
#define SHOWGEN_AUDIO_H

#include "Random.h"
#include "Sound.h"

// Peak levels (of full scale) of the music and of each voice clip. Only one voice speaks at a
// time, and the mixer adds it to the music, so the two sum to 0.85: the loudest mix stays more than
// 1 dB (0.891) below full scale, with room for the music's Vorbis coding to overshoot a little.
const double MUSIC_PEAK = 0.47;
const double VOICE_PEAK = 0.38;

// The intro's tune: a bright theme of twelve seconds, as long as the intro, then a soft coda that
// dies away by twenty seconds under the scene that follows.
Sound introMusic();

// How one character's babble sounds.
struct VoiceProfile {
    double pitch;               // Hz, the middle of the speaking voice
    double pitchRange;          // semitones each syllable may wander up or down
    double formantScale;        // 1 for an adult's vowels; above 1 a smaller creature, below a larger one
    double syllablesPerSecond;
    double breath;              // 0..1, share of breathy noise
    double growl;               // 0..1, depth of a fast rough flutter
    double pan;                 // -1 left .. 1 right: where the character stands
};

extern const VoiceProfile KI_VOICE;  // small, high and quick, on the left
extern const VoiceProfile RO_VOICE;  // big, low and gruff, on the right

// An utterance of random vowel-like syllables lasting seconds.
Sound babble(const VoiceProfile& voice, double seconds, Random& random);

#endif
