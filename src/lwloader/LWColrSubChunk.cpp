#include "lwloader/LWColrSubChunk.h"

#include "lwloader/LWReader.h"

LWColrSubChunk::LWColrSubChunk() : LWSubChunk(ID_COLR), colour{0.0f, 0.0f, 0.0f}, envelope(0)
{
}

LWColrSubChunk::~LWColrSubChunk() = default;

int64_t LWColrSubChunk::readData(LWReader& reader)
{
    if (reader.readCOL12(colour, 1) != 12)
        return READ_FAILED;
    int64_t index = reader.readVX(envelope);
    return index == 0 ? READ_FAILED : 12 + index;
}

RGBA LWColrSubChunk::getColor() const
{
    return RGBA(colour[0], colour[1], colour[2], 1.0f);
}
