#include "lwloader/LWReader.h"

#include <cstring>
#include <utility>

LWReader::LWReader(const std::string& name, std::vector<uint8_t> bytes)
    : ByteCursor(std::move(bytes)), name(name), failure(false)
{
}

void LWReader::fail(const std::string& why)
{
    if (!failure)
        reason = why;
    failure = true;
}

void LWReader::refuse(uint64_t count, uint64_t elementSize, const char* what)
{
    if (failure)
        return;
    std::string needed = count == 1 || elementSize == 1 ? std::to_string(count * elementSize)
                                                        : std::to_string(count) + " x " + std::to_string(elementSize);
    fail(std::string(what) + " at byte " + std::to_string(getPosition()) + " needs " + needed + " bytes where " +
         std::to_string(remaining()) + " remain");
}

int64_t LWReader::readS0(std::string& text)
{
    if (failure)
        return 0;
    uint64_t length;
    if (!findTerminator(length)) {
        fail("S0 at byte " + std::to_string(getPosition()) + " has no terminator before its end");
        return 0;
    }
    text.assign(reinterpret_cast<const char*>(next()), length);
    advance(length + 1);
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
        std::memcpy(out, next(), count);
    advance(count);
    return static_cast<int64_t>(count);
}

int64_t LWReader::skip(uint64_t count)
{
    if (!take(count, 1, "a skipped body"))
        return 0;
    advance(count);
    return static_cast<int64_t>(count);
}

int64_t LWReader::readPad()
{
    if (failure || remaining() == 0)
        return 0;
    advance(1);
    return 1;
}

bool LWReader::enter(uint64_t size)
{
    if (!take(size, 1, "a body"))
        return false;
    narrow(getPosition() + size);
    return true;
}
