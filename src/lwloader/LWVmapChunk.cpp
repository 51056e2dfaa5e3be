#include "lwloader/LWVmapChunk.h"

#include "Actor.h"
#include "Log.h"
#include "StringUtil.h"
#include "UV.h"
#include "lwloader/LWLoader.h"
#include "lwloader/LWLoaderException.h"
#include "lwloader/LWPointsChunk.h"
#include "lwloader/LWReader.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

LWVmapChunk::LWVmapChunk() : LWVmapChunk(ID_VMAP, false)
{
}

LWVmapChunk::LWVmapChunk(int id, bool perPolygon)
    : LWChunk(id), dimension(0), mapType(ID_OTHER), perPolygon(perPolygon)
{
}

LWVmapChunk::~LWVmapChunk() = default;

int64_t LWVmapChunk::readData(LWReader& reader)
{
    return readMap(reader);
}

int64_t LWVmapChunk::readMap(LWReader& reader)
{
    std::string type;
    if (readChunkId(reader, mapType, type) != 4 || reader.readU2(dimension) != 2)
        return READ_FAILED;
    int64_t consumed = 6;
    int64_t bytes = reader.readS0(name);
    if (bytes == 0)
        return READ_FAILED;
    consumed += bytes;
    // A weight is one value and a texture coordinate two: fewer cannot be used.
    const uint16_t needed = mapType == ID_TXUV ? 2 : mapType == ID_WGHT ? 1 : 0;
    if (dimension < needed) {
        reader.fail("the " + type + " map \"" + name + "\" has " + std::to_string(dimension) + " values per entry where " +
                    std::to_string(needed) + " are needed");
        return READ_FAILED;
    }
    // An entry takes at least a 2-byte index (two in a VMAD) and its values: room for as many as
    // the body can hold, so that reading them does not move what was read.
    const uint64_t entryBytes = (perPolygon ? 4 : 2) + 4 * static_cast<uint64_t>(dimension);
    const uint64_t entries = reader.remaining() / entryBytes;
    pointIndices.reserve(pointIndices.size() + entries);
    if (perPolygon)
        polygonIndices.reserve(polygonIndices.size() + entries);
    values.reserve(values.size() + entries * dimension);
    while (consumed < getSize()) {
        uint32_t point;
        bytes = reader.readVX(point);
        if (bytes == 0)
            return READ_FAILED;
        consumed += bytes;
        if (perPolygon) {
            uint32_t polygon;
            bytes = reader.readVX(polygon);
            if (bytes == 0)
                return READ_FAILED;
            consumed += bytes;
            polygonIndices.push_back(polygon);
        }
        if (!reader.hasRoomFor(dimension, 4)) {
            reader.fail("an entry of the map \"" + name + "\" needs " + std::to_string(dimension) + " values where " +
                        std::to_string(reader.remaining()) + " bytes remain");
            return READ_FAILED;
        }
        // The values of the common short entries pass through a small buffer instead of a resize.
        float few[4];
        if (dimension <= 4) {
            if (reader.readF4(few, dimension) != 4 * static_cast<int64_t>(dimension))
                return READ_FAILED;
            for (uint16_t v = 0; v < dimension; ++v)
                values.push_back(few[v]);
        } else {
            const size_t first = values.size();
            values.resize(first + dimension);
            if (reader.readF4(values.data() + first, dimension) != 4 * static_cast<int64_t>(dimension))
                return READ_FAILED;
        }
        consumed += 4 * static_cast<int64_t>(dimension);
        pointIndices.push_back(point);
    }
    return consumed;
}

void LWVmapChunk::resolvePoints(LWLoader* loader)
{
    actorPoints.clear();
    if (pointIndices.empty())
        return;
    const LWPointsChunk* pointsChunk = loader->findPreviousChunk<LWPointsChunk>(ID_PNTS);
    if (!pointsChunk)
        throw LWLoaderException("LWVmapChunk", "fillObject() - File \"" + loader->getFileName() + "\": the map \"" + name +
                                                   "\" comes before any points chunk.");
    if (!pointsChunk->isApplied())
        return;
    actorPoints.reserve(pointIndices.size());
    for (uint32_t point : pointIndices) {
        const int actorPoint = pointsChunk->actorPoint(point);
        if (actorPoint < 0)
            throw pointsChunk->pointFailure(point, loader->getFileName(), "the map \"" + name + "\"");
        actorPoints.push_back(actorPoint);
    }
}

void LWVmapChunk::fillObject(Actor* actor, LWLoader* loader)
{
    if (mapType == ID_TXUV)
        resolvePoints(loader);
    if (mapType != ID_WGHT)
        return;
    if (loader->isBoneLayer()) {
        KELVO_LOG(LogLevel::debug) << "fillObject() - Point weights inside bone layer (Layer "
                     << toString(loader->getLayerNumber()) << ") SKIPPING." << logEnd;
        return;
    }
    resolvePoints(loader);
    for (size_t e = 0; e < actorPoints.size(); ++e)
        actor->addPointWeight(actorPoints[e], name, values[e * dimension]);
}

void LWVmapChunk::applyUV(Actor* actor) const
{
    if (mapType != ID_TXUV)
        return;
    for (size_t e = 0; e < actorPoints.size(); ++e)
        actor->setPointTextureCoordinate(actorPoints[e], UV(values[e * dimension], 1.0f - values[e * dimension + 1]));
}
