#include "WavWriter.h"

namespace {
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
}

std::string wavFile(int frequency, int channels, const std::vector<int16_t>& samples)
{
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    const uint16_t blockAlign = static_cast<uint16_t>(channels * 2);
    std::string out = "RIFF";
    putU32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    putU32(out, 16);
    putU16(out, 1);  // PCM
    putU16(out, static_cast<uint16_t>(channels));
    putU32(out, static_cast<uint32_t>(frequency));
    putU32(out, static_cast<uint32_t>(frequency) * blockAlign);
    putU16(out, blockAlign);
    putU16(out, 16);
    out += "data";
    putU32(out, dataBytes);
    for (int16_t sample : samples)
        putU16(out, static_cast<uint16_t>(sample));
    return out;
}

std::vector<int16_t> squareWave(int frames, int channels, int16_t amplitude, int period)
{
    std::vector<int16_t> samples;
    samples.reserve(static_cast<size_t>(frames) * channels);
    for (int frame = 0; frame < frames; ++frame) {
        int16_t value = (frame % period) < period / 2 ? amplitude : static_cast<int16_t>(-amplitude);
        for (int channel = 0; channel < channels; ++channel)
            samples.push_back(value);
    }
    return samples;
}
