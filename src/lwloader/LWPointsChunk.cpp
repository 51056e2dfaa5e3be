#include "lwloader/LWPointsChunk.h"

#include "Actor.h"
#include "Log.h"
#include "StringUtil.h"
#include "lwloader/LWLoader.h"
#include "lwloader/LWReader.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {
const uint64_t POINT_BYTES = 12;  // one VEC12
}

LWPointsChunk::LWPointsChunk() : LWChunk(ID_PNTS), applied(false)
{
}

LWPointsChunk::~LWPointsChunk() = default;

int64_t LWPointsChunk::readData(LWReader& reader)
{
    // Bytes after the last whole point are skipped with the rest of the body.
    const uint64_t count = getSize() / POINT_BYTES;
    if (!reader.hasRoomFor(count, POINT_BYTES))
        return READ_FAILED;
    points.resize(count);
    for (Vector& point : points) {
        float xyz[3];
        if (reader.readVEC12(xyz, 1) != static_cast<int64_t>(POINT_BYTES))
            return READ_FAILED;
        point = Vector(xyz[0], xyz[1], -xyz[2]);
    }
    return getSize();
}

void LWPointsChunk::fillObject(Actor* actor, LWLoader* loader)
{
    if (loader->isBoneLayer()) {
        KELVO_LOG(LogLevel::debug) << "fillObject() - Point chunk inside bone layer (Layer "
                     << toString(loader->getLayerNumber()) << ") SKIPPING." << logEnd;
        return;
    }
    actorPoints.clear();
    actorPoints.reserve(points.size());
    actor->reserve(static_cast<int>(points.size()), 0);
    for (const Vector& point : points)
        actorPoints.push_back(actor->addPoint(point));
    applied = true;
}

int LWPointsChunk::actorPoint(uint32_t i) const
{
    return applied && i < actorPoints.size() ? actorPoints[i] : -1;
}

LWLoaderException LWPointsChunk::pointFailure(uint32_t i, const std::string& file, const std::string& user) const
{
    if (!applied)
        return LWLoaderException("LWPointsChunk", "actorPoint() - File \"" + file + "\": " + user +
                                                      " refers to the points of a bone layer, which the object does not have.");
    return LWLoaderException("LWPointsChunk", "actorPoint() - File \"" + file + "\": " + user + " names point " +
                                                  std::to_string(i) + ", beyond the " + std::to_string(actorPoints.size()) +
                                                  " points of its points chunk.");
}
