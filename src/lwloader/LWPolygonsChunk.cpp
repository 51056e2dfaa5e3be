#include "lwloader/LWPolygonsChunk.h"

#include <string>

#include "Actor.h"
#include "Bone.h"
#include "Log.h"
#include "lwloader/LWLoader.h"
#include "lwloader/LWLoaderException.h"
#include "lwloader/LWPointsChunk.h"
#include "lwloader/LWReader.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {
// The low ten bits of a polygon's first word count its corners; the high six are flags.
const uint16_t VERTEX_COUNT_MASK = 0x3FF;

// Whether making child a child of parent keeps the bones a forest: a bone is never its own
// ancestor, and one that has a parent keeps it.
bool canLink(const Bone* child, const Bone* parent)
{
    if (!child || !parent || child == parent || child->getParent())
        return false;
    for (const Bone* above = parent->getParent(); above; above = above->getParent()) {
        if (above == child)
            return false;
    }
    return true;
}

void link(Bone* child, Bone* parent)
{
    if (!canLink(child, parent))
        return;
    child->setParent(parent);
    parent->addChild(child);
}
}

LWPolygonsChunk::LWPolygonsChunk() : LWChunk(ID_POLS), polygonType(ID_OTHER), firstPolygon(-1), firstBone(-1)
{
}

LWPolygonsChunk::~LWPolygonsChunk() = default;

int LWPolygonsChunk::getPolygonType() const
{
    return polygonType;
}

int64_t LWPolygonsChunk::readData(LWReader& reader)
{
    std::string type;
    if (readChunkId(reader, polygonType, type) != 4)
        return READ_FAILED;
    if (polygonType != ID_FACE && polygonType != ID_BONE)
        return 4 + reader.skip(reader.remaining());

    int64_t consumed = 4;
    while (consumed < getSize()) {
        uint16_t word;
        if (reader.readU2(word) != 2)
            return READ_FAILED;
        consumed += 2;
        const uint16_t count = word & VERTEX_COUNT_MASK;
        if (polygonType == ID_BONE && count < 2) {
            reader.fail("bone polygon " + std::to_string(vertexIndices.size()) + " has " + std::to_string(count) +
                        " corners where a bone needs two");
            return READ_FAILED;
        }
        if (!reader.hasRoomFor(count, 2)) {
            reader.fail("polygon " + std::to_string(vertexIndices.size()) + " has " + std::to_string(count) +
                        " corners where " + std::to_string(reader.remaining()) + " bytes remain");
            return READ_FAILED;
        }
        std::vector<uint32_t> corners(count);
        for (uint32_t& corner : corners) {
            int64_t bytes = reader.readVX(corner);
            if (bytes == 0)
                return READ_FAILED;
            consumed += bytes;
        }
        vertexIndices.push_back(std::move(corners));
    }
    return consumed;
}

void LWPolygonsChunk::fillObject(Actor* actor, LWLoader* loader)
{
    const LWPointsChunk* pointsChunk = loader->findPreviousChunk<LWPointsChunk>(ID_PNTS);
    if (!pointsChunk) {
        KELVO_LOG(0) << "fillObject() - Points chunk not found!" << logEnd;
        return;
    }
    switch (polygonType) {
    case ID_BONE:
        addBones(actor, loader, *pointsChunk);
        break;
    case ID_FACE:
        if (!loader->isBoneLayer())
            addFaces(actor, loader, *pointsChunk);
        break;
    default:
        KELVO_LOG(1) << "fillObject() - Unsupported polygons chunk type. Ignoring."
                     << logEnd;
        break;
    }
}

void LWPolygonsChunk::addBones(Actor* actor, LWLoader* loader, const LWPointsChunk& pointsChunk)
{
    const int count = getPolygonCount();
    // A bone runs from its polygon's first corner to its second, both points of the chunk itself:
    // a bone layer adds no points to the actor.
    for (int i = 0; i < count; ++i) {
        for (int corner = 0; corner < 2; ++corner) {
            if (vertexIndices[i][corner] >= static_cast<uint32_t>(pointsChunk.getPointCount()))
                throw LWLoaderException("LWPolygonsChunk",
                                        "fillObject() - File \"" + loader->getFileName() + "\": bone polygon " +
                                            std::to_string(i) + " names point " + std::to_string(vertexIndices[i][corner]) +
                                            ", beyond the " + std::to_string(pointsChunk.getPointCount()) +
                                            " points of its points chunk.");
        }
    }
    for (int i = 0; i < count; ++i) {
        const Vector& start = pointsChunk.getPoint(static_cast<int>(vertexIndices[i][0]));
        const Vector& end = pointsChunk.getPoint(static_cast<int>(vertexIndices[i][1]));
        int bone = actor->addBone(start, end - start);
        if (i == 0)
            firstBone = bone;
    }
    // A bone that starts where another ends is that one's child.
    for (int i = 0; i < count; ++i) {
        for (int j = i; j < count; ++j) {
            Bone* bi = actor->getBone(firstBone + i);
            Bone* bj = actor->getBone(firstBone + j);
            if (vertexIndices[i][0] == vertexIndices[j][1])
                link(bi, bj);
            if (vertexIndices[i][1] == vertexIndices[j][0])
                link(bj, bi);
        }
    }
}

void LWPolygonsChunk::addFaces(Actor* actor, LWLoader* loader, const LWPointsChunk& pointsChunk)
{
    // The numbers of this chunk's polygons follow those of the last chunk whose faces were added.
    int base = 0;
    for (LWChunk* chunk = loader->previousChunk(); chunk; chunk = loader->previousChunk()) {
        const LWPolygonsChunk* earlier = dynamic_cast<const LWPolygonsChunk*>(chunk);
        if (earlier && earlier->firstPolygon >= 0) {
            base = earlier->firstPolygon + earlier->getPolygonCount();
            break;
        }
    }
    loader->resetCursor();

    std::vector<std::vector<int>> corners(vertexIndices.size());
    for (size_t i = 0; i < vertexIndices.size(); ++i) {
        for (uint32_t index : vertexIndices[i]) {
            const int point = pointsChunk.actorPoint(index);
            if (point < 0)
                throw pointsChunk.pointFailure(index, loader->getFileName(),
                                               "polygon " + std::to_string(i) + " of layer " +
                                                   std::to_string(loader->getLayerNumber()));
            corners[i].push_back(point);
        }
    }
    firstPolygon = base;
    for (size_t i = 0; i < corners.size(); ++i)
        actor->addPolygon(corners[i].data(), static_cast<int>(corners[i].size()), base + static_cast<int>(i));
}
