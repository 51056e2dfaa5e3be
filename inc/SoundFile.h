#ifndef KELVO_SOUNDFILE_H
#define KELVO_SOUNDFILE_H

#include <cstdint>
#include <string>
#include <vector>

// A sound file (voice sample or music) as the mixer is given it: read whole through the resource
// loader's checked open, and, when it is a RIFF WAVE file, its header checked against what the
// mixer converts soundly before the mixer sees a byte of it.
class SoundFile {
public:
    // Reads the resource name whole into bytes. "" when it was read; otherwise why not.
    static std::string read(const std::string& name, std::vector<uint8_t>& bytes);

    // Why bytes must not reach the mixer; "" when they may. Only RIFF WAVE files are judged (a file
    // that begins with "RIFF" and is too short to say more counts as one); every other format goes
    // to the mixer as it is. A WAVE file is taken when its chunks up to the data chunk lie inside
    // the file, its format chunk is PCM with 1 or 2 channels of 8 or 16 bits at 4000 to 192000 Hz,
    // and it has a data chunk after the format chunk. A data chunk that declares more than the file
    // holds (a file cut short) is taken with its size in bytes shortened to the whole frames there
    // are; shortened then says so, for a warning ("" otherwise).
    static std::string whyRefused(std::vector<uint8_t>& bytes, std::string& shortened);
};

#endif
