#include "3dsReader.h"

#include <cstring>
#include <utility>

#include "3dsLoaderException.h"

_3dsReader::_3dsReader(const std::string& name, std::vector<uint8_t> bytes)
    : ByteCursor(std::move(bytes)), name(name)
{
}

void _3dsReader::requireRoomFor(uint64_t count, uint64_t elementSize, const std::string& subject, const char* claim,
                                const std::string& unit, const char* owner)
{
    if (!hasRoomFor(count, elementSize))
        fail(subject + " at byte " + std::to_string(getPosition()) + " " + claim + " " + std::to_string(count) + " " +
             unit + " where " + std::to_string(remaining()) + " bytes remain in " + owner + " chunk");
}

void _3dsReader::fail(const std::string& detail)
{
    throw _3dsLoaderException("read3ds() - Read error. Scene file may be corrupted. File \"" + name + "\": " + detail +
                              ".");
}

void _3dsReader::refuse(uint64_t count, const char* what)
{
    fail(std::string(what) + " at byte " + std::to_string(getPosition()) + " needs " + std::to_string(count) +
         " bytes where " + std::to_string(remaining()) + " remain in its chunk");
}

std::string _3dsReader::readString()
{
    uint64_t length;
    if (!findTerminator(length))
        fail("the string at byte " + std::to_string(getPosition()) + " has no terminator before the end of its chunk");
    std::string text(reinterpret_cast<const char*>(next()), length);
    advance(length + 1);
    return text;
}

void _3dsReader::enter(uint64_t chunkEnd)
{
    if (!holds(chunkEnd))
        fail("a chunk ending at byte " + std::to_string(chunkEnd) + " reaches beyond its parent, which ends at byte " +
             std::to_string(getEnd()));
    narrow(chunkEnd);
}

void _3dsReader::seek(uint64_t offset)
{
    if (offset > getEnd())
        fail("a seek to byte " + std::to_string(offset) + " passes the end of its chunk at byte " +
             std::to_string(getEnd()));
    moveTo(offset);
}
