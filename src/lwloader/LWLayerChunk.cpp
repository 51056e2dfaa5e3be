#include "lwloader/LWLayerChunk.h"

#include "lwloader/LWReader.h"

LWLayerChunk::LWLayerChunk() : LWChunk(ID_LAYR), layerNumber(0)
{
}

LWLayerChunk::~LWLayerChunk() = default;

int64_t LWLayerChunk::readData(LWReader& reader)
{
    if (reader.readU2(layerNumber) != 2)
        return READ_FAILED;
    return 2 + reader.skip(reader.remaining());
}

void LWLayerChunk::fillObject(Actor*, LWLoader*)
{
}

int LWLayerChunk::getLayerNumber() const
{
    return layerNumber;
}
