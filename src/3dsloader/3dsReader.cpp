#include "3dsReader.h"

#include <cstring>
#include <utility>

#include "3dsLoaderException.h"

_3dsReader::_3dsReader(const std::string& name, std::vector<uint8_t> bytes)
    : name(name), bytes(std::move(bytes)), position(0), end(this->bytes.size())
{
}

bool _3dsReader::hasRoomFor(uint64_t count, uint64_t elementSize) const
{
    if (elementSize == 0)
        return true;
    return count <= remaining() / elementSize;
}

void _3dsReader::fail(const std::string& detail)
{
    throw _3dsLoaderException("read3ds() - Read error. Scene file may be corrupted. File \"" + name + "\": " + detail +
                              ".");
}

void _3dsReader::take(uint64_t count, const char* what)
{
    if (!fits(count))
        fail(std::string(what) + " at byte " + std::to_string(position) + " needs " + std::to_string(count) +
             " bytes where " + std::to_string(remaining()) + " remain in its chunk");
}

uint16_t _3dsReader::peekU16() const
{
    const uint8_t* b = &bytes[position];
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

uint32_t _3dsReader::peekU32() const
{
    const uint8_t* b = &bytes[position];
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) | (static_cast<uint32_t>(b[2]) << 16) |
           (static_cast<uint32_t>(b[3]) << 24);
}

uint8_t _3dsReader::readU8()
{
    take(1, "a byte");
    return bytes[position++];
}

uint16_t _3dsReader::readU16()
{
    take(2, "a U16");
    const uint16_t value = peekU16();
    position += 2;
    return value;
}

int16_t _3dsReader::readS16()
{
    take(2, "an S16");
    const uint16_t raw = peekU16();
    position += 2;
    int16_t value;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

uint32_t _3dsReader::readU32()
{
    take(4, "a U32");
    const uint32_t value = peekU32();
    position += 4;
    return value;
}

float _3dsReader::readFloat()
{
    take(4, "a float");
    const uint32_t raw = peekU32();
    position += 4;
    float value;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

Vector _3dsReader::readVector()
{
    take(12, "a vector");
    const float x = readFloat();
    const float y = readFloat();
    const float z = readFloat();
    return Vector(x, y, z);
}

std::string _3dsReader::readString()
{
    const uint8_t* first = bytes.data() + position;
    const void* terminator = remaining() > 0 ? std::memchr(first, 0, remaining()) : nullptr;
    if (!terminator)
        fail("the string at byte " + std::to_string(position) + " has no terminator before the end of its chunk");
    const uint64_t length = static_cast<uint64_t>(static_cast<const uint8_t*>(terminator) - first);
    std::string text(reinterpret_cast<const char*>(first), length);
    position += length + 1;
    return text;
}

bool _3dsReader::tryReadU16(uint16_t& value)
{
    if (!fits(2))
        return false;
    value = peekU16();
    position += 2;
    return true;
}

bool _3dsReader::tryReadU32(uint32_t& value)
{
    if (!fits(4))
        return false;
    value = peekU32();
    position += 4;
    return true;
}

bool _3dsReader::tryReadFloat(float& value)
{
    uint32_t raw;
    if (!tryReadU32(raw))
        return false;
    std::memcpy(&value, &raw, sizeof value);
    return true;
}

void _3dsReader::enter(uint64_t chunkEnd)
{
    if (chunkEnd < position || chunkEnd > end)
        fail("a chunk ending at byte " + std::to_string(chunkEnd) + " reaches beyond its parent, which ends at byte " +
             std::to_string(end));
    outerEnds.push_back(end);
    end = chunkEnd;
}

void _3dsReader::leave()
{
    if (outerEnds.empty())
        return;
    position = end;
    end = outerEnds.back();
    outerEnds.pop_back();
}

void _3dsReader::seek(uint64_t offset)
{
    if (offset > end)
        fail("a seek to byte " + std::to_string(offset) + " passes the end of its chunk at byte " +
             std::to_string(end));
    position = offset;
}
