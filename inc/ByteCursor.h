#ifndef KELVO_BYTECURSOR_H
#define KELVO_BYTECURSOR_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// A read position over the bytes of one file held in memory, bounded by the end of the innermost
// range entered (the end of the bytes at the outermost level). The readers of the binary formats
// build on it with their own byte order and their own way of failing; the range checks are here,
// and nothing a reader does through it moves past the current end.
class ByteCursor {
public:
    // bytes: the whole file, owned from now on.
    explicit ByteCursor(std::vector<uint8_t> bytes);

    uint64_t getPosition() const { return position; }  // bytes from the start of the file
    uint64_t getEnd() const { return end; }             // end of the innermost range entered
    uint64_t remaining() const { return end - position; }
    // Ranges entered and not yet left.
    size_t getDepth() const { return outerEnds.size(); }
    // True when count values of elementSize bytes fit in what remains, without overflow; checked
    // before a loop over, or an allocation from, a count read from the file.
    bool hasRoomFor(uint64_t count, uint64_t elementSize) const
    {
        return elementSize == 0 || count <= remaining() / elementSize;
    }

    // Moves to the end of the innermost range, past what its reader left unread, and widens
    // reading to the enclosing end again. Nothing at the outermost level.
    void leave();

protected:
    // True when the absolute offset lies from the position up to the current end.
    bool holds(uint64_t offset) const { return offset >= position && offset <= end; }
    // The next unread byte; what follows it is readable as far as the caller has checked.
    const uint8_t* next() const { return bytes.data() + position; }
    // Passes count bytes the caller has checked fit.
    void advance(uint64_t count) { position += count; }
    // Moves to an absolute offset the caller has checked is no further than the current end.
    void moveTo(uint64_t offset) { position = offset; }
    // Narrows reading to the absolute offset rangeEnd, which the caller has checked holds(); each
    // narrow is paired with one leave.
    void narrow(uint64_t rangeEnd);
    // The length of the bytes before the next zero byte; false when no zero byte comes before
    // the current end.
    bool findTerminator(uint64_t& length) const;
    // The IEEE single whose bits are bits, as both formats store a float.
    static float floatFromBits(uint32_t bits)
    {
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

private:
    std::vector<uint8_t> bytes;
    uint64_t position;
    uint64_t end;                     // end of the innermost range entered, or of the bytes
    std::vector<uint64_t> outerEnds;  // the ends of the enclosing ranges, innermost last
};

#endif
