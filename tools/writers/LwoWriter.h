#ifndef KELVO_LWOWRITER_H
#define KELVO_LWOWRITER_H

#include <cstdint>
#include <string>
#include <vector>

// Builds LightWave objects (LWO2) in memory: big-endian values, chunks with U4 body sizes and
// sub-chunks with U2 body sizes, each closed by end(), which writes the size and the pad byte of an
// odd body. chunk() and subChunk() open one inside the one open. Every value is written as given
// and raw() writes any bytes, so broken files (wrong sizes and counts, cut chunks) are made too.
class LwoWriter {
public:
    LwoWriter& u1(uint8_t value);
    LwoWriter& u2(uint16_t value);
    LwoWriter& i2(int16_t value);
    LwoWriter& u4(uint32_t value);
    LwoWriter& f4(float value);
    LwoWriter& vec12(float x, float y, float z);
    // Any point type of x, y and z members.
    template <class XYZ>
    LwoWriter& vec12(const XYZ& point)
    {
        return vec12(point.x, point.y, point.z);
    }
    LwoWriter& vx(uint32_t index);   // the 2-byte form below 0xFF00, the 4-byte form above
    LwoWriter& vx4(uint32_t index);  // the 4-byte form whatever the index
    LwoWriter& s0(const std::string& text);  // with its terminator and pad byte
    LwoWriter& id(const std::string& code);  // four characters
    LwoWriter& raw(const std::string& bytes);

    LwoWriter& chunk(const std::string& code);
    LwoWriter& subChunk(const std::string& code);
    LwoWriter& end();

    // What was written so far; every chunk must be closed.
    const std::string& body() const;
    // "FORM", the form length (the body's size plus 4 for the type), the type and the body.
    std::string file(const std::string& type = "LWO2") const;
    // The same with a form length of one's own choosing.
    std::string file(const std::string& type, uint32_t formLength) const;

private:
    struct Open {
        size_t sizeAt;     // where the size field starts
        size_t sizeBytes;  // 4 for a chunk, 2 for a sub-chunk
    };

    void patch(size_t at, uint32_t value, size_t bytes);

    std::string bytes;
    std::vector<Open> open;
};

#endif
