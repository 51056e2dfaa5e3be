#include "lwloader/LWChanSubChunk.h"

#include <string>

#include "lwloader/LWReader.h"

LWChanSubChunk::LWChanSubChunk() : LWSubChunk(ID_CHAN), channel(ID_OTHER)
{
}

LWChanSubChunk::~LWChanSubChunk() = default;

int64_t LWChanSubChunk::readData(LWReader& reader)
{
    std::string code;
    return readChunkId(reader, channel, code) == 4 ? 4 : READ_FAILED;
}
