#ifndef KELVO_WAVWRITER_H
#define KELVO_WAVWRITER_H

#include <cstdint>
#include <string>
#include <vector>

// The bytes of a RIFF WAVE file holding 16-bit signed PCM at frequency sample frames per second;
// samples are interleaved by channel.
std::string wavFile(int frequency, int channels, const std::vector<int16_t>& samples);

// frames sample frames of a square wave of the given amplitude (0 gives silence), period in frames.
std::vector<int16_t> squareWave(int frames, int channels, int16_t amplitude, int period = 100);

#endif
