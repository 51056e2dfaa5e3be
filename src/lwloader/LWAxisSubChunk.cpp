#include "lwloader/LWAxisSubChunk.h"

#include "lwloader/LWReader.h"

LWAxisSubChunk::LWAxisSubChunk() : LWSubChunk(ID_AXIS), value(0)
{
}

LWAxisSubChunk::~LWAxisSubChunk() = default;

int64_t LWAxisSubChunk::readData(LWReader& reader)
{
    return reader.readU2(value) == 2 ? 2 : READ_FAILED;
}
