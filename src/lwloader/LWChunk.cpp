#include "lwloader/LWChunk.h"

#include "lwloader/LWReader.h"

LWChunk::LWChunk(int id) : id(id), size(0)
{
}

LWChunk::~LWChunk() = default;

int LWChunk::getLayerNumber() const
{
    return 0;
}

int LWChunk::getPolygonType() const
{
    return ID_OTHER;
}

int64_t LWChunk::read(LWReader& reader)
{
    if (reader.readU4(size) != 4 || !reader.enter(size))
        return READ_FAILED;
    uint64_t start = reader.getPosition();
    int64_t body = readData(reader);
    if (body < 0)
        reader.fail("the body of \"" + idString + "\" at byte " + std::to_string(start) + " is malformed");
    reader.leave();
    if (reader.failed())
        return READ_FAILED;
    int64_t count = 4 + static_cast<int64_t>(size);
    if (size % 2 == 1)
        count += reader.readPad();
    return count;
}
