#ifndef KELVO_3DSREADER_H
#define KELVO_3DSREADER_H

#include <cstdint>
#include <string>
#include <vector>

#include "Vector.h"

// Reads the bytes of one 3D Studio file, held in memory, as the little-endian values of the
// format. Every read is bounded by the end of the innermost chunk entered (the end of the file at
// top level): a value that does not fit there consumes nothing and throws _3dsLoaderException
// naming the file, the byte and the value; the quiet variants return false instead. One reader
// lives for one load.
class _3dsReader {
public:
    // name: the resource name, for messages. bytes: the whole file.
    _3dsReader(const std::string& name, std::vector<uint8_t> bytes);

    const std::string& getName() const { return name; }
    uint64_t getPosition() const { return position; }  // bytes from the start of the file
    uint64_t getEnd() const { return end; }             // end of the innermost chunk entered
    uint64_t remaining() const { return end - position; }
    // Chunks entered and not yet left.
    size_t getDepth() const { return outerEnds.size(); }
    // True when count values of elementSize bytes fit in what remains; checked before a loop
    // over a count read from the file.
    bool hasRoomFor(uint64_t count, uint64_t elementSize) const;

    uint8_t readU8();
    uint16_t readU16();
    int16_t readS16();
    uint32_t readU32();
    float readFloat();  // an IEEE single in the byte order of a U32
    Vector readVector();  // three floats, x, y, z as the file has them
    // Bytes up to a zero byte, which is consumed too; throws when none comes before the end.
    std::string readString();

    // The same without the exception: false, and nothing consumed, when the value does not fit.
    bool tryReadU16(uint16_t& value);
    bool tryReadU32(uint32_t& value);
    bool tryReadFloat(float& value);

    // Narrows reading to the absolute offset chunkEnd, which must lie within the current end;
    // each enter is paired with one leave, which widens it again. Throws when chunkEnd lies
    // outside.
    void enter(uint64_t chunkEnd);
    void leave();
    // Moves to an absolute offset up to the current end; throws beyond it.
    void seek(uint64_t offset);

    // Throws the loader's exception for the file: "read3ds() - Read error. Scene file may be
    // corrupted. File \"<name>\": <detail>." Also for values the loader cannot accept.
    [[noreturn]] void fail(const std::string& detail);

private:
    // Throws unless count bytes of a value named what fit before the end.
    void take(uint64_t count, const char* what);
    bool fits(uint64_t count) const { return count <= remaining(); }
    uint16_t peekU16() const;
    uint32_t peekU32() const;

    std::string name;
    std::vector<uint8_t> bytes;
    uint64_t position;
    uint64_t end;  // end of the innermost chunk entered, or of the file
    std::vector<uint64_t> outerEnds;
};

#endif
