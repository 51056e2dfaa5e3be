#include "lwloader/LWClipChunk.h"

#include <string>

#include "lwloader/LWNullSubChunk.h"
#include "lwloader/LWReader.h"

LWClipChunk::LWClipChunk() : LWChunk(ID_CLIP), clipIndex(0)
{
}

LWClipChunk::~LWClipChunk() = default;

int64_t LWClipChunk::readData(LWReader& reader)
{
    if (reader.readU4(clipIndex) != 4)
        return READ_FAILED;
    int64_t consumed = 4;
    // LightWave follows the image with sub-chunks of its own (FLAG and the like); they are
    // skipped, so the whole body is consumed.
    do {
        int number;
        std::string text;
        if (readChunkId(reader, number, text) != 4)
            return READ_FAILED;
        int64_t bytes;
        if (number == ID_STIL) {
            auto still = std::make_unique<LWStilSubChunk>();
            still->setIdString(text);
            bytes = still->read(reader);
            if (bytes >= 0)
                items.push_back(std::move(still));
        } else {
            LWNullSubChunk skipped;
            bytes = skipped.read(reader);
        }
        if (bytes < 0)
            return READ_FAILED;
        consumed += 4 + bytes;
    } while (consumed < getSize());
    return consumed;
}

void LWClipChunk::fillObject(Actor*, LWLoader*)
{
}
