#include "Files.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "OutputFile.h"
#include "Sound.h"

namespace {
const int CHANNELS = 2;
const int BYTES_PER_SAMPLE = 2;  // 16-bit signed
const uint16_t FORMAT_PCM = 1;

void putU16(std::string& out, uint16_t value)
{
    out.push_back(static_cast<char>(value & 0xff));
    out.push_back(static_cast<char>(value >> 8));
}

void putU32(std::string& out, uint32_t value)
{
    putU16(out, static_cast<uint16_t>(value & 0xffff));
    putU16(out, static_cast<uint16_t>(value >> 16));
}

int16_t toPcm(float value)
{
    return static_cast<int16_t>(std::lround(std::clamp(value, -1.0f, 1.0f) * 32767.0f));
}
}

void writeWav(const std::string& path, const Sound& sound)
{
    const uint32_t blockAlign = CHANNELS * BYTES_PER_SAMPLE;
    const uint32_t dataBytes = static_cast<uint32_t>(sound.frames()) * blockAlign;
    std::string out = "RIFF";
    putU32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    putU32(out, 16);  // size of the format chunk
    putU16(out, FORMAT_PCM);
    putU16(out, CHANNELS);
    putU32(out, Sound::RATE);
    putU32(out, Sound::RATE * blockAlign);  // bytes per second
    putU16(out, static_cast<uint16_t>(blockAlign));
    putU16(out, BYTES_PER_SAMPLE * 8);
    out += "data";
    putU32(out, dataBytes);
    for (size_t frame = 0; frame < sound.frames(); ++frame)
        for (int channel = 0; channel < CHANNELS; ++channel)
            putU16(out, static_cast<uint16_t>(toPcm(sound.sample(channel, frame))));

    OutputFile file(path);
    file.write(out.data(), out.size());
    file.close();
}
