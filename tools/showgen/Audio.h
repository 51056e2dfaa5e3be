#ifndef SHOWGEN_AUDIO_H
#define SHOWGEN_AUDIO_H

#include "Random.h"
#include "Sound.h"

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
