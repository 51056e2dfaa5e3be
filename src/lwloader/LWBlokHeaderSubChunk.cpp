#include "lwloader/LWBlokHeaderSubChunk.h"

#include "lwloader/LWReader.h"

LWBlokHeaderSubChunk::LWBlokHeaderSubChunk(int id) : LWSubChunk(id), enable(ID_ENAB)
{
}

LWBlokHeaderSubChunk::~LWBlokHeaderSubChunk() = default;

int64_t LWBlokHeaderSubChunk::readData(LWReader& reader)
{
    int64_t consumed = reader.readS0(ordinal);
    if (consumed == 0)
        return READ_FAILED;
    while (consumed < getSize()) {
        int number;
        std::string text;
        if (readChunkId(reader, number, text) != 4)
            return READ_FAILED;
        LWSubChunk* value = nullptr;
        switch (number) {
        case ID_CHAN: value = &channel; break;
        case ID_ENAB: value = &enable; break;
        case ID_OPAC: value = &opacity; break;
        case ID_AXIS: value = &axis; break;
        }
        int64_t bytes;
        if (value) {
            value->setIdString(text);
            bytes = value->read(reader);
        } else {
            bytes = readUnknown(number, reader);
        }
        if (bytes < 0)
            return READ_FAILED;
        consumed += 4 + bytes;
    }
    return consumed;
}
