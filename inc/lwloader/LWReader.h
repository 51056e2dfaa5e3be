#ifndef KELVO_LWREADER_H
#define KELVO_LWREADER_H

#include <cstdint>
#include <string>
#include <vector>

#include "ByteCursor.h"

// Reads the bytes of one LWO2 file, held in memory, as the big-endian values of the format. Every
// read is bounded by the end of the innermost body entered (the end of the input at top level): a
// read that does not fit there consumes nothing, returns 0 and leaves the reader failed. A failed
// reader stays failed: every later read and enter fails too, and the first reason is kept for the
// loader's message. One reader lives for one load.
class LWReader : public ByteCursor {
public:
    // name: the resource name, for messages. bytes: the whole input.
    LWReader(const std::string& name, std::vector<uint8_t> bytes);

    const std::string& getName() const { return name; }

    bool failed() const { return failure; }
    const std::string& getFailure() const { return reason; }  // "" while not failed
    // Marks the reader failed; a body reader calls it for a value it cannot accept (an index out
    // of range). Only the first reason is kept.
    void fail(const std::string& why);

    // Each returns the bytes consumed, 0 when the value does not fit (the reader is then failed).
    // A single value that does not fit reads as 0.
    int64_t readU1(uint8_t& value) { return readOne(value, "U1"); }
    int64_t readU2(uint16_t& value) { return readOne(value, "U2"); }
    int64_t readU2(uint16_t* values, uint64_t count) { return readEach(values, count, "U2"); }
    int64_t readI2(int16_t& value) { return readOne(value, "U2"); }
    int64_t readU4(uint32_t& value) { return readOne(value, "U4"); }
    int64_t readU4(uint32_t* values, uint64_t count) { return readEach(values, count, "U4"); }
    // An F4 is an IEEE single stored in the byte order of a U4.
    int64_t readF4(float& value) { return readOne(value, "F4"); }
    int64_t readF4(float* values, uint64_t count) { return readEach(values, count, "F4"); }
    // count triples: x, y, z (VEC12) or r, g, b (COL12), 12 bytes each.
    int64_t readVEC12(float* values, uint64_t count)
    {
        return take(count, 12, "VEC12") ? readF4(values, count * 3) : 0;
    }
    int64_t readCOL12(float* values, uint64_t count)
    {
        return take(count, 12, "COL12") ? readF4(values, count * 3) : 0;
    }
    // An index of 2 bytes (0 to 65279), or of 4 bytes when the first is 0xFF (a 24-bit index); 0
    // when it does not fit.
    int64_t readVX(uint32_t& index)
    {
        index = 0;
        if (!take(1, 1, "VX"))
            return 0;
        if (*next() != 0xFF) {
            if (!take(1, 2, "VX"))
                return 0;
            index = nextU2();
            return 2;
        }
        if (!take(1, 4, "VX"))
            return 0;
        // The 0xFF marker, then the 24-bit index.
        index = nextU4() & 0x00FFFFFF;
        return 4;
    }
    // A zero-terminated string and the pad byte after an odd count (terminator included). The
    // count returned includes both; it is even unless the body ends where the pad byte should be.
    // A string without a terminator before the end fails.
    int64_t readS0(std::string& text);
    int64_t readBytes(uint8_t* out, uint64_t count);
    int64_t skip(uint64_t count);
    // The pad byte after an odd-sized body: 1 when a byte is left to consume, 0 at the end (a
    // missing pad byte at the very end is tolerated, never a failure).
    int64_t readPad();

    // Narrows reading to the next size bytes (a chunk or sub-chunk body). False, and failed, when
    // fewer remain. Each successful enter is paired with one leave, which skips what the body's
    // reader left unread and widens reading to the enclosing end again.
    bool enter(uint64_t size);

private:
    // True when count values of elementSize bytes fit; fails with what named otherwise. Defined
    // here, as every typed read starts with it; the message is built out of line.
    bool take(uint64_t count, uint64_t elementSize, const char* what)
    {
        if (!failure && hasRoomFor(count, elementSize))
            return true;
        refuse(count, elementSize, what);
        return false;
    }
    // Fails for a take that does not fit, unless the reader failed before.
    void refuse(uint64_t count, uint64_t elementSize, const char* what);
    // The next big-endian value, which the caller has checked fits, passed.
    uint16_t nextU2()
    {
        const uint8_t* b = next();
        advance(2);
        return static_cast<uint16_t>((b[0] << 8) | b[1]);
    }
    uint32_t nextU4()
    {
        const uint8_t* b = next();
        advance(4);
        return (static_cast<uint32_t>(b[0]) << 24) | (static_cast<uint32_t>(b[1]) << 16) |
               (static_cast<uint32_t>(b[2]) << 8) | b[3];
    }
    void decode(uint8_t& value)
    {
        value = *next();
        advance(1);
    }
    void decode(uint16_t& value) { value = nextU2(); }
    void decode(int16_t& value) { value = static_cast<int16_t>(nextU2()); }
    void decode(uint32_t& value) { value = nextU4(); }
    void decode(float& value) { value = floatFromBits(nextU4()); }
    // count values of T's size named what, each decoded as a T: the bytes consumed, or 0 (and
    // failed) when they do not fit.
    template <typename T> int64_t readOne(T& value, const char* what)
    {
        if (!take(1, sizeof(T), what)) {
            value = T();
            return 0;
        }
        decode(value);
        return sizeof(T);
    }
    template <typename T> int64_t readEach(T* values, uint64_t count, const char* what)
    {
        if (!take(count, sizeof(T), what))
            return 0;
        for (uint64_t i = 0; i < count; ++i)
            decode(values[i]);
        return static_cast<int64_t>(count * sizeof(T));
    }

    std::string name;
    bool failure;
    std::string reason;
};

#endif
