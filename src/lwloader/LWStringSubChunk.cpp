#include "lwloader/LWStringSubChunk.h"

#include "lwloader/LWReader.h"

LWStringSubChunk::LWStringSubChunk(int id) : LWSubChunk(id), text("(none)")
{
}

LWStringSubChunk::~LWStringSubChunk() = default;

int64_t LWStringSubChunk::readData(LWReader& reader)
{
    int64_t bytes = reader.readS0(text);
    return bytes == 0 ? READ_FAILED : bytes;
}
