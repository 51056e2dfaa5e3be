#include "lwloader/LWReader.h"

#include <cstring>
#include <utility>

LWReader::LWReader(const std::string& name, std::vector<uint8_t> bytes)
    : name(name), bytes(std::move(bytes)), position(0), end(this->bytes.size()), failure(false)
{
}

uint64_t LWReader::remaining() const
{
    return end - position;
}

bool LWReader::hasRoomFor(uint64_t count, uint64_t elementSize) const
{
    if (elementSize == 0)
        return true;
    return count <= remaining() / elementSize;
}

void LWReader::fail(const std::string& why)
{
    if (!failure)
        reason = why;
    failure = true;
}

bool LWReader::take(uint64_t count, uint64_t elementSize, const char* what)
{
    if (failure)
        return false;
    if (!hasRoomFor(count, elementSize)) {
        std::string needed = count == 1 || elementSize == 1
                                 ? std::to_string(count * elementSize)
                                 : std::to_string(count) + " x " + std::to_string(elementSize);
        fail(std::string(what) + " at byte " + std::to_string(position) + " needs " + needed + " bytes where " +
             std::to_string(remaining()) + " remain");
        return false;
    }
    return true;
}

int64_t LWReader::readU1(uint8_t& value)
{
    if (!take(1, 1, "U1"))
        return 0;
    value = bytes[position];
    position += 1;
    return 1;
}

int64_t LWReader::readU2(uint16_t& value)
{
    return readU2(&value, 1);
}

int64_t LWReader::readU2(uint16_t* values, uint64_t count)
{
    if (!take(count, 2, "U2"))
        return 0;
    for (uint64_t i = 0; i < count; ++i) {
        const uint8_t* b = &bytes[position];
        values[i] = static_cast<uint16_t>((b[0] << 8) | b[1]);
        position += 2;
    }
    return static_cast<int64_t>(count * 2);
}

int64_t LWReader::readI2(int16_t& value)
{
    uint16_t raw;
    if (readU2(raw) != 2)
        return 0;
    value = static_cast<int16_t>(raw);
    return 2;
}

int64_t LWReader::readU4(uint32_t& value)
{
    return readU4(&value, 1);
}

int64_t LWReader::readU4(uint32_t* values, uint64_t count)
{
    if (!take(count, 4, "U4"))
        return 0;
    for (uint64_t i = 0; i < count; ++i) {
        const uint8_t* b = &bytes[position];
        values[i] = (static_cast<uint32_t>(b[0]) << 24) | (static_cast<uint32_t>(b[1]) << 16) |
                    (static_cast<uint32_t>(b[2]) << 8) | b[3];
        position += 4;
    }
    return static_cast<int64_t>(count * 4);
}

int64_t LWReader::readF4(float& value)
{
    return readF4(&value, 1);
}

// An F4 is an IEEE single stored in the byte order of a U4.
int64_t LWReader::readF4(float* values, uint64_t count)
{
    if (!take(count, 4, "F4"))
        return 0;
    for (uint64_t i = 0; i < count; ++i) {
        uint32_t raw;
        readU4(raw);
        std::memcpy(&values[i], &raw, sizeof raw);
    }
    return static_cast<int64_t>(count * 4);
}

int64_t LWReader::readVEC12(float* values, uint64_t count)
{
    if (!take(count, 12, "VEC12"))
        return 0;
    return readF4(values, count * 3);
}

int64_t LWReader::readCOL12(float* values, uint64_t count)
{
    if (!take(count, 12, "COL12"))
        return 0;
    return readF4(values, count * 3);
}

int64_t LWReader::readVX(uint32_t& index)
{
    if (!take(1, 1, "VX"))
        return 0;
    if (bytes[position] != 0xFF) {
        if (!take(1, 2, "VX"))
            return 0;
        index = (static_cast<uint32_t>(bytes[position]) << 8) | bytes[position + 1];
        position += 2;
        return 2;
    }
    if (!take(1, 4, "VX"))
        return 0;
    const uint8_t* b = &bytes[position];
    index = (static_cast<uint32_t>(b[1]) << 16) | (static_cast<uint32_t>(b[2]) << 8) | b[3];
    position += 4;
    return 4;
}

int64_t LWReader::readS0(std::string& text)
{
    if (failure)
        return 0;
    const uint8_t* first = bytes.data() + position;
    const void* terminator = remaining() > 0 ? std::memchr(first, 0, remaining()) : nullptr;
    if (!terminator) {
        fail("S0 at byte " + std::to_string(position) + " has no terminator before its end");
        return 0;
    }
    uint64_t length = static_cast<uint64_t>(static_cast<const uint8_t*>(terminator) - first);
    text.assign(reinterpret_cast<const char*>(first), length);
    position += length + 1;
    int64_t count = static_cast<int64_t>(length + 1);
    if (count % 2 == 1)
        count += readPad();
    return count;
}

int64_t LWReader::readBytes(uint8_t* out, uint64_t count)
{
    if (!take(count, 1, "raw bytes"))
        return 0;
    if (count > 0)
        std::memcpy(out, bytes.data() + position, count);
    position += count;
    return static_cast<int64_t>(count);
}

int64_t LWReader::skip(uint64_t count)
{
    if (!take(count, 1, "a skipped body"))
        return 0;
    position += count;
    return static_cast<int64_t>(count);
}

int64_t LWReader::readPad()
{
    if (failure || remaining() == 0)
        return 0;
    position += 1;
    return 1;
}

bool LWReader::enter(uint64_t size)
{
    if (!take(size, 1, "a body"))
        return false;
    outerEnds.push_back(end);
    end = position + size;
    return true;
}

void LWReader::leave()
{
    if (outerEnds.empty())
        return;
    position = end;
    end = outerEnds.back();
    outerEnds.pop_back();
}
