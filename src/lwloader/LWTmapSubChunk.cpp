#include "lwloader/LWTmapSubChunk.h"

#include <string>

#include "Surface.h"
#include "lwloader/LWReader.h"

LWTmapSubChunk::LWTmapSubChunk()
    : LWSubChunk(ID_TMAP), center(ID_CNTR), size(ID_SIZE), rotation(ID_ROTA), referenceObject(ID_OREF),
      coordinateSystem(ID_CSYS)
{
}

LWTmapSubChunk::~LWTmapSubChunk() = default;

int64_t LWTmapSubChunk::readData(LWReader& reader)
{
    int64_t consumed = 0;
    while (consumed < getSize()) {
        int number;
        std::string text;
        if (readChunkId(reader, number, text) != 4)
            return READ_FAILED;
        LWSubChunk* value;
        switch (number) {
        case ID_SIZE: value = &size; break;
        case ID_CNTR: value = &center; break;
        case ID_ROTA: value = &rotation; break;
        case ID_OREF: value = &referenceObject; break;
        case ID_FALL: value = &falloff; break;
        case ID_CSYS: value = &coordinateSystem; break;
        default:
            reader.fail("the texture placement holds an unknown \"" + text + "\"");
            return READ_FAILED;
        }
        value->setIdString(text);
        int64_t bytes = value->read(reader);
        if (bytes < 0)
            return READ_FAILED;
        consumed += 4 + bytes;
    }
    return consumed;
}

void LWTmapSubChunk::applyToSurface(Surface* surface) const
{
    Vector c = center.getVector();
    surface->setTextureCenter(Vector(c.x, c.y, -c.z));
    surface->setTextureSize(size.getVector());
}
