#ifndef KELVO_LWREADER_H
#define KELVO_LWREADER_H

#include <cstdint>
#include <string>
#include <vector>

// Reads the bytes of one LWO2 file, held in memory, as the big-endian values of the format. Every
// read is bounded by the end of the innermost body entered (the end of the input at top level): a
// read that does not fit there consumes nothing, returns 0 and leaves the reader failed. A failed
// reader stays failed: every later read and enter fails too, and the first reason is kept for the
// loader's message. One reader lives for one load.
class LWReader {
public:
    // name: the resource name, for messages. bytes: the whole input.
    LWReader(const std::string& name, std::vector<uint8_t> bytes);

    const std::string& getName() const { return name; }
    uint64_t getPosition() const { return position; }  // bytes from the start of the input
    uint64_t remaining() const;                          // bytes left before the current end
    // True when count values of elementSize bytes fit in what remains; check before allocating.
    bool hasRoomFor(uint64_t count, uint64_t elementSize) const;

    bool failed() const { return failure; }
    const std::string& getFailure() const { return reason; }  // "" while not failed
    // Marks the reader failed; a body reader calls it for a value it cannot accept (an index out
    // of range). Only the first reason is kept.
    void fail(const std::string& why);

    // Each returns the bytes consumed, 0 when the value does not fit (the reader is then failed).
    int64_t readU1(uint8_t& value);
    int64_t readU2(uint16_t& value);
    int64_t readU2(uint16_t* values, uint64_t count);
    int64_t readI2(int16_t& value);
    int64_t readU4(uint32_t& value);
    int64_t readU4(uint32_t* values, uint64_t count);
    int64_t readF4(float& value);
    int64_t readF4(float* values, uint64_t count);
    // count triples: x, y, z (VEC12) or r, g, b (COL12), 12 bytes each.
    int64_t readVEC12(float* values, uint64_t count);
    int64_t readCOL12(float* values, uint64_t count);
    // An index of 2 bytes (0 to 65279), or of 4 bytes when the first is 0xFF (a 24-bit index).
    int64_t readVX(uint32_t& index);
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
    // fewer remain. Each successful enter is paired with one leave.
    bool enter(uint64_t size);
    // Skips what the body's reader left unread and widens reading to the enclosing end again.
    void leave();

private:
    // True when count values of elementSize bytes fit; fails with what named otherwise.
    bool take(uint64_t count, uint64_t elementSize, const char* what);

    std::string name;
    std::vector<uint8_t> bytes;
    uint64_t position;
    uint64_t end;                // end of the innermost body entered, or of the input
    std::vector<uint64_t> outerEnds;
    bool failure;
    std::string reason;
};

#endif
