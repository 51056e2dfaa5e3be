#include "Audio.h"

#include <cctype>
#include <cmath>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "Instruments.h"

namespace {
const double SECONDS_PER_BEAT = 0.5;  // 120 beats a minute, four beats a bar
const double THEME_END = 12.0;        // seconds
const double MUSIC_END = 20.0;

struct Note {
    double beat;   // start, in beats from the beginning of the tune
    double beats;  // length
    int pitch;     // MIDI note number
};

// The MIDI number of a name such as C4, F#3 or Bb2.
int pitchOf(const std::string& name)
{
    static const int SEMITONES[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (name.size() < 2 || name[0] < 'A' || name[0] > 'G')
        throw std::invalid_argument("bad note name " + name);
    int pitch = SEMITONES[name[0] - 'A'];
    size_t at = 1;
    if (name[at] == '#' || name[at] == 'b')
        pitch += name[at++] == '#' ? 1 : -1;
    return pitch + 12 * (std::stoi(name.substr(at)) + 1);
}

// Notes written as "C5:1 E5:0.5 R:0.5 C4+E4+G4:2 | ...": pitch names joined by '+' sound together,
// R is a rest, the number after ':' is the length in beats, '|' marks a bar and is skipped.
std::vector<Note> parse(const std::string& line, double startBeat)
{
    std::vector<Note> notes;
    std::istringstream words(line);
    std::string word;
    double beat = startBeat;
    while (words >> word) {
        if (word == "|")
            continue;
        const size_t colon = word.find(':');
        if (colon == std::string::npos)
            throw std::invalid_argument("note without length: " + word);
        const double beats = std::stod(word.substr(colon + 1));
        std::istringstream chord(word.substr(0, colon));
        std::string name;
        while (std::getline(chord, name, '+'))
            if (name != "R")
                notes.push_back({beat, beats, pitchOf(name)});
        beat += beats;
    }
    return notes;
}

// line repeated times over, one copy after the other.
std::string repeat(const std::string& line, int times)
{
    std::string all;
    for (int i = 0; i < times; ++i)
        all += line + " | ";
    return all;
}

void play(Sound& sound, const std::string& line, double startBeat, const Instrument& instrument, double gain,
          double pan)
{
    for (const Note& note : parse(line, startBeat)) {
        const double frequency = noteFrequency(note.pitch);
        const double held = note.beats * SECONDS_PER_BEAT;
        const size_t first = static_cast<size_t>(note.beat * SECONDS_PER_BEAT * Sound::RATE);
        const size_t count = static_cast<size_t>((held + instrument.release) * Sound::RATE);
        for (size_t i = 0; i < count; ++i)
            sound.add(first + i, gain * instrument.sample(frequency, static_cast<double>(i) / Sound::RATE, held), pan);
    }
}
}

Sound introMusic()
{
    Sound sound(MUSIC_END);
    const double coda = THEME_END / SECONDS_PER_BEAT;  // the coda's first beat

    play(sound,
         "G4:0.5 C5:0.5 E5:1 D5:0.5 C5:0.5 E5:1 | A5:1 G5:0.5 E5:0.5 C5:2 | "
         "F5:0.5 E5:0.5 F5:0.5 A5:0.5 G5:1 F5:1 | D5:0.5 E5:0.5 F5:0.5 D5:0.5 G5:2 | "
         "G4:0.5 C5:0.5 E5:1 D5:0.5 C5:0.5 G5:1 | F5:0.5 E5:0.5 D5:0.5 B4:0.5 C5:2",
         0.0, LEAD, 0.3, 0.15);
    play(sound,
         "C3:1 G2:1 C3:1 G2:1 | A2:1 E2:1 A2:1 E2:1 | F2:1 C3:1 F2:1 C3:1 | G2:1 D3:1 G2:1 D3:1 | "
         "C3:1 G2:1 C3:1 G2:1 | G2:1 D3:1 C3:2",
         0.0, BASS, 0.45, 0.0);
    play(sound,
         "C4+E4+G4:4 | A3+C4+E4:4 | F3+A3+C4:4 | G3+B3+D4:4 | C4+E4+G4:4 | G3+B3+F4:2 C4+E4+G4:2",
         0.0, PAD, 0.12, -0.2);
    play(sound, repeat("C2:1 R:1 C2:1 R:1", 6), 0.0, KICK, 0.55, 0.0);
    play(sound, repeat("R:1 C2:1 R:1 C2:1", 6), 0.0, SNARE, 0.18, 0.1);
    play(sound, repeat("C2:0.5", 48), 0.0, HAT, 0.07, 0.35);

    play(sound, "A5:2 G5:2 | E5:2 C5:2 | D5:2 B4:2 | C5:4", coda, BELL, 0.22, -0.3);
    play(sound, "F3+A3+C4:4 | C4+E4+G4:4 | G3+B3+D4:4 | C4+E4+G4:4", coda, PAD, 0.08, 0.2);
    play(sound, "F2:4 | C3:4 | G2:4 | C2:4", coda, BASS, 0.25, 0.0);

    sound.fadeOut(THEME_END + 2.0, MUSIC_END);
    sound.normalise(MUSIC_PEAK);
    return sound;
}
