#ifndef SHOWGEN_INSTRUMENTS_H
#define SHOWGEN_INSTRUMENTS_H

// The music's instruments. An instrument gives the sample of one note at t seconds after the note
// starts; held is how long the note is held (seconds), after which it dies away within release.
struct Instrument {
    double release;  // seconds a note sounds after it is let go
    double (*sample)(double frequency, double t, double held);
};

extern const Instrument LEAD;   // a round square-ish wave with vibrato
extern const Instrument BELL;   // a struck, bell-like FM tone
extern const Instrument BASS;   // a plucked triangle
extern const Instrument PAD;    // a slow, soft chord voice
extern const Instrument KICK;   // a falling sine thump; frequency unused
extern const Instrument SNARE;  // a noise burst over a short tone
extern const Instrument HAT;    // a short tick of noise

// The frequency in Hz of a MIDI note number (69 = A4 = 440 Hz).
double noteFrequency(int note);

#endif
