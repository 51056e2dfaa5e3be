#include "lwloader/LWTagsChunk.h"

#include "lwloader/LWReader.h"

LWTagsChunk::LWTagsChunk() : LWChunk(ID_TAGS)
{
}

LWTagsChunk::~LWTagsChunk() = default;

int64_t LWTagsChunk::readData(LWReader& reader)
{
    int64_t consumed = 0;
    while (consumed < getSize()) {
        std::string tag;
        int64_t bytes = reader.readS0(tag);
        if (bytes == 0)
            return READ_FAILED;
        tags.push_back(std::move(tag));
        consumed += bytes;
    }
    return consumed;
}

void LWTagsChunk::fillObject(Actor*, LWLoader*)
{
}
