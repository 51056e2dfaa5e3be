#include "lwloader/LWFloatEnvelopeSubChunk.h"

#include "lwloader/LWReader.h"

LWFloatEnvelopeSubChunk::LWFloatEnvelopeSubChunk(int id) : LWSubChunk(id), value(0.0f), envelope(0)
{
}

LWFloatEnvelopeSubChunk::~LWFloatEnvelopeSubChunk() = default;

int64_t LWFloatEnvelopeSubChunk::readData(LWReader& reader)
{
    if (reader.readF4(value) != 4)
        return READ_FAILED;
    int64_t index = reader.readVX(envelope);
    return index == 0 ? READ_FAILED : 4 + index;
}
