#ifndef SHOWGEN_OGGVORBISFILE_H
#define SHOWGEN_OGGVORBISFILE_H

#include <string>

class Sound;

// An Ogg Vorbis stream encoded with variable bit rate; quality -0.1 (smallest) to 1.0. Creates the
// folders of path and throws std::runtime_error when the file cannot be written.
void writeOggVorbis(const std::string& path, const Sound& sound, float quality);

#endif
