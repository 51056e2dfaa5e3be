#include "lwloader/LWVmadChunk.h"

#include <string>

#include "Actor.h"
#include "UV.h"
#include "lwloader/LWLoader.h"
#include "lwloader/LWLoaderException.h"
#include "lwloader/LWPolygonsChunk.h"
#include "lwloader/LWReader.h"

LWVmadChunk::LWVmadChunk() : LWVmapChunk(ID_VMAD, true)
{
}

LWVmadChunk::~LWVmadChunk() = default;

int64_t LWVmadChunk::readData(LWReader& reader)
{
    return readMap(reader);
}

void LWVmadChunk::fillObject(Actor*, LWLoader* loader)
{
    polygons = nullptr;
    if (mapType != ID_TXUV)
        return;
    resolvePoints(loader);
    if (actorPoints.empty())
        return;
    const LWPolygonsChunk* previous = loader->findPreviousChunk<LWPolygonsChunk>(ID_POLS);
    if (!previous || previous->getFirstPolygon() < 0)
        return;
    for (size_t e = 0; e < polygonIndices.size(); ++e) {
        if (polygonIndices[e] >= static_cast<uint32_t>(previous->getPolygonCount()))
            throw LWLoaderException("LWVmadChunk", "fillObject() - File \"" + loader->getFileName() + "\": the map \"" +
                                                       name + "\" names polygon " + std::to_string(polygonIndices[e]) +
                                                       ", beyond the " + std::to_string(previous->getPolygonCount()) +
                                                       " polygons of its polygons chunk.");
    }
    polygons = previous;
}

void LWVmadChunk::applyUV(Actor* actor) const
{
    if (mapType != ID_TXUV || !polygons)
        return;
    for (size_t e = 0; e < polygonIndices.size(); ++e) {
        const UV uv(values[e * dimension], 1.0f - values[e * dimension + 1]);
        for (int triangle : polygons->getTriangles(static_cast<int>(polygonIndices[e]))) {
            if (actor->getTriangle(triangle)->hasPoint(actorPoints[e]))
                actor->setTriangleTextureCoordinate(triangle, actorPoints[e], uv);
        }
    }
}
