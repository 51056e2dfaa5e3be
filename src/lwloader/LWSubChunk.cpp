#include "lwloader/LWSubChunk.h"

#include "lwloader/LWReader.h"

LWSubChunk::LWSubChunk(int id) : LWSizedChunk(id), size(0)
{
}

LWSubChunk::~LWSubChunk() = default;

int64_t LWSubChunk::read(LWReader& reader)
{
    if (reader.readU2(size) != 2)
        return READ_FAILED;
    return readBody(reader, 2, size);
}
