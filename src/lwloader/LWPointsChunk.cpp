#include "lwloader/LWPointsChunk.h"

#include "Actor.h"
#include "Log.h"
#include "StringUtil.h"
#include "lwloader/LWLoader.h"
#include "lwloader/LWLoaderException.h"
#include "lwloader/LWReader.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

LWPointsChunk::LWPointsChunk() : LWChunk(ID_PNTS), applied(false)
{
}

LWPointsChunk::~LWPointsChunk() = default;

int64_t LWPointsChunk::readData(LWReader& reader)
{
    const uint64_t count = getSize() / 12;
    if (!reader.hasRoomFor(count, 12))
        return READ_FAILED;
    points.resize(count);
    for (Vector& point : points) {
        float xyz[3];
        if (reader.readVEC12(xyz, 1) != 12)
            return READ_FAILED;
        point = Vector(xyz[0], xyz[1], -xyz[2]);
    }
    return getSize();
}

void LWPointsChunk::fillObject(Actor* actor, LWLoader* loader)
{
    if (loader->isBoneLayer()) {
        *Log::getInstance() << LogContext(LOG_SOURCE, 3) << "fillObject() - Point chunk inside bone layer (Layer "
                            << toString(loader->getLayerNumber()) << ") SKIPPING." << logEnd;
        return;
    }
    actorPoints.clear();
    actorPoints.reserve(points.size());
    for (const Vector& point : points)
        actorPoints.push_back(actor->addPoint(point));
    applied = true;
}

int LWPointsChunk::actorPoint(uint32_t i, const std::string& file, const std::string& user) const
{
    if (!applied)
        throw LWLoaderException("LWPointsChunk", "actorPoint() - File \"" + file + "\": " + user +
                                                     " refers to the points of a bone layer, which the object does not have.");
    if (i >= actorPoints.size())
        throw LWLoaderException("LWPointsChunk", "actorPoint() - File \"" + file + "\": " + user + " names point " +
                                                     std::to_string(i) + ", beyond the " + std::to_string(actorPoints.size()) +
                                                     " points of its points chunk.");
    return actorPoints[i];
}
