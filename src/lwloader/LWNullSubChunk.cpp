#include "lwloader/LWNullSubChunk.h"

#include "lwloader/LWReader.h"

LWNullSubChunk::LWNullSubChunk() : LWSubChunk(ID_OTHER)
{
}

LWNullSubChunk::~LWNullSubChunk() = default;

int64_t LWNullSubChunk::readData(LWReader& reader)
{
    if (reader.skip(getSize()) != getSize())
        return READ_FAILED;
    return getSize();
}
