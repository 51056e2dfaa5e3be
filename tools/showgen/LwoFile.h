#ifndef SHOWGEN_LWOFILE_H
#define SHOWGEN_LWOFILE_H

#include <cstdint>
#include <string>
#include <vector>

#include "Vec3.h"

// A LightWave object (LWO2) built in memory: big-endian numbers, chunks with a 32-bit body size
// and sub chunks with a 16-bit one, each followed by a pad byte when its body is odd. chunk() and
// subChunk() open one inside the one open, end() closes the innermost and writes its size.
class LwoFile {
public:
    LwoFile& chunk(const std::string& id);
    LwoFile& subChunk(const std::string& id);
    LwoFile& end();

    LwoFile& id(const std::string& code);  // four characters
    LwoFile& u2(uint16_t value);
    LwoFile& u4(uint32_t value);
    LwoFile& f4(double value);
    LwoFile& vec12(Vec3 value);  // three floats, as given
    LwoFile& vx(uint32_t index);  // an index: two bytes below 0xFF00, else four starting with 0xFF
    LwoFile& s0(const std::string& text);  // with its terminating zero and a pad byte to an even length

    // "FORM", the form's length, "LWO2" and the chunks; every chunk must be closed.
    std::string file() const;

private:
    struct Open {
        size_t sizeAt;     // where the size field starts
        size_t sizeBytes;  // 4 for a chunk, 2 for a sub chunk
    };

    LwoFile& u1(uint8_t value);
    LwoFile& open(const std::string& id, size_t sizeBytes);

    std::string data;
    std::vector<Open> opened;
};

#endif
