#ifndef KELVO_3DSREADER_H
#define KELVO_3DSREADER_H

#include <cstdint>
#include <string>
#include <vector>

#include "ByteCursor.h"
#include "Vector.h"

// Reads the bytes of one 3D Studio file, held in memory, as the little-endian values of the
// format. Every read is bounded by the end of the innermost chunk entered (the end of the file at
// top level): a value that does not fit there consumes nothing and throws _3dsLoaderException
// naming the file, the byte and the value; the quiet variants return false instead. One reader
// lives for one load.
class _3dsReader : public ByteCursor {
public:
    // name: the resource name, for messages. bytes: the whole file.
    _3dsReader(const std::string& name, std::vector<uint8_t> bytes);

    const std::string& getName() const { return name; }
    // Throws unless count values of elementSize bytes fit in what remains of the chunk; checked
    // before a loop over a count read from the file. The message reads "<subject> at byte
    // <position> <claim> <count> <unit> where <remaining> bytes remain in <owner> chunk".
    void requireRoomFor(uint64_t count, uint64_t elementSize, const std::string& subject, const char* claim,
                        const std::string& unit, const char* owner);

    uint8_t readU8() { return readValue<uint8_t>("a byte"); }
    uint16_t readU16() { return readValue<uint16_t>("a U16"); }
    int16_t readS16() { return readValue<int16_t>("an S16"); }
    uint32_t readU32() { return readValue<uint32_t>("a U32"); }
    float readFloat() { return readValue<float>("a float"); }  // an IEEE single in the byte order of a U32
    // Three floats, x, y, z as the file has them.
    Vector readVector()
    {
        take(12, "a vector");
        float x, y, z;
        decode(x);
        decode(y);
        decode(z);
        return Vector(x, y, z);
    }
    // Bytes up to a zero byte, which is consumed too; throws when none comes before the end.
    std::string readString();

    // The same without the exception: false, and nothing consumed, when the value does not fit.
    bool tryReadU16(uint16_t& value) { return tryRead(value); }
    bool tryReadU32(uint32_t& value) { return tryRead(value); }
    bool tryReadFloat(float& value) { return tryRead(value); }

    // Narrows reading to the absolute offset chunkEnd, which must lie within the current end;
    // each enter is paired with one leave, which widens it again. Throws when chunkEnd lies
    // outside.
    void enter(uint64_t chunkEnd);
    // Moves to an absolute offset up to the current end; throws beyond it.
    void seek(uint64_t offset);

    // Throws the loader's exception for the file: "read3ds() - Read error. Scene file may be
    // corrupted. File \"<name>\": <detail>." Also for values the loader cannot accept.
    [[noreturn]] void fail(const std::string& detail);

private:
    // Throws unless count bytes of a value named what fit before the end. Defined here, as every
    // typed read starts with it; the message is built out of line.
    void take(uint64_t count, const char* what)
    {
        if (!fits(count))
            refuse(count, what);
    }
    [[noreturn]] void refuse(uint64_t count, const char* what);
    bool fits(uint64_t count) const { return count <= remaining(); }
    // The next little-endian value, which the caller has checked fits, passed.
    void decode(uint8_t& value)
    {
        value = *next();
        advance(1);
    }
    void decode(uint16_t& value)
    {
        const uint8_t* b = next();
        advance(2);
        value = static_cast<uint16_t>(b[0] | (b[1] << 8));
    }
    void decode(uint32_t& value)
    {
        const uint8_t* b = next();
        advance(4);
        value = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
                (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
    }
    void decode(int16_t& value)
    {
        uint16_t raw;
        decode(raw);
        value = static_cast<int16_t>(raw);
    }
    void decode(float& value)
    {
        uint32_t raw;
        decode(raw);
        value = floatFromBits(raw);
    }
    // A value of T's size named what; throws when it does not fit.
    template <typename T> T readValue(const char* what)
    {
        take(sizeof(T), what);
        T value;
        decode(value);
        return value;
    }
    // The same without the exception: false, and nothing consumed, when it does not fit.
    template <typename T> bool tryRead(T& value)
    {
        if (!fits(sizeof(T)))
            return false;
        decode(value);
        return true;
    }

    std::string name;
};

#endif
