#include "ShowFolder.h"

#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "Canvas.h"
#include "JpegWriter.h"
#include "OggVorbisFile.h"
#include "OutputFile.h"
#include "Sound.h"
#include "WavWriter.h"

namespace {
const int JPEG_QUALITY = 80;
const int MASK_QUALITY = 90;  // higher, so that the mask's edges ring less into the transparent part
const float VORBIS_QUALITY = 0.0f;  // about 64 kbit/s for stereo at 44.1 kHz

// Colour pictures keep their colour at half resolution, libjpeg's default, for smaller files.
void writeColourJpeg(const std::string& path, const Canvas& canvas)
{
    writeJpeg(path, canvas.width(), canvas.height(), 3, canvas.rgbBytes(), JPEG_QUALITY, ChromaSampling::half);
}
}

ShowFolder::ShowFolder(std::string root) : root(std::move(root)) {}

void ShowFolder::pictures(const std::string& prefix, const std::vector<Canvas>& frames)
{
    for (size_t i = 0; i < frames.size(); ++i) {
        const std::string name = prefix + std::to_string(i + 1) + ".jpg";
        writeColourJpeg(pathOf(name), frames[i]);
        report(name);
    }
}

void ShowFolder::negativePictures(const std::string& prefix, std::vector<Canvas> frames)
{
    for (Canvas& frame : frames)
        frame.invert();
    pictures(prefix, frames);
}

void ShowFolder::picture(const std::string& name, const Canvas& canvas)
{
    writeColourJpeg(pathOf(name), canvas);
    report(name);
}

void ShowFolder::maskedPicture(const std::string& name, const Canvas& canvas, const Canvas& mask)
{
    const std::string extension = ".jpg";
    if (name.size() <= extension.size() || name.compare(name.size() - extension.size(), extension.size(), extension) != 0)
        throw std::logic_error("a masked picture's name ends in .jpg: " + name);
    picture(name, canvas);
    const std::string maskName = name.substr(0, name.size() - extension.size()) + "alpha" + extension;
    writeJpeg(pathOf(maskName), mask.width(), mask.height(), 1, mask.greyBytes(), MASK_QUALITY);
    report(maskName);
}

void ShowFolder::file(const std::string& name, const std::string& bytes)
{
    OutputFile::save(pathOf(name), bytes);
    report(name);
}

void ShowFolder::wav(const std::string& name, const Sound& sound)
{
    OutputFile::save(pathOf(name), wavFile(Sound::RATE, Sound::CHANNELS, sound.pcm()));
    report(name);
}

void ShowFolder::oggVorbis(const std::string& name, const Sound& sound)
{
    writeOggVorbis(pathOf(name), sound, VORBIS_QUALITY);
    report(name);
}

std::string ShowFolder::pathOf(const std::string& name) const { return root + "/" + name; }

void ShowFolder::report(const std::string& name)
{
    const uintmax_t size = std::filesystem::file_size(pathOf(name));
    ++files;
    bytes += size;
    std::cout << name << " (" << size << " bytes)\n";
}
