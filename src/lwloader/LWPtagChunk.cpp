#include "lwloader/LWPtagChunk.h"

#include <string>
#include <vector>

#include "Actor.h"
#include "Bone.h"
#include "lwloader/LWLoader.h"
#include "lwloader/LWLoaderException.h"
#include "lwloader/LWPolygonsChunk.h"
#include "lwloader/LWReader.h"
#include "lwloader/LWTagsChunk.h"

LWPtagChunk::LWPtagChunk() : LWChunk(ID_PTAG), tagType(ID_OTHER)
{
}

LWPtagChunk::~LWPtagChunk() = default;

int64_t LWPtagChunk::readData(LWReader& reader)
{
    std::string type;
    if (readChunkId(reader, tagType, type) != 4)
        return READ_FAILED;
    if (tagType != ID_BONE && tagType != ID_BNWT && tagType != ID_SURF)
        return 4 + reader.skip(reader.remaining());
    int64_t consumed = 4;
    // An entry takes at least 4 bytes.
    polygonIndices.reserve(polygonIndices.size() + reader.remaining() / 4);
    tagIndices.reserve(tagIndices.size() + reader.remaining() / 4);
    while (consumed < getSize()) {
        uint32_t polygon;
        uint16_t tag;
        int64_t bytes = reader.readVX(polygon);
        if (bytes == 0 || reader.readU2(tag) != 2)
            return READ_FAILED;
        polygonIndices.push_back(polygon);
        tagIndices.push_back(tag);
        consumed += bytes + 2;
    }
    return consumed;
}

void LWPtagChunk::fillObject(Actor* actor, LWLoader* loader)
{
    const LWTagsChunk* tags = loader->findPreviousChunk<LWTagsChunk>(ID_TAGS);
    if (!tags || (tagType != ID_BNWT && tagType != ID_SURF))
        return;
    for (size_t e = 0; e < tagIndices.size(); ++e) {
        if (tagIndices[e] >= tags->getTagCount())
            throw LWLoaderException("LWPtagChunk", "fillObject() - File \"" + loader->getFileName() + "\": polygon tag " +
                                                       std::to_string(e) + " names tag " + std::to_string(tagIndices[e]) +
                                                       ", beyond the " + std::to_string(tags->getTagCount()) + " tags.");
    }
    // The entries number the polygons of the polygons chunk before this one.
    const LWPolygonsChunk* polygons = loader->findPreviousChunk<LWPolygonsChunk>(ID_POLS);

    if (tagType == ID_BNWT) {
        // Bones are named after the weight maps that bind points to them. An entry whose polygon
        // is no bone is skipped.
        if (!polygons || polygons->getFirstBone() < 0)
            return;
        for (size_t e = 0; e < polygonIndices.size(); ++e) {
            if (polygonIndices[e] >= static_cast<uint32_t>(polygons->getPolygonCount()))
                continue;
            const int index = polygons->getFirstBone() + static_cast<int>(polygonIndices[e]);
            Bone* bone = actor->getBone(index);
            if (!bone)
                continue;
            const std::string& name = tags->getTag(tagIndices[e]);
            bone->setName(name);
            actor->setBoneName(index, name);
        }
        return;
    }

    if (loader->isBoneLayer() || !polygons || polygons->getFirstPolygon() < 0)
        return;
    for (size_t e = 0; e < polygonIndices.size(); ++e) {
        if (polygonIndices[e] >= static_cast<uint32_t>(polygons->getPolygonCount()))
            throw LWLoaderException("LWPtagChunk", "fillObject() - File \"" + loader->getFileName() + "\": polygon tag " +
                                                       std::to_string(e) + " names polygon " +
                                                       std::to_string(polygonIndices[e]) + ", beyond the " +
                                                       std::to_string(polygons->getPolygonCount()) +
                                                       " polygons of its polygons chunk.");
    }
    // All triangles of one tag share one copy of its name, made when the tag is first used (the
    // empty name needs none), whether the entries come in runs of a tag or mix them.
    std::vector<Triangle::SurfaceName> names(tags->getTagCount());
    for (size_t e = 0; e < polygonIndices.size(); ++e) {
        Triangle::SurfaceName& surface = names[tagIndices[e]];
        if (surface.empty())
            surface = Triangle::shareSurfaceName(tags->getTag(tagIndices[e]));
        for (int index : polygons->getTriangles(static_cast<int>(polygonIndices[e])))
            actor->getTriangle(index)->setSurfaceName(surface);
    }
}
