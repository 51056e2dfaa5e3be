#include "lwloader/LWStilSubChunk.h"

#include "lwloader/LWReader.h"

LWStilSubChunk::LWStilSubChunk() : LWSubChunk(ID_STIL)
{
}

LWStilSubChunk::~LWStilSubChunk() = default;

int64_t LWStilSubChunk::readData(LWReader& reader)
{
    int64_t bytes = reader.readS0(fileName);
    return bytes == 0 ? READ_FAILED : bytes;
}
