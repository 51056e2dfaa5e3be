#ifndef SHOWGEN_SHOWFOLDER_H
#define SHOWGEN_SHOWFOLDER_H

#include <cstdint>
#include <string>
#include <vector>

class Canvas;
class Sound;

// The folder the show's data goes to: writes each file under its resource name and reports it.
class ShowFolder {
public:
    explicit ShowFolder(std::string root);

    // A numbered image sequence: prefix1.jpg, prefix2.jpg, ... in the order given.
    void pictures(const std::string& prefix, const std::vector<Canvas>& frames);
    // The same, each picture stored as its negative (for scenes whose blending subtracts).
    void negativePictures(const std::string& prefix, std::vector<Canvas> frames);
    // One picture under its resource name.
    void picture(const std::string& name, const Canvas& canvas);
    // A picture that the engine blends by a mask: name, which ends in .jpg, and its companion with
    // "alpha" before the extension, the mask stored as a grey picture (white opaque, black clear).
    void maskedPicture(const std::string& name, const Canvas& canvas, const Canvas& mask);
    // Any other file: its bytes as given.
    void file(const std::string& name, const std::string& bytes);
    void wav(const std::string& name, const Sound& sound);
    void oggVorbis(const std::string& name, const Sound& sound);

    int fileCount() const { return files; }
    uintmax_t byteCount() const { return bytes; }

private:
    std::string pathOf(const std::string& name) const;
    void report(const std::string& name);

    std::string root;
    int files = 0;
    uintmax_t bytes = 0;
};

#endif
