#include "lwloader/LWSubChunk.h"

#include "lwloader/LWReader.h"

LWSubChunk::LWSubChunk(int id) : id(id), size(0)
{
}

LWSubChunk::~LWSubChunk() = default;

int64_t LWSubChunk::read(LWReader& reader)
{
    if (reader.readU2(size) != 2 || !reader.enter(size))
        return READ_FAILED;
    uint64_t start = reader.getPosition();
    int64_t body = readData(reader);
    if (body < 0)
        reader.fail("the body of \"" + idString + "\" at byte " + std::to_string(start) + " is malformed");
    reader.leave();
    if (reader.failed())
        return READ_FAILED;
    int64_t count = 2 + static_cast<int64_t>(size);
    if (size % 2 == 1)
        count += reader.readPad();
    return count;
}
