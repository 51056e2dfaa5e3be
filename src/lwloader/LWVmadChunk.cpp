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
    actorPolygons.clear();
    if (mapType != ID_TXUV)
        return;
    resolvePoints(loader);
    if (actorPoints.empty())
        return;
    const LWPolygonsChunk* polygons = loader->findPreviousChunk<LWPolygonsChunk>(ID_POLS);
    if (!polygons || polygons->getFirstPolygon() < 0)
        return;
    actorPolygons.reserve(polygonIndices.size());
    for (size_t e = 0; e < polygonIndices.size(); ++e) {
        if (polygonIndices[e] >= static_cast<uint32_t>(polygons->getPolygonCount()))
            throw LWLoaderException("LWVmadChunk", "fillObject() - File \"" + loader->getFileName() + "\": the map \"" +
                                                       name + "\" names polygon " + std::to_string(polygonIndices[e]) +
                                                       ", beyond the " + std::to_string(polygons->getPolygonCount()) +
                                                       " polygons of its polygons chunk.");
        actorPolygons.push_back(polygons->getFirstPolygon() + static_cast<int>(polygonIndices[e]));
    }
}

void LWVmadChunk::applyUV(Actor* actor) const
{
    if (mapType != ID_TXUV)
        return;
    for (size_t e = 0; e < actorPolygons.size(); ++e) {
        const UV uv(values[e * dimension], 1.0f - values[e * dimension + 1]);
        for (int triangle : actor->getPolygonTriangles(actorPolygons[e])) {
            if (actor->getTriangle(triangle)->hasPoint(actorPoints[e]))
                actor->setTriangleTextureCoordinate(triangle, actorPoints[e], uv);
        }
    }
}
