#ifndef KELVO_THREEDSWRITER_H
#define KELVO_THREEDSWRITER_H

#include <cstdint>
#include <string>
#include <vector>

// Builds 3D Studio test files in memory: little-endian values, chunks of a U16 id and a U32
// length that counts the 6 header bytes and the whole body, each closed by end(), which writes
// the length.
class ThreeDSWriter {
public:
    ThreeDSWriter& u8(uint8_t value);
    ThreeDSWriter& u16(uint16_t value);
    ThreeDSWriter& s16(int16_t value);
    ThreeDSWriter& u32(uint32_t value);
    ThreeDSWriter& f32(float value);
    ThreeDSWriter& vec(float x, float y, float z);
    ThreeDSWriter& str(const std::string& text);  // with its terminator
    ThreeDSWriter& raw(const std::string& bytes);

    ThreeDSWriter& chunk(uint16_t id);
    // A chunk whose length field is written as given, whatever its body.
    ThreeDSWriter& chunkWithLength(uint16_t id, uint32_t length);
    ThreeDSWriter& end();

    // A track header of the keyframer: five words, the key count and its high word.
    ThreeDSWriter& trackHeader(uint16_t keys);
    // A key's frame, its high word and spline flags, then one float per set flag bit.
    ThreeDSWriter& keyHeader(uint16_t frame, uint16_t flags, const std::vector<float>& splineValues = {});

    // What was written so far; every chunk must be closed.
    const std::string& bytes() const;

private:
    std::string data;
    std::vector<size_t> open;  // where each open chunk's length field starts
};

#endif
