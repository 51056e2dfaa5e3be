#include "lwloader/LWSizedChunk.h"

#include "lwloader/LWReader.h"

LWSizedChunk::LWSizedChunk(int id) : id(id)
{
}

LWSizedChunk::~LWSizedChunk() = default;

int64_t LWSizedChunk::readBody(LWReader& reader, int64_t fieldBytes, uint32_t size)
{
    if (!reader.enter(size))
        return READ_FAILED;
    uint64_t start = reader.getPosition();
    int64_t body = readData(reader);
    if (body < 0)
        reader.fail("the body of \"" + idString + "\" at byte " + std::to_string(start) + " is malformed");
    reader.leave();
    if (reader.failed())
        return READ_FAILED;
    int64_t count = fieldBytes + static_cast<int64_t>(size);
    if (size % 2 == 1)
        count += reader.readPad();
    return count;
}
