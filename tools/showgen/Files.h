#ifndef SHOWGEN_FILES_H
#define SHOWGEN_FILES_H

#include <string>

class Canvas;
class Sound;

// The kinds of file the show's pictures and sounds are made of. Each creates the folders of path and throws
// std::runtime_error when the file cannot be written.

// A baseline JPEG of quality 0..100.
void writeJpeg(const std::string& path, const Canvas& canvas, int quality);
// The same with one grey component: each pixel's mean of red, green and blue.
void writeGreyJpeg(const std::string& path, const Canvas& canvas, int quality);
// A RIFF WAVE file of 16-bit signed stereo PCM at Sound::RATE.
void writeWav(const std::string& path, const Sound& sound);
// An Ogg Vorbis stream encoded with variable bit rate; quality -0.1 (smallest) to 1.0.
void writeOggVorbis(const std::string& path, const Sound& sound, float quality);

#endif
