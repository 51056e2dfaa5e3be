#include "ByteCursor.h"

#include <cstring>
#include <utility>

ByteCursor::ByteCursor(std::vector<uint8_t> bytes)
    : bytes(std::move(bytes)), position(0), end(this->bytes.size())
{
}

void ByteCursor::leave()
{
    if (outerEnds.empty())
        return;
    position = end;
    end = outerEnds.back();
    outerEnds.pop_back();
}

void ByteCursor::narrow(uint64_t rangeEnd)
{
    outerEnds.push_back(end);
    end = rangeEnd;
}

bool ByteCursor::findTerminator(uint64_t& length) const
{
    if (remaining() == 0)
        return false;
    const uint8_t* first = next();
    const void* terminator = std::memchr(first, 0, remaining());
    if (!terminator)
        return false;
    length = static_cast<uint64_t>(static_cast<const uint8_t*>(terminator) - first);
    return true;
}
