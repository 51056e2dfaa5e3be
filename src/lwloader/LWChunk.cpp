#include "lwloader/LWChunk.h"

#include "lwloader/LWReader.h"

LWChunk::LWChunk(int id) : LWSizedChunk(id), size(0)
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
    if (reader.readU4(size) != 4)
        return READ_FAILED;
    return readBody(reader, 4, size);
}
