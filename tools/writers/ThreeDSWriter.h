#ifndef KELVO_THREEDSWRITER_H
#define KELVO_THREEDSWRITER_H

#include <cstdint>
#include <string>
#include <vector>

// Builds 3D Studio files in memory: little-endian values, chunks of a U16 id and a U32 length that
// counts the 6 header bytes and the whole body, sub-chunks included. chunk() opens one inside the
// one open, end() closes the innermost and writes its length. Every value is written as given and
// raw() writes any bytes, so broken files (wrong lengths and counts, cut chunks) are made too.
class ThreeDSWriter {
public:
    ThreeDSWriter& u8(uint8_t value);
    ThreeDSWriter& u16(uint16_t value);
    ThreeDSWriter& s16(int16_t value);
    ThreeDSWriter& u32(uint32_t value);
    ThreeDSWriter& f32(float value);
    ThreeDSWriter& vec(float x, float y, float z);
    // Any point type of x, y and z members.
    template <class XYZ>
    ThreeDSWriter& vec(const XYZ& point)
    {
        return vec(point.x, point.y, point.z);
    }
    ThreeDSWriter& str(const std::string& text);  // with its terminator
    ThreeDSWriter& raw(const std::string& bytes);

    ThreeDSWriter& chunk(uint16_t id);
    // A chunk whose length field is written as given, whatever its body.
    ThreeDSWriter& chunkWithLength(uint16_t id, uint32_t length);
    ThreeDSWriter& end();

    // A track header of the keyframer: the track's flags (none), two unused long words and the key
    // count as a long word.
    ThreeDSWriter& trackHeader(uint32_t keys);
    // A key's frame (a long word) and spline flags, then one float per set flag bit; the key's
    // value follows.
    ThreeDSWriter& keyHeader(uint32_t frame, uint16_t flags = 0, const std::vector<float>& splineValues = {});

    // What was written so far; every chunk must be closed.
    const std::string& bytes() const;

private:
    std::string data;
    std::vector<size_t> open;  // where each open chunk's length field starts
};

#endif
